#include "StoreTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

TEST(RawSqlite, ReadOnlyOpenReadsButNeverCreatesWritesOrFollowsALink)
{
    QTemporaryDir dir;
    const QString store = dir.filePath("Pelmora1.sqldb");
    {
        SqliteConnection writer;
        ASSERT_EQ(writer.open(store, true), SQLITE_OK);
        ASSERT_EQ(rawExec(writer, "create table T(A, B); insert into T values (1, NULL);"), SQLITE_OK);
    }
    SqliteConnection reader;
    ASSERT_EQ(reader.openReadOnly(store), SQLITE_OK);
    int rc = -1;
    const auto rows = rawQuery(reader, "select A, B from T;", &rc);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rc, SQLITE_OK);
    EXPECT_EQ(rows->first().value("A"), "1");
    EXPECT_EQ(rows->first().value("B"), "");
    EXPECT_EQ(rawExec(reader, "insert into T values (2, 2);"), SQLITE_READONLY);
    EXPECT_EQ(scalar(store, "select count(*) from T;"), "1");

    const QString missing = dir.filePath("missing.sqldb");
    EXPECT_NE(reader.openReadOnly(missing), SQLITE_OK);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_FALSE(QFile::exists(missing));

    const QString link = dir.filePath("link.sqldb");
    ASSERT_TRUE(QFile::link(store, link));
    EXPECT_NE(reader.openReadOnly(link), SQLITE_OK);
}

} // namespace
