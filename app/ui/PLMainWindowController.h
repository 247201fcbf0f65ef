// The main window controller: the window and the store stack of the open database.
//
// The window holds one context over the open database's "Pelmora1.sqldb" and the database's lock
// (g_DBLockFile) from the first opening until the next switch or quit; a switch builds the new
// stack and takes the new lock before it lets go of the old ones, so a failed switch leaves the
// old database open and locked. Views that show the store follow managedObjectContextChanged.
#pragma once

#include "app/core/PLDatabaseCommands.h"
#include "app/core/PLDatabaseMigration.h"
#include "app/ui/PLMigrationCardImages.h"

#include <QMainWindow>
#include <QObject>

#include <functional>
#include <memory>

class QLabel;
class ManagedObjectContext;
class ManagedObjectModel;
class PLPasswordController;

class PLMainWindowController : public QObject, public PLMainWindowDatabase {
    Q_OBJECT
public:
    static constexpr const char* kDatabasePathKey = "IDS_MAINWINDOW_DETABASE_PATH";

    explicit PLMainWindowController(QObject* parent = nullptr);
    ~PLMainWindowController() override;

    QMainWindow* window() const { return m_window.get(); }
    QWidget* databaseWindow() override { return m_window.get(); }
    QLabel* dbPathField() const { return _dbPathField; }
    PLPasswordController& passwordController() { return *_pwdWndController; }

    // The store stack.
    const ManagedObjectModel& managedObjectModel() const;
    ManagedObjectContext* managedObjectContext() override;
    // The window's first opening: the open database's stack, seeded.
    void initDB();
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

signals:
    // The open database's context changed (null: none); the card lists and the folder tree follow it.
    void managedObjectContextChanged(ManagedObjectContext* context);

private:
    void seed(const QString& folder);

    std::unique_ptr<QMainWindow> m_window;
    QLabel* _dbPathField = nullptr;
    std::unique_ptr<ManagedObjectContext> _managedObjectContext;
    bool _bInited = false;
    std::unique_ptr<PLPasswordController> _pwdWndController;
    PLMigrationCardImages m_cardImages;
    PLDatabaseMigration::FieldSeparator m_fieldSeparator;
    std::function<void()> m_terminate;
};
