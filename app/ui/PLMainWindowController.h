// The main window controller: the window and the store stack of the open database.
//
// The window holds one context over the open database's "Pelmora1.sqldb" and the database's lock
// (g_DBLockFile) from the first opening until the next switch or quit; a switch builds the new
// stack and takes the new lock before it lets go of the old ones, so a failed switch leaves the
// old database open and locked. Views that show the store follow managedObjectContextChanged.
#pragma once

#include "app/core/PLDatabaseCommands.h"
#include "app/core/PLMainWindowHost.h"
#include "app/core/PLDatabaseMigration.h"
#include "app/images/CardFileRecognitionImages.h"
#include "app/images/PLMergeHost.h"
#include "app/images/PLRegController.h"
#include "app/ui/PLMigrationCardImages.h"

#include <QMainWindow>
#include <QObject>

#include <QStringList>

#include <functional>
#include <memory>

class QLabel;
class ManagedObjectContext;
class ModalScope;
class ManagedObjectModel;
class PLAppController;
class PLPasswordController;
class QDialog;

class PLMainWindowController : public QObject, public PLMainWindowHost, public PLMergeHost {
    Q_OBJECT
public:
    static constexpr const char* kDatabasePathKey = "IDS_MAINWINDOW_DETABASE_PATH";

    explicit PLMainWindowController(QObject* parent = nullptr);
    ~PLMainWindowController() override;

    QMainWindow* window() const override { return m_window.get(); }
    QWidget* databaseWindow() override { return m_window.get(); }
    QLabel* dbPathField() const { return _dbPathField; }
    PLPasswordController& passwordController() { return *_pwdWndController; }

    // The store stack.
    const ManagedObjectModel& managedObjectModel() const;
    ManagedObjectContext* managedObjectContext() override;
    // The window's first opening: the open database's stack, seeded.
    void initDB() override;
    ManagedObjectContext* newDB() override;
    void setCurrentOpenedDBPath() override;
    // Releases the context and the lock (at quit).
    void closeDatabase();

    std::optional<QString> showPwdWndAccordingToSelectedDB(const QString& path) override;
    bool migrateDatabaseIfNeeded(bool showProgress, const QString& folder, QString* workDBFullPath) override;

    void saveSelectedFolderAndSelectedCard() override;
    void saveAction() override;
    void setClearBtnStatus() override;

    // How the field re-separation of migrated cards is done (recognition's separateValue).
    void setFieldSeparator(PLDatabaseMigration::FieldSeparator separator) { m_fieldSeparator = std::move(separator); }
    // What ends the application; the default quits the event loop.
    void setTerminate(std::function<void()> terminate) { m_terminate = std::move(terminate); }

    // --- the window, the processing sheet and the selection

    void setAppController(PLAppController* appController) { m_appController = appController; }
    bool isWindowVisible() const override;
    bool isWindowMiniaturized() const override;
    bool hasAttachedSheet() const override;
    void showActiveWindow() override;
    void SetWindowsize() override;
    void showWindow() override;
    void closeWindow() override;
    // Quit: saves the selection and the store, lets go of the lock and ends the application.
    void windowWillClose();
    bool isImageProcessing() const override { return _bProcessing; }
    bool isSyncing() const override { return _bIsSynchronous; }
    void endFolderNameEditing() override {}
    void searchText(const QString& text) override;
    // Shows the processing sheet over the main window; false when it cannot be shown. While it
    // is shown the application is in a modal run: delayed calls wait until it is gone.
    bool RunIndicator(const QString& title, const QString& message);
    void StopIndicator();
    // Selects the Inbox, or the folder with the identifier; false when there is none.
    bool openInbox();
    void openFolderWithFolderID(const QString& folderID);
    // The cards selected, by identifier, in selection order.
    QStringList selectedCardIDs() const { return m_selectedCardIDs; }
    void selectCards(const QStringList& cardIDs) { m_selectedCardIDs = cardIDs; }

    // --- the import of card files (Card and CardBelong records in the Inbox or the drop folder)

    int scanData(const QStringList& paths, int inputType, QStringList* importedPaths) override;
    PLRegController& regController() { return _regController; }

    // --- what the merge window asks

    QString currentDatabasePath() override;
    QWidget* mainWindow() override { return m_window.get(); }
    bool isMainWindowVisibleOrMiniaturized() override { return isWindowVisible() || isWindowMiniaturized(); }
    QList<CardDict> getSeleteRecords() override;
    int selectedFolderRow() override;
    QString selectedFolderID() override { return m_selectedFolderID; }
    int setFolderNameWhenRemoving(const QString& cardID) override;
    void updateOneRecord(const ManagedObjectPtr& card) override;
    int cleanRecordRect(const ManagedObjectPtr& card) override;

signals:
    // The open database's context changed (null: none); the card lists and the folder tree follow it.
    void managedObjectContextChanged(ManagedObjectContext* context);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void seed(const QString& folder);
    // Saves pending changes; false (logged) when the store refused them.
    bool saveChanges();
    // Takes back the cards of an import whose save failed, with the image files made for them.
    void discardImportedCards(const ManagedObjectList& cards, const ManagedObjectList& belongs);
    // In hidden loads: the selection the next display starts on, kept in the Version row.
    void recordSelection(const QString& folderID, const QString& cardID);
    ManagedObjectPtr cardWithID(const QString& cardID);

    std::unique_ptr<QMainWindow> m_window;
    QLabel* _dbPathField = nullptr;
    std::unique_ptr<ManagedObjectContext> _managedObjectContext;
    bool _bInited = false;
    std::unique_ptr<PLPasswordController> _pwdWndController;
    PLMigrationCardImages m_cardImages;
    PLDatabaseMigration::FieldSeparator m_fieldSeparator;
    std::function<void()> m_terminate;

    PLAppController* m_appController = nullptr;
    CardFileRecognitionImages m_recognitionImages;
    PLRegController _regController;
    int _iRecognizeButtonState = PLRegController::kLanguageEnglish;
    bool _bProcessing = false;
    bool _bIsSynchronous = false;
    QDialog* _wndProcessing = nullptr;
    std::unique_ptr<ModalScope> m_processingScope;
    QString m_selectedFolderID;
    QStringList m_selectedCardIDs;
};
