#include "ScriptedAttributes.h"
#include "TestBundle.h"

#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/PLDatabaseController.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/store/CardStoreModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs the sqlite3 shell as the maintenance tool does; answers its output, or "<exit N>".
QString sqliteShell(const QString& store, const QString& script)
{
    QProcess shell;
    shell.start("sqlite3", {store});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(30000);
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return QStringLiteral("<exit %1> ").arg(shell.exitCode()) + shell.readAllStandardError();
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
}

class DatabaseControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.filePath("Cards.cxdb");
        QDir().mkpath(folder + "/Images");
        store = DatabaseLayout::currentStoreFilePath(folder);
    }
    std::unique_ptr<PLDatabaseController> controller(const QString& path = QString())
    {
        auto c = PLDatabaseController::initDBwithPath(path.isEmpty() ? folder : path);
        EXPECT_TRUE(c);
        return c;
    }
    // A new database as the main window makes it: seeded and saved.
    void createDatabase()
    {
        auto c = controller();
        int err = -1;
        ASSERT_TRUE(c->managedObjectContext(&err));
        ASSERT_EQ(err, 0);
        ASSERT_EQ(c->insertFolderData(), 0);
        ASSERT_EQ(c->insertVersionData(), 0);
        ASSERT_EQ(c->save(), 0);
    }
    // The first column of every row, rows joined by ","; "<error N>" on failure.
    QString query(const QString& sql)
    {
        auto c = controller();
        int err = -1;
        const auto rows = c->executeQuery(sql, &err);
        if (!rows)
            return QStringLiteral("<error %1>").arg(err);
        QStringList lines;
        for (const RawRow& row : *rows)
            lines.append(row.first());
        return lines.join(',');
    }

    TestBundle bundle{{{"CFBundleShortVersionString", "3.2.1"}, {"Database Name", "cxdb"}, {"Database Version", 1}}};
    QTemporaryDir dir;
    QString folder;
    QString store;
};

} // namespace

TEST_F(DatabaseControllerTest, NewDatabaseIsCurrentAndWorksWithTheShell)
{
    createDatabase();
    EXPECT_EQ(DatabaseLayout::storeFileName(folder), DatabaseLayout::kStoreFileName);
    EXPECT_EQ(query("select ZDATABASE_NAME || '|' || ZDATABASE_VERSION || '|' || ZPRODUCT_VL || '|' || ZPRODUCT_OS "
                    "from ZVERSION"),
              "cxdb|2|V32L1|Mac 10.8");
    EXPECT_EQ(query("select ZFOLDER_NAME || '|' || ZFOLDER_TYPE || '|' || ZFOLDER_LEVEL || '|' || "
                    "ifnull(ZFOLDER_PARENT, '-') from ZFOLDER order by Z_PK"),
              "All data|1|1|-,Inbox|2|2|" + query("select ZFOLDER_ID from ZFOLDER where ZFOLDER_TYPE = 1"));
    EXPECT_EQ(sqliteShell(store, "select ZDATABASE_VERSION from ZVERSION;"), "2");
    EXPECT_EQ(sqliteShell(store, "vacuum;\nreindex;\n.quit\n"), "");
    EXPECT_EQ(sqliteShell(store, "pragma integrity_check;"), "ok");
}

TEST_F(DatabaseControllerTest, SeedingTwiceAddsNothingAndMissingInboxIsAddedAlone)
{
    createDatabase();
    createDatabase();
    EXPECT_EQ(query("select count(*) from ZFOLDER"), "2");
    EXPECT_EQ(query("select count(*) from ZVERSION"), "1");

    const QString root = query("select ZFOLDER_ID from ZFOLDER where ZFOLDER_TYPE = 1");
    const QString rootKey = query("select Z_PK from ZFOLDER where ZFOLDER_TYPE = 1");
    int err = 0;
    auto raw = controller();
    ASSERT_TRUE(raw->executeUpdateWithDBPath(store, "delete from ZFOLDER where ZFOLDER_TYPE = 2", &err));
    raw.reset();
    auto c = controller();
    ASSERT_EQ(c->insertFolderData(), 0);
    EXPECT_EQ(c->allFolderID(), root);
    ASSERT_EQ(c->save(), 0);
    EXPECT_EQ(query("select count(*) from ZFOLDER"), "2");
    EXPECT_EQ(query("select Z_PK from ZFOLDER where ZFOLDER_TYPE = 1"), rootKey);
    EXPECT_EQ(query("select ZFOLDER_PARENT from ZFOLDER where ZFOLDER_TYPE = 2"), root);
    EXPECT_EQ(c->inboxFolderID(), query("select ZFOLDER_ID from ZFOLDER where ZFOLDER_TYPE = 2"));
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$").match(c->inboxFolderID()).hasMatch());
}

TEST_F(DatabaseControllerTest, CardBelongOfATrashCardNamesItsPath)
{
    createDatabase();
    auto c = controller();
    ManagedObjectContext* context = c->managedObjectContext();
    ASSERT_EQ(c->insertFolderData(), 0);
    auto kept = context->insertNewObject("Card");
    kept->setValue("cardID", PLDatabaseController::generateCardId(kept.get()));
    auto trashed = context->insertNewObject("Card");
    trashed->setValue("cardID", QStringLiteral("old-opaque-id"));
    trashed->setValue("deletedFlag", 1);
    EXPECT_EQ(c->insertCardBelongData(nullptr), PLDBStatus::kMissingArgument);
    ASSERT_EQ(c->insertCardBelongData(kept), 0);
    ASSERT_EQ(c->insertCardBelongData(trashed), 0);
    ASSERT_EQ(c->save(), 0);
    EXPECT_EQ(query("select b.ZCARDID || '|' || ifnull(b.ZFOLDER1_NAME, '-') || '|' || ifnull(b.ZFOLDER2_NAME, '-') "
                    "|| '|' || (b.ZFOLDER_ID = (select ZFOLDER_ID from ZFOLDER where ZFOLDER_TYPE = 2)) from ZCARDBELONG b "
                    "join ZCARD c on c.Z_PK = b.ZTOCARDRELATION order by b.Z_PK"),
              kept->stringValue("cardID") + "|-|-|1,old-opaque-id|All data|Inbox|1");
    EXPECT_NE(PLDatabaseController::generateCardId(nullptr), PLDatabaseController::generateCardId(nullptr));
}

TEST_F(DatabaseControllerTest, UpdateVersionNeedsExactlyOneRow)
{
    createDatabase();
    auto c = controller();
    int err = 0;
    ASSERT_TRUE(c->executeUpdateWithDBPath(store, "update ZVERSION set ZDATABASE_VERSION = 1, ZPRODUCT_VL = 'V10'", &err));
    c->closeSqlite3DB();
    EXPECT_EQ(c->updateVersionData(store), 0);
    EXPECT_EQ(query("select ZDATABASE_VERSION || '|' || ZPRODUCT_VL from ZVERSION"), "2|V32L1");

    ASSERT_TRUE(c->executeUpdateWithDBPath(
        store, "insert into ZVERSION (Z_PK, Z_ENT, Z_OPT, ZDATABASE_VERSION) values (9, 4, 1, 1)", &err));
    c->closeSqlite3DB();
    const QByteArray before = readFile(store);
    EXPECT_EQ(c->updateVersionData(store), PLDBStatus::kMigrationFailed);
    EXPECT_EQ(readFile(store), before);
    EXPECT_EQ(c->updateVersionData(dir.filePath("none.sqldb")), PLDBStatus::kNoContext);
    EXPECT_FALSE(QFile::exists(dir.filePath("none.sqldb")));

    c->setStopRunning(true);
    EXPECT_EQ(c->insertFolderData(), PLDBStatus::kCancelled);
    c->setStopRunning(QVariant());
    EXPECT_TRUE(c->isStopRunning());
}

TEST_F(DatabaseControllerTest, LockIsExclusiveAndItsFileStays)
{
    createDatabase();
    auto first = controller();
    ASSERT_EQ(first->checkBeforeMigrateOperation(), 0);
    EXPECT_TRUE(first->holdsLock());
    auto second = controller();
    EXPECT_EQ(second->checkBeforeMigrateOperation(), PLDBStatus::kInUse);
    EXPECT_EQ(second->_lock(), PLDBStatus::kLockFailed);
    EXPECT_FALSE(second->holdsLock());
    first.reset(); // releasing the controller releases its lock
    EXPECT_TRUE(QFile::exists(DatabaseLock::lockFilePath(folder)));
    EXPECT_EQ(second->_lock(), 0);
    EXPECT_EQ(second->_unlock(), 0);
    EXPECT_EQ(second->_unlock(), 0);

    // A lock that will not let go is reported; the descriptor is given up and the file kept.
    static const DatabaseLock::SystemCalls unlockFails{[](int) { return -1; }, ::close};
    ASSERT_EQ(second->_lock(), 0);
    DatabaseLock::setSystemCalls(&unlockFails);
    EXPECT_EQ(second->_unlock(), PLDBStatus::kUnlockFailed);
    DatabaseLock::setSystemCalls(nullptr);
    EXPECT_FALSE(second->holdsLock());
    EXPECT_EQ(second->_unlock(), 0);
    EXPECT_TRUE(QFile::exists(DatabaseLock::lockFilePath(folder)));

    auto missing = controller(dir.filePath("none.cxdb"));
    EXPECT_EQ(missing->_lock(), PLDBStatus::kNotExist);
    EXPECT_FALSE(PLDatabaseController::initDBwithPath(" \n\t"));
}

TEST_F(DatabaseControllerTest, CheckBeforeMigrationRefusesBadFolders)
{
    EXPECT_EQ(controller(dir.filePath(QString(480, 'x') + ".cxdb"))->checkBeforeMigrateOperation(),
              PLDBStatus::kPathTooLong);
    EXPECT_EQ(controller(dir.filePath("none.cxdb"))->checkBeforeMigrateOperation(), PLDBStatus::kNotExist);
    EXPECT_EQ(controller()->checkBeforeMigrateOperation(), PLDBStatus::kNotExist) << "no store file yet";
    createDatabase();
    ScriptedAttributes scripted;
    scripted.changes[folder] = [](FileAttributes& a) { a.writable = false; };
    auto readOnly = controller();
    EXPECT_EQ(readOnly->checkBeforeMigrateOperation(), PLDBStatus::kBadAttributes);
    EXPECT_EQ(readOnly->backupTo(dir.filePath("Copy.cxdb")), PLDBStatus::kBackupSourceBad);
    EXPECT_FALSE(readOnly->holdsLock());
    scripted.changes[folder] = [](FileAttributes& a) { a.immutable = true; };
    EXPECT_EQ(readOnly->checkBeforeMigrateOperation(), PLDBStatus::kBadAttributes);
    scripted.changes.clear();
    scripted.changes[dir.path()] = [](FileAttributes& a) { a.writable = false; };
    EXPECT_EQ(readOnly->backupTo(dir.filePath("Copy.cxdb")), PLDBStatus::kBackupDestinationBad);
    EXPECT_EQ(readOnly->checkBeforeMigrateOperation(), 0);
    EXPECT_TRUE(readOnly->holdsLock());
    EXPECT_FALSE(QFile::exists(dir.filePath("Copy.cxdb")));
}

TEST_F(DatabaseControllerTest, RawQueriesAnswerTextOrSqliteCodes)
{
    createDatabase();
    EXPECT_EQ(query("select ZFOLDER_NAME from ZFOLDER where ZFOLDER_TYPE = 9"), "");
    EXPECT_EQ(query("select ZFOLDER_PARENT from ZFOLDER where ZFOLDER_TYPE = 1"), "") << "NULL reads as empty text";
    EXPECT_EQ(query("select nothing from nowhere"), "<error 1>");
    auto c = controller();
    int err = 123;
    EXPECT_FALSE(c->executeQuery("  ", &err));
    EXPECT_EQ(err, 123);
    EXPECT_FALSE(c->executeUpdateWithDBPath(store, "update NOWHERE set A = 1", &err));
    EXPECT_EQ(err, PLDBStatus::kInUse);
    EXPECT_FALSE(c->executeUpdateWithDBPath(QString(), "select 1", &err));
    EXPECT_EQ(err, PLDBStatus::kMissingArgument);
    EXPECT_FALSE(c->executeUpdateWithDBPath(dir.filePath("none.sqldb"), "select 1", &err));
    EXPECT_EQ(err, PLDBStatus::kNotExist);
    auto old = controller(dir.filePath("Old.pldb"));
    EXPECT_FALSE(old->executeQuery("select 1", &err));
    EXPECT_EQ(err, PLDBStatus::kNotExist);
}

TEST_F(DatabaseControllerTest, BadStoreFilesGiveCodesAndStayAsTheyAre)
{
    // Not a database at all.
    const QByteArray junk = QByteArray("this is no database ").repeated(300);
    writeFile(store, junk);
    {
        auto c = controller();
        int err = 0;
        EXPECT_FALSE(c->managedObjectContext(&err));
        EXPECT_EQ(err, PLDBStatus::kNoContext);
        EXPECT_EQ(c->save(), PLDBStatus::kMissingArgument);
        EXPECT_EQ(c->insertFolderData(), PLDBStatus::kNoContext);
        EXPECT_FALSE(c->fetchAllCardDatas(c->managedObjectContext()));
        EXPECT_FALSE(c->executeQuery("select ZDATABASE_VERSION from ZVERSION;", &err));
        EXPECT_EQ(err, PLDBStatus::kOpenFailed);
    }
    EXPECT_EQ(readFile(store), junk);

    // A real store cut short.
    QFile::remove(store);
    createDatabase();
    {
        auto c = controller();
        for (int i = 0; i < 300; ++i)
            c->managedObjectContext()->insertNewObject("Card")->setValue("memo", QString(300, 'm'));
        ASSERT_EQ(c->save(), 0);
    }
    QFile(store).resize(QFileInfo(store).size() / 3);
    const QByteArray cut = readFile(store);
    {
        auto c = controller();
        int err = 0;
        ManagedObjectContext* context = c->managedObjectContext(&err);
        if (context)
            EXPECT_FALSE(c->fetchAllCardDatas(context));
        else
            EXPECT_EQ(err, PLDBStatus::kNoContext);
        EXPECT_FALSE(c->executeQuery("select count(*) from ZCARD", &err));
        EXPECT_NE(err, 0);
    }
    EXPECT_EQ(readFile(store), cut);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(DatabaseControllerTest, WorkFolderNames)
{
    QDir().mkpath(dir.filePath("Cards.pldb"));
    auto old = controller(dir.filePath("Cards.pldb"));
    EXPECT_EQ(old->_generateWorkDBPath(), dir.filePath("Cards_1.cxdb")) << "Cards.cxdb exists already";
    QDir().rmdir(folder + "/Images");
    QDir().rename(folder, dir.filePath("Other.cxdb"));
    EXPECT_EQ(old->_generateWorkDBPath(), dir.filePath("Cards.cxdb"));
    QDir().mkpath(dir.filePath("Cards.cxdb"));
    QDir().mkpath(dir.filePath("Cards_1.cxdb"));
    EXPECT_EQ(old->_generateWorkDBPath(), dir.filePath("Cards_2.cxdb"));
    EXPECT_EQ(controller(dir.filePath("Upper.CXDB"))->_generateWorkDBPath(), dir.filePath("Upper.CXDB"));
    EXPECT_EQ(PLDatabaseController::latestDBVersion(), 53);
}

TEST_F(DatabaseControllerTest, BackupCopiesChecksAndNeverRemovesWhatItDidNotMake)
{
    createDatabase();
    writeFile(folder + "/Images/A_N1.pdf", "%PDF-1.4 card");
    uint64_t neededAsked = 0;
    int diskAnswer = 0;
    int32_t sizeStatus = 0;
    auto c = controller();
    c->setServices({[&](const QString&, uint64_t needed) {
                        neededAsked = needed;
                        return diskAnswer;
                    },
                    [&](const QString&, int32_t* status) {
                        *status = sizeStatus;
                        return uint64_t(1000);
                    },
                    {}});
    const uint64_t storeSize = uint64_t(QFileInfo(store).size());

    const QString copy = dir.filePath("Copy.cxdb");
    ASSERT_EQ(c->backupTo(copy), 0);
    EXPECT_EQ(neededAsked, 1000 + 0x80000 + storeSize);
    EXPECT_EQ(readFile(copy + "/Images/A_N1.pdf"), "%PDF-1.4 card");
    EXPECT_EQ(readFile(DatabaseLayout::currentStoreFilePath(copy)), readFile(store));
    EXPECT_EQ(c->backupDBPath(), copy);

    // An existing destination is refused and kept.
    EXPECT_EQ(c->backupTo(copy), PLDBStatus::kBackupCopyFailed);
    EXPECT_TRUE(QFile::exists(copy + "/Images/A_N1.pdf"));

    // The source reached through a link or "..": checks only, nothing copied or removed.
    ASSERT_TRUE(QFile::link(folder, dir.filePath("Link.cxdb")));
    EXPECT_EQ(c->backupTo(dir.filePath("Link.cxdb")), 0);
    EXPECT_EQ(neededAsked, storeSize);
    EXPECT_EQ(c->backupTo(folder + "/../Cards.cxdb"), 0);
    EXPECT_TRUE(QFile::exists(store));

    // Inside the source: refused.
    EXPECT_EQ(c->backupTo(folder + "/Images/Copy.cxdb"), PLDBStatus::kBackupDestinationBad);
    EXPECT_FALSE(QFile::exists(folder + "/Images/Copy.cxdb"));
    EXPECT_EQ(c->backupTo(dir.filePath("missing/Copy.cxdb")), PLDBStatus::kBackupDestinationBad);
    EXPECT_EQ(c->backupTo(QString()), PLDBStatus::kMissingArgument);

    const QString second = dir.filePath("Second.cxdb");
    diskAnswer = 1;
    EXPECT_EQ(c->backupTo(second), PLDBStatus::kBackupNoSpace);
    diskAnswer = 0;
    sizeStatus = -1;
    EXPECT_EQ(c->backupTo(second), PLDBStatus::kBackupSizeUnknown);
    sizeStatus = 0;
    c->setStopRunning(true);
    EXPECT_EQ(c->backupTo(second), PLDBStatus::kBackupCancelled);
    EXPECT_FALSE(QFile::exists(second)) << "a cancelled copy is removed";
    c->setStopRunning(false);

    auto missing = controller(dir.filePath("none.cxdb"));
    EXPECT_EQ(missing->backupTo(second), PLDBStatus::kBackupSourceBad);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(DatabaseControllerTest, RemoveItemMatchesTheKind)
{
    writeFile(dir.filePath("file"), "x");
    EXPECT_EQ(PLDatabaseController::removeItemAtFilePath(dir.filePath("file"), true), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("file")));
    EXPECT_EQ(PLDatabaseController::removeItemAtFilePath(dir.filePath("file"), false), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("file")));
    EXPECT_EQ(PLDatabaseController::removeItemAtFilePath(folder, true), 0);
    EXPECT_FALSE(QFile::exists(folder));
    EXPECT_EQ(PLDatabaseController::removeItemAtFilePath(dir.filePath("none"), false), 0);
}
