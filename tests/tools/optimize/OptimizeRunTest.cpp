#include "platform/foundation/DatabaseLock.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tools/optimize/VSOptimizeDBController.h"

#include <QDir>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(BackupNaming, FirstFreeCandidate)
{
    const struct {
        QString folder;
        QStringList taken;
        QString expected;
    } cases[] = {
        {"/d/Pelmora DB.cxdb", {}, "/d/Pelmora DB_bak.cxdb"},
        {"/d/Pelmora DB.cxdb/", {}, "/d/Pelmora DB_bak.cxdb"},
        {"/d/Pelmora DB.cxdb", {"/d/Pelmora DB_bak.cxdb", "/d/Pelmora DB_bak1.cxdb"}, "/d/Pelmora DB_bak2.cxdb"},
        {"/d/Pelmora DB.cxdb", {"/d/Pelmora DB_bak1.cxdb"}, "/d/Pelmora DB_bak.cxdb"},
        {"/d/a.b/cards.v2.cxdb", {}, "/d/a.b/cards.v2_bak.cxdb"},
        {"/d/a.b/cards", {}, "/d/a.b/cards_bak"},
        {"/d/cards", {"/d/cards_bak"}, "/d/cards_bak1"},
        {"/d/.cxdb", {}, "/d/.cxdb_bak"},
    };
    for (const auto& c : cases) {
        const QString path = VSOptimizeDBController::generateBackupPath(
            c.folder, [&](const QString& candidate) { return c.taken.contains(candidate); });
        EXPECT_EQ(path, c.expected) << c.folder.toStdString();
    }
}

TEST(BackupNaming, AllTenThousandNamesTaken)
{
    QStringList asked;
    const QString path = VSOptimizeDBController::generateBackupPath(
        QStringLiteral("/d/db.cxdb"), [&](const QString& candidate) {
            asked.append(candidate);
            return true;
        });
    EXPECT_TRUE(path.isEmpty());
    ASSERT_EQ(asked.size(), 10000);
    EXPECT_EQ(asked.first(), QStringLiteral("/d/db_bak.cxdb"));
    EXPECT_EQ(asked.at(1), QStringLiteral("/d/db_bak1.cxdb"));
    EXPECT_EQ(asked.last(), QStringLiteral("/d/db_bak9999.cxdb"));

    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    const QString folder = env.path() + QStringLiteral("/db.cxdb");
    ASSERT_TRUE(TestDatabase::create(folder, {.cards = 1}));
    VSOptimizeDBController run(folder + QStringLiteral("/Pelmora1.sqldb"));
    run.setPathTaken([](const QString&) { return true; });
    EXPECT_EQ(run.backup(), VSOptimizeDBController::kBackupFailed);
    EXPECT_EQ(QDir(env.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);
}

class OptimizeRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = env.path() + QStringLiteral("/Pelmora DB.cxdb");
        ASSERT_TRUE(TestDatabase::create(folder, {.cards = 3000, .imageFiles = 20, .memoBytes = 1000}));
        store = folder + QStringLiteral("/Pelmora1.sqldb");
    }
    ToolTestEnvironment env{QStringLiteral("Vostrand")};
    QString folder;
    QString store;
};

TEST_F(OptimizeRun, ShrinksTheStoreKeepsEveryRowAndBacksUpFirst)
{
    ASSERT_TRUE(TestDatabase::deleteCards(store, 2500));
    const QStringList tables = TestDatabase::tableNames(store);
    const QStringList rows = TestDatabase::allRows(store);
    const QByteArray before = fileBytes(store);
    // A file of the first candidate's name blocks it.
    QFile blocker(env.path() + QStringLiteral("/Pelmora DB_bak.cxdb"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    VSOptimizeDBController run(store);
    EXPECT_EQ(run.run(), VSOptimizeDBController::kSuccess);

    EXPECT_LT(QFileInfo(store).size(), before.size() / 2);
    EXPECT_EQ(TestDatabase::tableNames(store), tables);
    EXPECT_EQ(TestDatabase::allRows(store), rows);
    EXPECT_EQ(TestDatabase::cardCount(store), 500);
    // The main application's store layer reads the remaining cards back.
    const QStringList names = TestDatabase::cardNames(store);
    ASSERT_EQ(names.size(), 500);
    EXPECT_EQ(names.first(), QStringLiteral("Person 2501"));
    EXPECT_EQ(names.last(), QStringLiteral("Person 3000"));

    const QString backup = env.path() + QStringLiteral("/Pelmora DB_bak1.cxdb");
    EXPECT_EQ(run.backupPath(), backup);
    EXPECT_EQ(fileBytes(backup + QStringLiteral("/Pelmora1.sqldb")), before);
    EXPECT_EQ(QDir(backup + QStringLiteral("/Images")).entryList(QDir::Files).size(), 20);
    EXPECT_TRUE(QFileInfo(backup + QStringLiteral("/Files")).isDir());

    EXPECT_TRUE(QFile::exists(DatabaseLock::lockFilePath(folder)));
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked);
}

TEST_F(OptimizeRun, FailingShellKeepsTheBackupAndTheStore)
{
    const QByteArray before = fileBytes(store);
    // A shell that closes its input and ends: when that happens before the script is written,
    // the write fails (no signal) and the run still ends with the shell's failure.
    const QString earlyExit = env.path() + QStringLiteral("/early-exit");
    QFile script(earlyExit);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec 0<&-\nexit 3\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    for (const QString& shell : {QStringLiteral("/bin/false"), QStringLiteral("/nonexistent/sqlite3"), earlyExit}) {
        VSOptimizeDBController run(store);
        run.setShellPath(shell);
        EXPECT_EQ(run.run(), VSOptimizeDBController::kShellFailed) << shell.toStdString();
        EXPECT_TRUE(QFileInfo(run.backupPath()).isDir());
        EXPECT_EQ(fileBytes(store), before);
    }
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked);
}

TEST_F(OptimizeRun, AStoreThatIsNotSqliteFailsInTheShell)
{
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(8192, 'x'));
    file.close();
    VSOptimizeDBController run(store);
    EXPECT_EQ(run.run(), VSOptimizeDBController::kShellFailed);
    EXPECT_EQ(fileBytes(store), QByteArray(8192, 'x'));
}

TEST_F(OptimizeRun, HeldLockMeansInUseAndNothingCopied)
{
    int held = -1;
    ASSERT_EQ(DatabaseLock::acquire(folder, &held), DatabaseLock::Result::Locked);
    const QByteArray before = fileBytes(store);
    VSOptimizeDBController run(store);
    EXPECT_EQ(run.run(), VSOptimizeDBController::kInUse);
    EXPECT_TRUE(run.backupPath().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(env.path() + QStringLiteral("/Pelmora DB_bak.cxdb")));
    EXPECT_EQ(fileBytes(store), before);
    DatabaseLock::release(held);
}

TEST_F(OptimizeRun, AFailedCopyLeavesNoBackupBehind)
{
    // Something the copy cannot make (a named pipe), below a folder already copied read-only.
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Files/a/b")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + QStringLiteral("/Files/pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::setPermissions(folder + QStringLiteral("/Files/a"), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray before = fileBytes(store);
    VSOptimizeDBController run(store);
    EXPECT_EQ(run.run(), VSOptimizeDBController::kBackupFailed);
    EXPECT_FALSE(QFileInfo::exists(env.path() + QStringLiteral("/Pelmora DB_bak.cxdb")));
    EXPECT_EQ(fileBytes(store), before);
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked);
    QFile::setPermissions(folder + QStringLiteral("/Files/a"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(OptimizeRun, MissingStoreIsNoRun)
{
    VSOptimizeDBController run(folder + QStringLiteral("/Pelmora.sqldb"));
    EXPECT_EQ(run.run(), VSOptimizeDBController::kNoStore);
    VSOptimizeDBController empty{QString()};
    EXPECT_EQ(empty.run(), VSOptimizeDBController::kNoStore);
}

} // namespace

// A store or a card image that is a link is not backed up as the link: the run is refused and
// nothing is copied. Copies a killed run left beside the folder go.
TEST_F(OptimizeRun, LinksAreRefusedAndUnfinishedCopiesGo)
{
    const QString outside = env.path() + QStringLiteral("/outside.sqldb");
    ASSERT_TRUE(QFile::copy(store, outside));
    const QString image = QDir(folder + QStringLiteral("/Images")).entryList(QDir::Files).first();
    const struct {
        const char* name;
        QString link;
    } cases[] = {{"store", store}, {"image", folder + QStringLiteral("/Images/") + image}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString saved = c.link + QStringLiteral(".saved");
        ASSERT_TRUE(QFile::rename(c.link, saved));
        ASSERT_TRUE(QFile::link(outside, c.link));
        VSOptimizeDBController run(store);
        EXPECT_EQ(run.run(), VSOptimizeDBController::kBackupFailed);
        EXPECT_TRUE(run.backupPath().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(env.path() + QStringLiteral("/Pelmora DB_bak.cxdb")));
        ASSERT_TRUE(QFile::remove(c.link));
        ASSERT_TRUE(QFile::rename(saved, c.link));
    }

    const QString unfinished = env.path() + QStringLiteral("/Pelmora DB_bak.cxdb.incomplete-00abcd");
    QDir().mkpath(unfinished + QStringLiteral("/Images"));
    VSOptimizeDBController run(store);
    EXPECT_EQ(run.run(), VSOptimizeDBController::kSuccess);
    EXPECT_EQ(run.backupPath(), env.path() + QStringLiteral("/Pelmora DB_bak.cxdb"));
    EXPECT_FALSE(QFileInfo::exists(unfinished));
    EXPECT_EQ(QDir(env.path()).entryList({QStringLiteral("*incomplete*")}, QDir::AllEntries).size(), 0);
}

namespace {

bool processGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && line.size() > close + 2 && line.at(close + 2) == 'Z';
}

template <typename Pred>
bool waitUntil(Pred done, int ms = 180000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

// Killing the tool while the SQLite shell runs ends the shell as well; until then the shell holds
// the folder's lock, and afterwards nothing does.
TEST_F(OptimizeRun, TheShellDiesWithAKilledTool)
{
    const QString pidFile = env.path() + QStringLiteral("/shell.pid");
    const QString shell = env.path() + QStringLiteral("/slow-shell");
    QFile script(shell);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho $$ > '%1.tmp'\nmv '%1.tmp' '%1'\nexec sleep 120\n").arg(pidFile).toLocal8Bit());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);

    QProcess tool;
    tool.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--optimize-run"), store, shell});
    ASSERT_TRUE(tool.waitForStarted(180000));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(pidFile); }));
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const pid_t shellPid = pid_t(pid.readAll().trimmed().toLong());
    ASSERT_GT(shellPid, 0);
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::InUse);

    ::kill(pid_t(tool.processId()), SIGKILL);
    ASSERT_TRUE(tool.waitForFinished(180000));
    const bool shellEnded = waitUntil([&] { return processGone(shellPid); });
    EXPECT_TRUE(shellEnded);
    if (!shellEnded)
        ::kill(shellPid, SIGKILL);
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked);
}
