#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tools/dbtools/ToolSqlite.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class ToolSqliteTest : public ::testing::Test {
protected:
    QString makeDatabase(const QString& name, const TestDatabase::Options& options)
    {
        const QString folder = env.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(TestDatabase::create(folder, options));
        return folder;
    }
    ToolTestEnvironment env{QStringLiteral("Vostrand")};
};

TEST_F(ToolSqliteTest, VersionQuery)
{
    const struct {
        const char* name;
        TestDatabase::Options options;
        bool current;
        int error;
    } cases[] = {
        {"v2.cxdb", {.cards = 1, .databaseVersion = 2}, true, 0},
        {"v1.cxdb", {.cards = 1, .databaseVersion = 1}, false, 0},
        {"v3.cxdb", {.cards = 1, .databaseVersion = 3}, false, ToolSqlite::kNewerDatabase},
        {"old.cxdb", {.cards = 1, .databaseVersion = 3, .storeName = QStringLiteral("Pelmora.sqldb")}, false, 0},
    };
    for (const auto& c : cases) {
        const QString folder = makeDatabase(QString::fromLatin1(c.name), c.options);
        int error = 0;
        ToolSqlite sqlite;
        EXPECT_EQ(sqlite.isDatabaseV53(&error, folder), c.current) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

TEST_F(ToolSqliteTest, AStoreThatIsNotSqliteFailsTheQuery)
{
    const QString folder = env.folder(QStringLiteral("text.cxdb"));
    QFile store(folder + QStringLiteral("/Pelmora1.sqldb"));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write(QByteArray(4096, 'x'));
    store.close();
    int error = 0;
    ToolSqlite sqlite;
    EXPECT_FALSE(sqlite.isDatabaseV53(&error, folder));
    EXPECT_EQ(error, ToolSqlite::kQueryFailed);
    EXPECT_EQ(store.size(), 4096);
}

TEST_F(ToolSqliteTest, RowsAsTextsNullsEmptyAndFailures)
{
    const QString folder = makeDatabase(QStringLiteral("q.cxdb"), {.cards = 2});
    ToolSqlite sqlite;
    int error = 0;
    const auto rows = sqlite.executeQuery(QStringLiteral("select Z_PK, NULL as N, ZFULL_NAME from ZCARD order by Z_PK;"), &error, folder);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 2);
    EXPECT_EQ(rows->at(1).value(QStringLiteral("ZFULL_NAME")), QStringLiteral("Person 2"));
    EXPECT_TRUE(rows->at(0).contains(QStringLiteral("N")));
    EXPECT_EQ(rows->at(0).value(QStringLiteral("N")), QString());

    const auto none = sqlite.executeQuery(QStringLiteral("select * from ZCARD where Z_PK > 99;"), &error, folder);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->isEmpty());
    EXPECT_FALSE(sqlite.executeQuery(QStringLiteral(" \n"), &error, folder).has_value());
    EXPECT_EQ(error, 0);

    EXPECT_FALSE(sqlite.executeQuery(QStringLiteral("select * from NOPE;"), &error, folder).has_value());
    EXPECT_EQ(error, ToolSqlite::kQueryFailed);
    error = 0;
    EXPECT_FALSE(sqlite.executeQuery(QStringLiteral("select 1;"), &error, env.folder(QStringLiteral("empty.cxdb"))).has_value());
    EXPECT_EQ(error, ToolSqlite::kStoreMissing);

    ToolSqlite fixedName(QStringLiteral("Pelmora.sqldb"));
    EXPECT_EQ(fixedName.openSqlite3DB(folder), ToolSqlite::kStoreMissing);
}

} // namespace
