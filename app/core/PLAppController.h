// The application delegate: process-wide switches from the Info.plist, the launch sequence, the
// open-files intake (the sender test, database folders, card files, the staging of files that do
// not come from the scanner driver), the Services search, the online-update command, menu
// validation and shutdown. It owns no store: the main window controller holds it.
// Main thread only.
#pragma once

#include "app/core/PLAppServices.h"
#include "app/core/PLMainWindowHost.h"
#include "platform/store/DatabaseLayout.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class Bundle;
class OpenDatabase;

// Input types of card files: the sender test gives 1, 2, 5 or 99; drops give 3; 5 is stored as 3.
enum PLInputType {
    kInputTypeScanner = 1,
    kInputTypeFilingApp = 2,
    kInputTypeDrop = 3,
    kInputTypeFileManager = 5,
    kInputTypeOther = 99,
};

// The open-files pair: the file paths and their input type.
struct PLOpenFilesPair {
    QStringList paths;
    int inputType = kInputTypeOther;
};

// The folder that files dropped on the card list or a folder go to.
struct PLBelongFolder {
    QString folderID;
    int folderType = 0;
};

enum class PLAppCommand { NewDatabase, OpenDatabase, BackupDatabase, OnlineUpdate, Other };

class PLAppController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kPrefGeneralDisplayItems = "General display items";
    static constexpr const char* kPrefDBPath = DatabaseLayout::kDBPathKey;
    static constexpr const char* kPrefDBType = "DB type";
    // Staged card files that together exceed this many bytes are refused (236).
    static constexpr qint64 kMaxStagingBytes = 1073741824;
    // Bytes demanded beyond the card files of a normal load.
    static constexpr qint64 kLoadReserveBytes = 524288;

    // Reads the Info.plist switches of `bundle` ("PLLogOn", "Delete Import Images", "PLDiskSize",
    // "PLSyncOSJudge") into the globals. `database` is the one the main window opens.
    PLAppController(PLMainWindowHost* mainWindow, OpenDatabase& database, PLAppServices services, const Bundle& bundle,
                    QObject* parent = nullptr);
    ~PLAppController() override;

    void applicationDidFinishLaunching();
    // Cleans up the XML parser; the application may quit at once.
    bool applicationShouldTerminate();
    void applicationWillTerminate();
    void applicationDidResignActive();
    bool validateMenuItem(PLAppCommand command);
    void onlineUpdate();
    // The Services search: the text a request carried; `error` gets the refusal text.
    void searchFromTextService(const std::optional<QString>& text, QString* error);

    // "~/Documents/Pelmora/Pelmora DB.cxdb", or "~/Pelmora DB.cxdb" without a documents folder.
    static QString defaultDBPath();
    WindowHandle mainWindow() const;

    // The open-files event: `senderName` is the program that asked (empty when unknown).
    void applicationOpenFiles(const QStringList& files, const QString& senderName);
    // The input type of a sender by the ending of its name (1, 2, 5 or 99); logs the name.
    static int checkInputType(const QString& senderName);
    bool installIfExtAppCfgFile(const QString& path);
    void loadOpenFilesData(const PLOpenFilesPair& pair);
    void loadOpenFilesDataArray(const PLOpenFilesPair& pair);
    // The paths to import for files that do not come from the scanner driver: copied into a
    // private staging folder, checked, converted and split; nothing when none may be imported.
    std::optional<QStringList> prepareInputFilesToAnalyze(const QStringList& paths);
    void TerminateSelfWhileNoOpenFiles();
    // Bytes a normal load demands: the files' sizes, a JPEG counted twice, plus kLoadReserveBytes.
    static quint64 spaceNeededForLoad(const QStringList& paths);

    QString tempFolderPath() const { return _strTempFolderPath; }
    QStringList toBeDeletedInBackFolder() const { return _arrToBeDeletedInBackFolder; }
    // Removes the staged files and, once empty, the staging folder.
    void cleanStagingFolder();
    std::optional<PLBelongFolder> belongFolder() const { return _BelongFolder; }
    void setBelongFolder(const std::optional<PLBelongFolder>& folder) { _BelongFolder = folder; }

    bool isFinishLaunch() const { return _bFinishLaunch; }
    bool isHideAppLoading() const { return _bHideAppLoading; }
    bool isOperationRunning() const { return _bOperationRunning; }
    int loadCount() const { return _iLoadCount; }

    // Asks the application to quit. The quit itself waits for the event loop; from the request on
    // the launch sequence does nothing more, so no database is opened behind a refused prompt.
    void terminate();
    bool isTerminating() const { return _bTerminating; }

private:
    void showMainWindowAndActivate();
    void openDatabaseFolder(const QString& folder);
    // Deletes scanner-driver files after an import: only those whose card image is in the database.
    void deleteImportedScannerFiles(const QStringList& imported, int inputType);
    int importPair(const PLOpenFilesPair& pair, QStringList* imported);
    void scheduleLoadOpenFilesData(const PLOpenFilesPair& pair, int delayMs);
    void scheduleLoadOpenFilesDataArray(const PLOpenFilesPair& pair, int delayMs);

    PLMainWindowHost* _mainWndController;
    OpenDatabase& _database;
    PLAppServices _services;

    bool _bFinishLaunch = false;
    QStringList _arrOpenFilesBeforeFinishLaunch;
    int _iInputTypeBeforeFinishLaunch = kInputTypeOther;
    bool _bHasCallOpenFilesBeforeFinishLaunch = false;
    bool _bDeleteImportFiles = true;
    bool _bHideAppLoading = false;
    bool _bPwdChecked = false;
    QString _tmpDBPath;
    int _confirmMigrateStatus = 0;
    int _iLoadCount = 0;
    QString _strTempFolderPath;
    std::optional<PLBelongFolder> _BelongFolder;
    QStringList _arrToBeDeletedInBackFolder;
    bool _bOperationRunning = false;
    bool _bTerminating = false;
    bool _bApplicationActive = false;  // the last state the application reported
};
