// Choosing the first database at start-up and the New, Open and Back Up Database commands of the
// application delegate. Every command checks first, then switches the main window to the other
// database in one step; a failed switch leaves the open database, its lock and "DB path" as they
// were, and removes a folder the command made. Main thread only.
#pragma once

#include "platform/appkit/WindowHandle.h"

#include <QString>

#include <optional>

class ManagedObjectContext;
class OpenDatabase;

// What the commands need of the main window controller.
class PLMainWindowDatabase {
public:
    virtual ~PLMainWindowDatabase() = default;
    virtual WindowHandle databaseWindow() = 0;
    // The open database's context, opening the chosen folder's store when there is none.
    virtual ManagedObjectContext* managedObjectContext() = 0;
    // Switches to the database in `folder`; null (and the old database still open) when that fails.
    virtual ManagedObjectContext* newDB(const QString& folder) = 0;
    virtual void setCurrentOpenedDBPath() = 0;
    // The path to go on with after the password prompt, or nothing when the user gave up.
    virtual std::optional<QString> showPwdWndAccordingToSelectedDB(const QString& path) = 0;
    virtual bool migrateDatabaseIfNeeded(bool showProgress, const QString& folder, QString* workDBFullPath) = 0;
    virtual void saveSelectedFolderAndSelectedCard() = 0;
    virtual void saveAction() = 0;
    // The card list's trash button state.
    virtual void setClearBtnStatus() = 0;
};

class PLDatabaseCommands {
public:
    static constexpr const char* kDefaultDatabaseName = "Pelmora DB";
    static constexpr int kMaxStorePathBytes = 504;

    // Start-up choice: the preference "DB path", else the default folder "Pelmora DB.cxdb" under
    // the documents folder's "Pelmora" (made with its parents when missing). The folder to open,
    // or empty when none may be (the reason shown).
    static QString initDB();

    PLDatabaseCommands(const OpenDatabase& database, PLMainWindowDatabase& mainWindow) : m_database(database), m_mainWindow(mainWindow) {}

    // Menu actions: a panel, then the command with the chosen path, queued on the main thread.
    void newDatabase();
    void openDatabase();
    void backupDatabase();

    void doNewDB(const QString& path);
    void doOpenDB(const QString& path);
    void doBackupDB(const QString& path);

private:
    void showError(int number);
    // A new folder's path the store cannot use (too long, or on a volume refused): the message shown.
    bool refusedDestination(const QString& path);
    void switchSucceeded(const QString& path);
    // After a failed switch: the database open before is still open; the status line shows it.
    void restore();
    QString panelDirectory() const;
    QString panelName() const;
    // The save panel for a new database folder (New and Back Up), titled by `titleKey`.
    QString runDatabaseSavePanel(const QString& titleKey) const;

    const OpenDatabase& m_database;
    PLMainWindowDatabase& m_mainWindow;
};
