// One operation on one card database folder (seeding, password prompt, migration): its own
// contexts over the store, its own raw SQLite connection and its own lock descriptor, all
// released with the object. Used by one thread at a time.
#pragma once

#include "app/core/PLDatabaseStatus.h"
#include "platform/store/ManagedObjectContext.h"
#include "platform/store/RawSqlite.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class PLMainWindowController;

class PLDatabaseController {
public:
    struct OperationError {
        int migrateErrCode = 0;
        int restoreErrCode = 0;
    };
    // What the controller asks of the system; tests replace them.
    struct Services {
        std::function<int(const QString& path, uint64_t needed)> checkDiskSize;
        std::function<uint64_t(const QString& path, int32_t* status)> sizeOfPath;
        std::function<QDateTime()> now;
    };

    // Null for a blank folder path. Holds no lock yet.
    static std::unique_ptr<PLDatabaseController> initDBwithPath(const QString& folder);
    ~PLDatabaseController();
    PLDatabaseController(const PLDatabaseController&) = delete;
    PLDatabaseController& operator=(const PLDatabaseController&) = delete;

    void setServices(Services services);

    // Lock of the folder's ".PLLock.pllk": 0, -1004 when the folder is no directory, -1010 when the
    // lock cannot be taken (the database is in use). The file is never removed.
    int _lock();
    // 0, or -1011 when unlocking or closing failed; the descriptor is given up either way and the
    // lock file stays.
    int _unlock();
    bool holdsLock() const { return _ilockFile >= 0; }

    // -1001 blank folder; -1007 folder + store name longer than 504 bytes; -1004 folder or store
    // missing; -1005 folder locked, read-only or unreadable; -1006 in use by another program;
    // otherwise takes the lock (when not held yet) and answers 0.
    int checkBeforeMigrateOperation();

    const ManagedObjectModel& managedObjectModel() const;
    const ManagedObjectModel& managedObjectModelForOldModel() const;
    // The context over "Pelmora1.sqldb" (created when missing), built once. Null for a blank
    // folder; `err` gets -1008 when the store cannot be opened, else 0.
    ManagedObjectContext* managedObjectContext(int* err = nullptr);
    ManagedObjectContext* managedObjectContextForOldModel(int* err = nullptr);
    // The one-entity context over an older store file (versions 1 and 5), built once; never creates it.
    ManagedObjectContext* managedObjectContextForV5Store(const QString& storeFile, int* err = nullptr);

    // Saves the current context: 0, -1001 without context, -1012 on failure.
    int save();
    // Every Card of the context; nothing for a null context or a failed fetch.
    std::optional<ManagedObjectList> fetchAllCardDatas(ManagedObjectContext* context);
    // Closes the raw connection and releases every context. The lock stays.
    int closeDatabase();

    // Copies the folder to `destination` (the same folder: checks only). See PLDatabaseStatus.
    int backupTo(const QString& destination);
    // The folder a migration writes to: the folder itself for cxdb, else the first free name of
    // "<base>.cxdb", "<base>_1.cxdb" ... "<base>_9999.cxdb"; null when none is free.
    QString _generateWorkDBPath() const;

    // Raw SQLite on the folder's store file (or an explicit one).
    int openSqlite3DB();
    int openSqlite3DBWithDBPath(const QString& storeFile);
    void closeSqlite3DB();
    // Every row as text ("" for NULL); an empty list for no rows. Nothing on failure, with SQLite's
    // code (or the open failure) in `errorCode`. The connection is closed after each query.
    std::optional<RawRows> executeQuery(const QString& sql, int* errorCode);
    // One statement on `storeFile`: true, or false with -1001 (missing argument), the open
    // failure, or -1006 (SQLite refused it). The connection stays open until closed.
    bool executeUpdateWithDBPath(const QString& storeFile, const QString& sql, int* errorCode);

    // Seeding (none saves): the root and Inbox folders, the Version row, a card's CardBelong.
    int insertFolderData();
    int insertVersionData();
    int insertCardBelongData(const ManagedObjectPtr& card);
    // Sets the one Version row of `storeFile` to the current version and saves: 0, -1008, -1014
    // (not exactly one row), -4002 (cancelled) or -1012.
    int updateVersionData(const QString& storeFile);
    // While set, seeding works on the older model's context.
    void setUseOldModel(bool use) { _bUseOldModelFlg = use; }
    bool useOldModel() const { return _bUseOldModelFlg; }
    const QString& allFolderID() const { return _strAllFolderID; }
    const QString& inboxFolderID() const { return _strInboxFolderID; }

    // Whether a confirmed cancel has been requested; with progress shown, a pending cancel
    // request of the progress sheet is put to the user first.
    bool confirmCancelOperation();

    const QString& databaseFilePath() const { return _strDBFullPath; }
    void setDatabaseFilePath(const QString& path) { _strDBFullPath = path; }
    const QString& sqliteDBName() const { return _strSqliteDBName; }
    const QString& backupDBPath() const { return _strBackupDBPath; }
    void setBackupDBPath(const QString& path) { _strBackupDBPath = path; }
    const QString& workDBFullPath() const { return _strWorkDBFullPath; }
    void setWorkDBFullPath(const QString& path) { _strWorkDBFullPath = path; }
    bool isStopRunning() const { return _isStopRunning; }
    // Takes the boolean of a number; an invalid value is ignored.
    void setStopRunning(const QVariant& stop);
    bool isShowProgress() const { return _isShowProgress; }
    void setShowProgress(bool show) { _isShowProgress = show; }
    void setMainWindowController(PLMainWindowController* controller) { _mainWndController = controller; }
    PLMainWindowController* mainWindowController() const { return _mainWndController; }
    OperationError& operationError() { return _operationError; }
    bool checkDBBusy() const { return false; }
    static int latestDBVersion();

    // A new card identifier: a new upper-case UUID, whatever the object.
    static QString generateCardId(const ManagedObject* object);
    // 0 when nothing of that kind is at `path` or it was removed; -4007 when removal failed.
    static int removeItemAtFilePath(const QString& path, bool isDir);

private:
    explicit PLDatabaseController(const QString& folder);
    ManagedObjectContext* seedingContext();
    QDateTime now() const;

    PLMainWindowController* _mainWndController = nullptr;
    QString _strDBFullPath;
    QString _strBackupDBPath;
    int _ilockFile = -1;
    SqliteConnection _sqlite3DB;
    std::unique_ptr<ManagedObjectContext> _managedObjectContext;
    OperationError _operationError;
    QString _strWorkDBFullPath;
    bool _isStopRunning = false;
    bool _isShowProgress = false;
    std::unique_ptr<ManagedObjectContext> _managedObjectV5Context;
    QString _strAllFolderID;
    QString _strInboxFolderID;
    QString _strSqliteDBName;
    std::unique_ptr<ManagedObjectContext> _managedObjectOldContext;
    bool _bUseOldModelFlg = false;
    Services _services;
};
