#include "platform/store/DatabaseLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(DatabaseLayout, StoreFileFollowsExtensionAndExistingStore)
{
    QTemporaryDir dir;
    struct Case {
        const char* folder;
        bool newStore;
        bool oldStore;
        const char* expected;
    };
    const Case cases[] = {
        {"a.cxdb", false, true, DatabaseLayout::kOldStoreFileName}, {"b.cxdb", true, false, DatabaseLayout::kStoreFileName},
        {"c.CXDB", true, false, DatabaseLayout::kStoreFileName},    {"d.pldb", true, true, DatabaseLayout::kOldStoreFileName},
        {"e.cxdb", false, false, DatabaseLayout::kOldStoreFileName},
    };
    for (const Case& c : cases) {
        const QString folder = dir.filePath(c.folder);
        QDir().mkpath(folder);
        if (c.newStore)
            touch(folder + "/" + DatabaseLayout::kStoreFileName);
        if (c.oldStore)
            touch(folder + "/" + DatabaseLayout::kOldStoreFileName);
        EXPECT_EQ(DatabaseLayout::storeFileName(folder), c.expected) << c.folder;
        EXPECT_EQ(DatabaseLayout::storeFilePath(folder + "/"), folder + "//" + c.expected) << c.folder;
    }
    // A folder in place of the store file does not count.
    QDir().mkpath(dir.filePath("f.cxdb/Pelmora1.sqldb"));
    EXPECT_EQ(DatabaseLayout::storeFileName(dir.filePath("f.cxdb")), DatabaseLayout::kOldStoreFileName);
}

TEST(DatabaseLayout, ItemsLieDirectlyInTheFolder)
{
    const QString folder = QStringLiteral("/data/Cards.cxdb");
    EXPECT_EQ(DatabaseLayout::currentStoreFilePath(folder), "/data/Cards.cxdb/Pelmora1.sqldb");
    EXPECT_EQ(DatabaseLayout::imagesFolderPath(folder), "/data/Cards.cxdb/Images");
    EXPECT_EQ(DatabaseLayout::filesFolderPath(folder), "/data/Cards.cxdb/Files");
    EXPECT_EQ(DatabaseLayout::passwordFilePath(folder), "/data/Cards.cxdb/Pelmora.CFG");
}

TEST(DatabaseLayout, ExtensionTrailingSlashesAndHome)
{
    const struct {
        const char* path;
        bool database;
        const char* trimmed;
    } cases[] = {
        {"/a/Cards.cxdb", true, "/a/Cards.cxdb"}, {"/a/Cards.CxDb//", true, "/a/Cards.CxDb"},
        {"/a/Cards.pldb", false, "/a/Cards.pldb"}, {"/a/cxdb", false, "/a/cxdb"},
        {"/a.cxdb/Cards", false, "/a.cxdb/Cards"}, {"/", false, "/"}, {"", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DatabaseLayout::hasDatabaseExtension(QString::fromUtf8(c.path)), c.database) << c.path;
        EXPECT_EQ(DatabaseLayout::withoutTrailingSlash(QString::fromUtf8(c.path)), QString::fromUtf8(c.trimmed)) << c.path;
    }
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "/home/someone");
    EXPECT_EQ(DatabaseLayout::expandTilde("~"), "/home/someone");
    EXPECT_EQ(DatabaseLayout::expandTilde("~/Cards.cxdb"), "/home/someone/Cards.cxdb");
    EXPECT_EQ(DatabaseLayout::expandTilde("~other/Cards.cxdb"), "~other/Cards.cxdb");
    EXPECT_EQ(DatabaseLayout::expandTilde("/a/~/b"), "/a/~/b");
    qputenv("HOME", savedHome);
}

} // namespace
