// The open database's folder, context and lock move together, and the process-wide copies of the
// folder and the lock descriptor follow every change.
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/support/cardstores/CardStoreFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

namespace {

namespace F = CardStoreFixtures;

// The copies can be read everywhere but assigned nowhere: OpenDatabase is their only writer.
static_assert(std::is_const_v<std::remove_reference_t<decltype(g_strCurDBPath)>>);
static_assert(std::is_const_v<std::remove_reference_t<decltype(g_DBLockFile)>>);

class OpenDatabaseTest : public ::testing::Test {
protected:
    QTemporaryDir temp;

    QString makeDatabase(const QString& name)
    {
        const QString folder = temp.filePath(name);
        QDir().mkpath(folder + QStringLiteral("/Images"));
        EXPECT_TRUE(F::writeStore(folder + QStringLiteral("/Pelmora1.sqldb"), true, 2, F::numberedCards(2, QStringLiteral("1"))));
        return folder;
    }
    static void expectCopiesOf(const OpenDatabase& database)
    {
        EXPECT_EQ(g_strCurDBPath, database.folder());
        EXPECT_EQ(g_DBLockFile, database.lockDescriptor());
    }
    static bool heldByNobody(const QString& folder) { return DatabaseLock::probe(folder) == DatabaseLock::Result::Locked; }
};

TEST_F(OpenDatabaseTest, SwitchingMovesFolderContextAndLockTogether)
{
    const QString first = makeDatabase(QStringLiteral("First.cxdb"));
    const QString second = temp.filePath(QStringLiteral("Second.cxdb")); // a new, empty folder
    QDir().mkpath(second);
    OpenDatabase database;
    QList<ManagedObjectContext*> announced;
    QObject::connect(&database, &OpenDatabase::contextChanged, [&](ManagedObjectContext* context) { announced.append(context); });
    EXPECT_TRUE(g_strCurDBPath.isEmpty());
    EXPECT_EQ(g_DBLockFile, -1);

    // Chosen at start-up: named, not yet open or locked.
    ASSERT_TRUE(database.choose(first));
    EXPECT_FALSE(database.isOpen());
    expectCopiesOf(database);
    EXPECT_EQ(g_strCurDBPath, first);
    EXPECT_TRUE(heldByNobody(first));

    ASSERT_EQ(database.open(), OpenDatabase::Result::Opened);
    ManagedObjectContext* firstContext = database.context();
    ASSERT_NE(firstContext, nullptr);
    EXPECT_EQ(firstContext->storePath(), first + QStringLiteral("/Pelmora1.sqldb"));
    EXPECT_GE(database.lockDescriptor(), 0);
    expectCopiesOf(database);
    EXPECT_FALSE(heldByNobody(first));
    // An open database is only left by a switch or a close.
    EXPECT_FALSE(database.choose(second));
    EXPECT_EQ(database.folder(), first);

    ASSERT_EQ(database.switchTo(second), OpenDatabase::Result::Opened);
    EXPECT_EQ(database.folder(), second);
    EXPECT_EQ(database.context()->storePath(), second + QStringLiteral("/Pelmora1.sqldb"));
    expectCopiesOf(database);
    EXPECT_FALSE(heldByNobody(second));
    EXPECT_TRUE(heldByNobody(first)) << "the old lock is let go";
    EXPECT_EQ(announced, (QList<ManagedObjectContext*>{firstContext, database.context()}));
    // The new database got what every database has before anything shows it.
    const F::StoreContents seeded = F::readStore(second + QStringLiteral("/Pelmora1.sqldb"));
    EXPECT_GT(seeded.folderCount, 0);
    EXPECT_EQ(seeded.versionValues, QStringList{QStringLiteral("2")});

    database.close();
    EXPECT_FALSE(database.isOpen());
    EXPECT_TRUE(database.folder().isEmpty());
    expectCopiesOf(database);
    EXPECT_EQ(g_DBLockFile, -1);
    EXPECT_TRUE(heldByNobody(second));
    EXPECT_EQ(announced.last(), nullptr);

    // The object going away lets go of what it holds.
    {
        OpenDatabase other;
        other.choose(first);
        ASSERT_EQ(other.open(), OpenDatabase::Result::Opened);
        EXPECT_FALSE(heldByNobody(first));
    }
    EXPECT_TRUE(heldByNobody(first));
    EXPECT_TRUE(g_strCurDBPath.isEmpty());
    EXPECT_EQ(g_DBLockFile, -1);
}

TEST_F(OpenDatabaseTest, AFailedSwitchLeavesTheOpenDatabaseAndItsCopies)
{
    const QString current = makeDatabase(QStringLiteral("Current.cxdb"));
    const QString held = makeDatabase(QStringLiteral("Held.cxdb"));
    int holder = -1;
    ASSERT_EQ(DatabaseLock::acquire(held, &holder), DatabaseLock::Result::Locked);
    const QString damaged = temp.filePath(QStringLiteral("Damaged.cxdb"));
    QDir().mkpath(damaged);
    QFile garbage(damaged + QStringLiteral("/Pelmora1.sqldb"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(2048, 'x'));
    garbage.close();
    const QString linked = makeDatabase(QStringLiteral("Linked.cxdb"));
    ASSERT_TRUE(QFile::link(garbage.fileName(), linked + QStringLiteral("/.PLLock.pllk")));

    OpenDatabase database;
    database.choose(current);
    ASSERT_EQ(database.open(), OpenDatabase::Result::Opened);
    ManagedObjectContext* context = database.context();
    const int lock = database.lockDescriptor();
    int announcements = 0;
    QObject::connect(&database, &OpenDatabase::contextChanged, [&] { ++announcements; });

    const struct {
        const char* name;
        QString folder;
        OpenDatabase::Result result;
    } cases[] = {
        {"no folder", QString(), OpenDatabase::Result::NoFolder},
        {"a damaged store", damaged, OpenDatabase::Result::StoreFailed},
        {"a folder that is gone", temp.filePath(QStringLiteral("Gone.cxdb")), OpenDatabase::Result::StoreFailed},
        {"a database another program holds", held, OpenDatabase::Result::InUse},
        {"a database whose lock file is a link", linked, OpenDatabase::Result::LockUnusable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(database.switchTo(c.folder), c.result);
        EXPECT_EQ(database.folder(), current);
        EXPECT_EQ(database.context(), context);
        EXPECT_EQ(database.lockDescriptor(), lock);
        expectCopiesOf(database);
        EXPECT_FALSE(heldByNobody(current));
        EXPECT_EQ(announcements, 0);
    }
    EXPECT_TRUE(heldByNobody(damaged)) << "a refused folder is not kept locked";
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("Gone.cxdb"))));
    DatabaseLock::release(holder);

    // A first opening that fails leaves the folder chosen and nothing open or locked.
    database.close();
    database.choose(damaged);
    EXPECT_EQ(database.open(), OpenDatabase::Result::StoreFailed);
    EXPECT_FALSE(database.isOpen());
    EXPECT_EQ(database.folder(), damaged);
    expectCopiesOf(database);
    EXPECT_EQ(g_DBLockFile, -1);
}

} // namespace
