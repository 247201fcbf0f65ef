// Store versions and their migration to the current store (version 53).
//
// Versions: 1 and 5 keep one table ZCARD in "Pelmora.sqldb" (version 5 when every card's flag1 is
// "1"); 51 and 53 keep the four entities in "Pelmora1.sqldb" with ZDATABASE_VERSION 1 and 2.
//
// A migration never leaves a half-made store where the finished one is expected: a version 51
// store is altered in a "_work" copy, and a store of version 1 or 5 is converted into a new store
// built in a private folder inside the database folder; the finished store is moved into place
// only when every step has succeeded. Until then the old store, its images and the folder look as
// before; a failed or cancelled migration removes its work files and leaves nothing else changed.
// Old image files and the input copy are removed only after success.
//
// The lock: the first controller takes the folder's lock in the check and keeps it while an
// in-place (cxdb) migration runs, so that no moment passes without it; a pldb database is
// converted into a new cxdb folder beside it, whose lock the second controller takes.
#pragma once

#include "app/core/PLCardImageAccess.h"
#include "app/core/PLProgressSheet.h"
#include "platform/store/ManagedObject.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class PLDatabaseController;

class PLDatabaseMigration {
public:
    // The progress sheet's modal delegate: the controller that hears a confirmed cancel.
    struct ControllerDelegate : PLProgressModalDelegate {
        explicit ControllerDelegate(PLDatabaseController& c) : controller(c) {}
        PLDatabaseController& controller;
    };
    // The sheet's cancel callback: setStopRunning on the delegate's controller.
    static void setStopRunning(PLProgressModalDelegate* delegate, bool confirmed);

    static constexpr int kVersion1 = 1;
    static constexpr int kVersion5 = 5;
    static constexpr int kVersion51 = 51;
    static constexpr int kVersion53 = 53;

    // Re-separates gathered card fields into their parts, as recognition does (the main window's
    // separateValue:withSetObj:). Called on the migration's thread.
    using FieldSeparator = std::function<void(const QVariantMap& fields, const ManagedObjectPtr& card)>;

    // Works on `controller`'s folder; the controller must outlive this object.
    explicit PLDatabaseMigration(PLDatabaseController& controller);
    ~PLDatabaseMigration();

    // Version probe of the controller's folder: 1, 5, 51 or 53. `err` receives SQLite's code of a
    // failed query, or -1015 for a store newer than this program knows.
    int databaseVersion(int* err);
    bool isDatabaseV53(int* err);
    bool isDatabaseV51(int* err);
    bool isDatabaseV5(int* err);
    int numberOfCards(int* err);

    void setImageAccess(PLCardImageAccess* access) { m_imageAccess = access; }
    void setFieldSeparator(FieldSeparator separator) { m_fieldSeparator = std::move(separator); }

    // The whole migration (the worker's operation under the progress sheet when progress is shown):
    // 0 or a status code, also stored as the controller's migrateErrCode. With progress it ends
    // the sheet on every path.
    int migrateDatabase();

    // The check run before a database is opened (main thread). Answers true when `folder` may be
    // opened; `*workDBFullPath` is the folder to open. Messages are shown on `window`.
    struct CheckContext {
        WindowHandle window;
        PLCardImageAccess* imageAccess = nullptr;
        FieldSeparator fieldSeparator;
        std::function<void()> setClearBtnStatus; // the card list's, called on every way out
    };
    static bool migrateDatabaseIfNeeded(bool showProgress, const QString& folder, QString* workDBFullPath,
                                        const CheckContext& context);

private:
    struct Work;
    int runMigration(Work& work);
    int migrateDatabaseToV5(Work& work);
    int migrateCardDataToV5(Work& work, const ManagedObjectPtr& card);
    void replenishCardData(const ManagedObjectPtr& card);
    int saveOldDB(Work& work);
    int migrateDatabaseToV51L10(Work& work, const QString& message);
    static void replenishManagedObject(const ManagedObject& from, const ManagedObjectPtr& to);
    int migrateDatabaseToV53(PLDatabaseController& controller, const QString& message, const QString& storeFile);
    int commit(Work& work);
    void rollBack(Work& work);

    void progress(const std::function<void(PLProgressSheet&)>& update);
    void reportProgress(const QString& message, quint64 maxCount, quint64 finishedCount);
    bool firstVersionRowIs(int value, int* err);

    PLDatabaseController& m_controller;
    ControllerDelegate m_delegate;
    PLCardImageAccess* m_imageAccess = nullptr;
    FieldSeparator m_fieldSeparator;
};
