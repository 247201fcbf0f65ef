#include "ScriptedAttributes.h"
#include "TestBundle.h"

#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/DatabasePassword.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/FileAttributes.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

struct EnvironmentValue {
    EnvironmentValue(const char* name, const QByteArray& value) : name(name), saved(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentValue() { qputenv(name, saved); }
    const char* name;
    QByteArray saved;
};

} // namespace

TEST(DatabaseFolder, AttributeTestAnswersInItsOrder)
{
    QTemporaryDir dir;
    const QString db = dir.filePath("Cards.cxdb");
    QDir().mkpath(db + "/Images");
    touch(db + "/Pelmora1.sqldb");
    const QString images = db + "/Images", store = db + "/Pelmora1.sqldb";
    auto locked = [](FileAttributes& a) { a.immutable = true; };
    auto readOnly = [](FileAttributes& a) { a.writable = false; };

    struct Case {
        const char* what;
        QString path;
        std::function<void(ScriptedAttributes&)> script;
        int expected;
    };
    const QList<Case> cases = {
        {"valid, no Files folder", db, {}, kDBAttributesOK},
        {"no path", QString(), {}, kDBAttributesUnreadable},
        {"missing folder", dir.filePath("none.cxdb"), {}, kDBAttributesMissing},
        {"Images unreadable", db, [&](ScriptedAttributes& s) { s.unreadable.insert(images); }, kDBAttributesUnreadable},
        {"folder locked", db, [&](ScriptedAttributes& s) { s.changes[db] = locked; }, kDBAttributesLocked},
        {"Images locked", db, [&](ScriptedAttributes& s) { s.changes[images] = locked; }, kDBAttributesLocked},
        {"locked before read-only", db,
         [&](ScriptedAttributes& s) {
             s.changes[images] = locked;
             s.changes[store] = readOnly;
         },
         kDBAttributesLocked},
        {"folder read-only", db, [&](ScriptedAttributes& s) { s.changes[db] = readOnly; }, kDBAttributesNotWritable},
        {"store read-only", db, [&](ScriptedAttributes& s) { s.changes[store] = readOnly; }, kDBAttributesNotWritable},
        {"Images read-only", db, [&](ScriptedAttributes& s) { s.changes[images] = readOnly; }, kDBAttributesNotWritable},
    };
    for (const Case& c : cases) {
        ScriptedAttributes scripted;
        if (c.script)
            c.script(scripted);
        EXPECT_EQ(checkDBAttributes(c.path), c.expected) << c.what;
    }
    QFile::remove(store);
    EXPECT_EQ(checkDBAttributes(db), kDBAttributesMissing) << "no store file";
}

TEST(DatabaseFolder, LockProbeAndPasswordFile)
{
    QTemporaryDir dir;
    const QString lockFile = DatabaseLock::lockFilePath(dir.path());
    EXPECT_EQ(CheckDBFileLocked(lockFile), 0);
    EXPECT_FALSE(QFile::exists(lockFile)) << "the probe creates nothing";
    EXPECT_EQ(CheckDBFileLocked(QString()), 0);

    int held = -1;
    ASSERT_EQ(DatabaseLock::acquire(dir.path(), &held), DatabaseLock::Result::Locked);
    EXPECT_EQ(CheckDBFileLocked(lockFile), 1);
    DatabaseLock::release(held);
    EXPECT_EQ(CheckDBFileLocked(lockFile), 0);
    EXPECT_TRUE(QFile::exists(lockFile));

    EXPECT_FALSE(CheckDBIsNeedPassword(dir.path()));
    EXPECT_FALSE(CheckDBIsNeedPassword(QString()));
    touch(DatabaseLayout::passwordFilePath(dir.path()));
    EXPECT_TRUE(CheckDBIsNeedPassword(dir.path()));
}

TEST(DatabasePassword, DigestAndCharacterRules)
{
    EXPECT_EQ(getMD5String("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(getMD5String(QString::fromUtf8("é")), "66ddcd97cfdeabb2f6fb8a999b4bc76f");

    EXPECT_TRUE(getIllegalCharactersInPwdString(QString()).isNull());
    EXPECT_TRUE(getIllegalCharactersInPwdString("").isNull());
    struct Case {
        const char* password;
        const char* offending;
    };
    const Case cases[] = {
        {"                ", ""}, // 16 spaces
        {"abc~ XYZ!", ""},
        {"pass;word", ";"},
        {"\xC3\xA9x;y;", "\xC3\xA9;"}, // accented letter, then two ";": each once, letter first
        {"tab\there\x7F", "\t\x7F"},
        {"\xF0\x9F\x94\x91;", "\xF0\x9F\x94\x91;"}, // a character beyond the basic plane stays whole
    };
    for (const Case& c : cases) {
        const QString result = getIllegalCharactersInPwdString(QString::fromUtf8(c.password));
        EXPECT_FALSE(result.isNull());
        EXPECT_EQ(result, QString::fromUtf8(c.offending)) << c.password;
    }
}

TEST(DatabaseFolder, PathCheckAcceptsHomeVolumeOrLocalFixedVolume)
{
    QTemporaryDir dir;
    EXPECT_EQ(pathCheck(QString()), -1);
    EXPECT_EQ(pathCheck(dir.filePath("missing/Cards.cxdb")), -1);
    {
        EnvironmentValue home("HOME", QFile::encodeName(dir.path()));
        FakeWorkspace workspace;
        workspace.volume = VolumeInfo{"nfs", "/", "server:/export", 0};
        EXPECT_EQ(pathCheck(dir.filePath("Cards.cxdb")), 0) << "same volume as the home folder";
    }
    EnvironmentValue home("HOME", "/proc");
    FakeWorkspace workspace;
    workspace.volumesByPath.insert("/proc", VolumeInfo{"proc", "/proc", "proc", 0});
    workspace.volume = VolumeInfo{"ext4", "/data", "/dev/sdb1", 1 << 30};
    EXPECT_EQ(pathCheck(dir.filePath("Cards.cxdb")), 0);
    workspace.removableMedia = {"/data"};
    EXPECT_EQ(pathCheck(dir.filePath("Cards.cxdb")), -1);
    workspace.removableMedia.clear();
    for (const char* type : {"cifs", "ntfs3", "vfat"}) {
        workspace.volume->fileSystemType = type;
        EXPECT_EQ(pathCheck(dir.filePath("Cards.cxdb")), -1) << type;
    }
}

TEST(DatabaseFolder, CleanFolderRemovesOnlyFolders)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("work.cxdb/Images"));
    touch(dir.filePath("work.cxdb/Images/a_N1.pdf"));
    touch(dir.filePath("plain"));
    EXPECT_TRUE(cleanFolder(dir.filePath("work.cxdb")));
    EXPECT_FALSE(QFile::exists(dir.filePath("work.cxdb")));
    EXPECT_FALSE(cleanFolder(dir.filePath("plain")));
    EXPECT_TRUE(QFile::exists(dir.filePath("plain")));
    EXPECT_FALSE(cleanFolder(dir.filePath("missing")));
}

TEST(DatabaseFolder, SuffixComesFromInfoPlistWhenText)
{
    {
        TestBundle bundle({{"Database Name", "cardsdb"}});
        EXPECT_EQ(getDatabaseSuffix(), "cardsdb");
    }
    TestBundle bundle({{"Database Name", 7}});
    EXPECT_EQ(getDatabaseSuffix(), "cxdb");
}

TEST(CardEntities, SystemTextFromVersionNibbles)
{
    EXPECT_EQ(productOSString(0x1068), "Mac 10.6.8");
    EXPECT_EQ(productOSString(0x1060), "Mac 10.6");
    EXPECT_EQ(productOSString(0x1080), "Mac 10.8");
    EXPECT_EQ(productOSString(0x10A2), "Mac 10.a.2");
    EXPECT_EQ(productOSString(0x107C), "Mac 10.7.12");
}
