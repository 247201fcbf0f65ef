#include "platform/foundation/DatabaseLock.h"
#include "platform/workspace/LocalVolume.h"
#include "tests/support/dbtools/FakeFileAttributes.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/DbToolCommon.h"
#include "tools/dbtools/FolderChooser.h"
#include "tools/dbtools/FolderSize.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tools/optimize/VSCommonFuc.h"
#include "tools/password/HWCommonFunction.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(ToolChecks, BlankMeansOnlyTheSevenBlankCharacters)
{
    EXPECT_EQ(DbToolCommon::blankAndNewLineCharacters().size(), 7);
    EXPECT_TRUE(DbToolCommon::isBlank(QString()));
    EXPECT_TRUE(DbToolCommon::isBlank(QString::fromUtf16(u" \t\u3000\n\r\u0085\u2028")));
    EXPECT_FALSE(DbToolCommon::isBlank(QString::fromUtf16(u"\u00A0")));
    EXPECT_FALSE(DbToolCommon::isBlank(QStringLiteral(" a ")));
}

TEST(ToolChecks, IllegalPasswordCharactersOnceInOrderOfAppearance)
{
    EXPECT_TRUE(DbToolCommon::getIllegalCharactersInPwdString(QString()).isNull());
    const struct {
        const char16_t* password;
        const char16_t* illegal;
    } cases[] = {
        {u"abc DEF~!", u""},
        {u"a;b;c", u";"},
        {u"x\u00E9;y\u00E9\t", u"\u00E9;\t"},
        {u"\u007F\u001F ", u"\u007F\u001F"},
        {u"p\U0001F600w", u"\U0001F600"},
    };
    for (const auto& c : cases) {
        const QString password = QString::fromUtf16(c.password);
        EXPECT_EQ(DbToolCommon::getIllegalCharactersInPwdString(password), QString::fromUtf16(c.illegal))
            << password.toStdString();
    }
}

TEST(ToolChecks, Md5OfUtf8Bytes)
{
    EXPECT_EQ(DbToolCommon::getMD5String(QStringLiteral("abc")), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(DbToolCommon::getMD5String(QString()), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
}

TEST(ToolChecks, PathLengthCountsBytesUpTo504)
{
    EXPECT_TRUE(DbToolCommon::isValidPathLength(QString(504, QLatin1Char('a')), 504));
    EXPECT_FALSE(DbToolCommon::isValidPathLength(QString(505, QLatin1Char('a')), 504));
    EXPECT_FALSE(DbToolCommon::isValidPathLength(QString(253, QChar(0x00E9)), 504));
    EXPECT_TRUE(DbToolCommon::isValidPathLength(QStringLiteral("  "), 1));
}

class AttributeCodes : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = env.path() + QStringLiteral("/db.cxdb");
        ASSERT_TRUE(TestDatabase::create(folder, {.cards = 1}));
        store = folder + QStringLiteral("/Pelmora1.sqldb");
    }
    std::pair<int, int> codes() const
    {
        return {DbToolCommon::CheckDBAttributes(folder, ToolVariant::Vostrand),
                DbToolCommon::CheckDBAttributes(folder, ToolVariant::Harnwick)};
    }
    ToolTestEnvironment env{QStringLiteral("Vostrand")};
    FakeFileAttributes fake;
    QString folder;
    QString store;
};

TEST_F(AttributeCodes, EachVariantJudgesItsOwnItems)
{
    using C = FakeFileAttributes;
    const struct {
        const char* name;
        QList<std::pair<QString, C::Change>> changes;
        std::pair<int, int> expected;
    } cases[] = {
        {"usable", {}, {7, 7}},
        {"read-only Images", {{"/Images", C::ReadOnly}}, {8, 7}},
        {"unreadable Files", {{"/Files", C::Unreadable}}, {2, 7}},
        {"immutable Images", {{"/Images", C::Immutable}}, {3, 7}},
        {"immutable store", {{"/Pelmora1.sqldb", C::Immutable}}, {3, 3}},
        {"read-only folder and store", {{"", C::ReadOnly}, {"/Pelmora1.sqldb", C::ReadOnly}}, {8, 4}},
        {"everything read-only",
         {{"", C::ReadOnly}, {"/Pelmora1.sqldb", C::ReadOnly}, {"/Images", C::ReadOnly}, {"/Files", C::ReadOnly}},
         {4, 4}},
        {"unreadable store", {{"/Pelmora1.sqldb", C::Unreadable}}, {2, 5}},
        {"unreadable folder", {{"", C::Unreadable}}, {2, 5}},
        {"folder attributes unreadable", {{"", C::NoAttributes}}, {-1, -1}},
        // A store that cannot be examined is no store file: the older name is looked for.
        {"store attributes unreadable", {{"/Pelmora1.sqldb", C::NoAttributes}}, {1, 1}},
        {"Files attributes unreadable", {{"/Files", C::NoAttributes}}, {-1, 7}},
    };
    for (const auto& c : cases) {
        FakeFileAttributes perCase;
        for (const auto& [suffix, change] : c.changes)
            perCase.set(folder + suffix, change);
        EXPECT_EQ(codes(), c.expected) << c.name;
    }
    FakeFileAttributes unreadableAndReadOnly;
    unreadableAndReadOnly.set(folder, FakeFileAttributes::Unreadable);
    unreadableAndReadOnly.set(store, FakeFileAttributes::ReadOnly);
    EXPECT_EQ(DbToolCommon::CheckDBAttributes(folder, ToolVariant::Harnwick), 6);
}

TEST_F(AttributeCodes, MissingFolderOrStoreAndNoPath)
{
    EXPECT_EQ(DbToolCommon::CheckDBAttributes(QString(), ToolVariant::Vostrand), -1);
    EXPECT_EQ(DbToolCommon::CheckDBAttributes(env.path() + QStringLiteral("/none.cxdb"), ToolVariant::Harnwick), 1);
    ASSERT_TRUE(QFile::remove(store));
    EXPECT_EQ(codes(), std::make_pair(1, 1));
}

TEST_F(AttributeCodes, CurrentStoreIsPreferredOverTheOlderOne)
{
    EXPECT_EQ(DatabaseLayout::storeFileName(folder), QStringLiteral("Pelmora1.sqldb"));
    ASSERT_TRUE(QFile::copy(store, folder + QStringLiteral("/Pelmora.sqldb")));
    EXPECT_EQ(DatabaseLayout::storeFileName(folder), QStringLiteral("Pelmora1.sqldb"));
    fake.set(folder + QStringLiteral("/Pelmora.sqldb"), FakeFileAttributes::Immutable);
    EXPECT_EQ(codes(), std::make_pair(7, 7));
    ASSERT_TRUE(QFile::remove(store));
    EXPECT_EQ(DatabaseLayout::storeFileName(folder), QStringLiteral("Pelmora.sqldb"));
    EXPECT_EQ(codes(), std::make_pair(3, 3));
    // A folder of that name is no store.
    ASSERT_TRUE(QDir().mkdir(store));
    EXPECT_EQ(DatabaseLayout::storeFileName(folder), QStringLiteral("Pelmora.sqldb"));
}

TEST(ToolChecks, DuOutputIsDigitsOnlyInKibibytes)
{
    const struct {
        QByteArray output;
        quint64 size;
        int error;
    } cases[] = {
        {"12\t/x\n", 12288, 0},
        {"0\t.\n", 0, 0},
        {"12x\t/x\n", 0, FolderSize::kBadOutput},
        {"-1\t/x\n", 0, FolderSize::kBadOutput},
        {"12\n", 0, FolderSize::kBadOutput},
        {"\t/x", 0, 0},
        {"99999999999999999999\t/x", 0, FolderSize::kBadOutput},
    };
    for (const auto& c : cases) {
        int error = 1;
        EXPECT_EQ(FolderSize::parseDuOutput(c.output, &error), c.size) << c.output.constData();
        EXPECT_EQ(error, c.error) << c.output.constData();
    }
}

TEST(ToolChecks, FolderSizeOfARealTreeAndOfNothing)
{
    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    const QString folder = env.folder(QStringLiteral("tree/sub"));
    QFile file(folder + QStringLiteral("/data"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(300 * 1024, 'x'));
    file.close();
    int error = 1;
    const quint64 size = FolderSize::getSizeWithPath(env.path() + QStringLiteral("/tree"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_GE(size, 300u * 1024u);
    EXPECT_EQ(size % 1024, 0u);
    EXPECT_EQ(FolderSize::getSizeWithPath(env.path() + QStringLiteral("/none"), &error), 0u);
    EXPECT_EQ(error, 0);
}

TEST(ToolChecks, FreeSpace)
{
    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    EXPECT_TRUE(DbToolCommon::CheckDiskSizeIsEnough(env.path(), 4096));
    EXPECT_FALSE(DbToolCommon::CheckDiskSizeIsEnough(env.path(), ~quint64(0)));
    EXPECT_FALSE(DbToolCommon::CheckDiskSizeIsEnough(env.path() + QStringLiteral("/none"), 1));
    FakeWorkspace workspace;
    workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), {}, 0};
    EXPECT_FALSE(DbToolCommon::CheckDiskSizeIsEnough(env.path(), 0));
    workspace.volume->freeBytes = 4096;
    EXPECT_TRUE(DbToolCommon::CheckDiskSizeIsEnough(env.path(), 4096));
    EXPECT_FALSE(DbToolCommon::CheckDiskSizeIsEnough(env.path(), 4097));
}

TEST(ToolChecks, LockProbeSeesAnotherHolderAndLeavesTheFile)
{
    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    const QString folder = env.folder(QStringLiteral("db.cxdb"));
    const QString lockFile = DatabaseLock::lockFilePath(folder);
    EXPECT_FALSE(DbToolCommon::CheckDBFileIsLocked(QString()));
    EXPECT_FALSE(DbToolCommon::CheckDBFileIsLocked(env.path() + QStringLiteral("/none.cxdb/.PLLock.pllk")));
    EXPECT_FALSE(DbToolCommon::CheckDBFileIsLocked(lockFile));
    EXPECT_FALSE(QFile::exists(lockFile));
    int held = -1;
    ASSERT_EQ(DatabaseLock::acquire(folder, &held), DatabaseLock::Result::Locked);
    EXPECT_TRUE(DbToolCommon::CheckDBFileIsLocked(lockFile));
    DatabaseLock::release(held);
    EXPECT_FALSE(DbToolCommon::CheckDBFileIsLocked(lockFile));
    EXPECT_TRUE(QFile::exists(lockFile));
}

TEST(ToolChecks, InitialPathNeedsAnExistingCxdbFolder)
{
    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    EXPECT_TRUE(DbToolCommon::initialDBPath().isEmpty());
    const QString upper = env.folder(QStringLiteral("Cards.CXDB"));
    const struct {
        QString preference;
        QString expected;
    } cases[] = {
        {upper, upper},
        {upper + QLatin1Char('/'), upper + QLatin1Char('/')},
        {env.folder(QStringLiteral("plain")), QString()},
        {env.path() + QStringLiteral("/missing.cxdb"), QString()},
    };
    for (const auto& c : cases) {
        env.setDBPathPreference(c.preference);
        EXPECT_EQ(DbToolCommon::initialDBPath(), c.expected) << c.preference.toStdString();
    }
    QFile file(env.path() + QStringLiteral("/file.cxdb"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    env.setDBPathPreference(file.fileName());
    EXPECT_TRUE(DbToolCommon::initialDBPath().isEmpty());
}

TEST(ToolChecks, ChooserStartsBesideTheCurrentDatabaseElseInDocuments)
{
    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    EXPECT_EQ(FolderChooser::startFolder(QStringLiteral("/data/cards/db.cxdb")), QStringLiteral("/data/cards"));
    EXPECT_EQ(FolderChooser::startFolder(QStringLiteral("/data/cards/db.CxDb/")), QStringLiteral("/data/cards"));
    EXPECT_EQ(FolderChooser::startFolder(QStringLiteral("/data/cards/db")), env.path() + QStringLiteral("/home/Documents"));
    EXPECT_EQ(FolderChooser::startFolder(QString()), env.path() + QStringLiteral("/home/Documents"));
}


TEST(ToolChecks, LocalFixedVolume)
{
    ToolTestEnvironment env(QStringLiteral("Vostrand"));
    EXPECT_TRUE(LocalVolume::isOnLocalFixedVolume(env.path()));
    EXPECT_FALSE(LocalVolume::isOnLocalFixedVolume(env.path() + QStringLiteral("/none")));

    FakeWorkspace workspace;
    workspace.volumesByPath.insert(env.path() + QStringLiteral("/home"), {QStringLiteral("nfs4"), QStringLiteral("/home"), {}, 1});
    workspace.volumesByPath.insert(QStringLiteral("/data"), {QStringLiteral("ext4"), QStringLiteral("/data"), {}, 1});
    workspace.volumesByPath.insert(QStringLiteral("/media/stick"), {QStringLiteral("vfat"), QStringLiteral("/media/stick"), {}, 1});
    workspace.volumesByPath.insert(QStringLiteral("/mnt/share"), {QStringLiteral("cifs"), QStringLiteral("/mnt/share"), {}, 1});
    workspace.volumesByPath.insert(QStringLiteral("/mnt/sshfs"), {QStringLiteral("fuse.sshfs"), QStringLiteral("/mnt/sshfs"), {}, 1});
    // File systems that no list of remote ones names: Pelmora refuses them, so the tools do too.
    workspace.volumesByPath.insert(QStringLiteral("/mnt/windows"), {QStringLiteral("ntfs3"), QStringLiteral("/mnt/windows"), {}, 1});
    workspace.volumesByPath.insert(QStringLiteral("/mnt/disc"), {QStringLiteral("iso9660"), QStringLiteral("/mnt/disc"), {}, 1});
    workspace.removableMedia = {QStringLiteral("/media/stick")};
    const struct {
        const char* path;
        bool local;
    } cases[] = {
        {"/data/cards.cxdb", true},
        {"/media/stick/cards.cxdb", false},
        {"/mnt/share/cards.cxdb", false},
        {"/mnt/sshfs/cards.cxdb", false},
        {"/unknown/cards.cxdb", false},
        {"/mnt/windows/cards.cxdb", false},
        {"/mnt/disc/cards.cxdb", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LocalVolume::isOnLocalFixedVolume(QString::fromLatin1(c.path)), c.local) << c.path;
        EXPECT_EQ(VSCommonFuc::CheckDBpathIsLocal(QString::fromLatin1(c.path)), c.local) << c.path;
        EXPECT_EQ(HWCommonFunction::CheckDBpathLocation(QString::fromLatin1(c.path)), c.local) << c.path;
    }
    // The home folder's volume counts as local whatever its kind.
    EXPECT_TRUE(LocalVolume::isOnLocalFixedVolume(env.path() + QStringLiteral("/home/cards.cxdb")));
}

} // namespace
