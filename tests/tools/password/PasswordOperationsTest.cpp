#include "platform/foundation/DatabaseLock.h"
#include "tests/support/dbtools/FakeFileAttributes.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tools/password/HWDatabaseController.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QByteArray kAbcDigest = "900150983cd24fb0d6963f7d28e17f72";

class PasswordOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = env.path() + QStringLiteral("/db.cxdb");
        ASSERT_TRUE(TestDatabase::create(folder, {.cards = 3}));
        cfg = folder + QStringLiteral("/Pelmora.CFG");
        db.setDBPath(folder);
    }
    QByteArray cfgBytes() const
    {
        QFile file(cfg);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    ToolTestEnvironment env{QStringLiteral("Harnwick")};
    QString folder;
    QString cfg;
    HWDatabaseController db;
};

TEST_F(PasswordOperations, AddChangeDelete)
{
    EXPECT_FALSE(db.isHasPassword());
    EXPECT_EQ(db.changePassword(QStringLiteral("abc"), QStringLiteral("x")), 103);
    EXPECT_EQ(db.deletePassword(QStringLiteral("abc")), 104);

    EXPECT_EQ(db.addPassword(QStringLiteral("abc")), 0);
    EXPECT_EQ(cfgBytes(), kAbcDigest);
    EXPECT_TRUE(db.isHasPassword());
    EXPECT_EQ(db.addPassword(QStringLiteral("other")), 103);
    EXPECT_EQ(cfgBytes(), kAbcDigest);

    EXPECT_EQ(db.changePassword(QStringLiteral("wrong"), QStringLiteral("new")), 305);
    EXPECT_FALSE(db.passwordFileChanged());
    EXPECT_EQ(cfgBytes(), kAbcDigest);
    EXPECT_EQ(db.changePassword(QStringLiteral("abc"), QStringLiteral("new pass~16chars")), 0);
    EXPECT_TRUE(db.passwordFileChanged());
    EXPECT_EQ(cfgBytes(), QCryptographicHash::hash("new pass~16chars", QCryptographicHash::Md5).toHex());

    EXPECT_EQ(db.deletePassword(QStringLiteral("abc")), 305);
    EXPECT_TRUE(QFile::exists(cfg));
    EXPECT_EQ(db.deletePassword(QStringLiteral("new pass~16chars")), 0);
    EXPECT_FALSE(QFile::exists(cfg));
    EXPECT_FALSE(db.isHasPassword());

    // The lock file stays, unlocked.
    EXPECT_TRUE(QFile::exists(DatabaseLock::lockFilePath(folder)));
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked);
}

TEST_F(PasswordOperations, HeldLockGives203AndWritesNothing)
{
    int held = -1;
    ASSERT_EQ(DatabaseLock::acquire(folder, &held), DatabaseLock::Result::Locked);
    EXPECT_EQ(db.addPassword(QStringLiteral("abc")), 203);
    EXPECT_FALSE(QFile::exists(cfg));
    DatabaseLock::release(held);

    ASSERT_EQ(db.addPassword(QStringLiteral("abc")), 0);
    ASSERT_EQ(DatabaseLock::acquire(folder, &held), DatabaseLock::Result::Locked);
    EXPECT_EQ(db.changePassword(QStringLiteral("abc"), QStringLiteral("new")), 203);
    EXPECT_EQ(db.deletePassword(QStringLiteral("abc")), 203);
    EXPECT_EQ(cfgBytes(), kAbcDigest);
    DatabaseLock::release(held);
}

// A received folder whose password file is a link to someone's file: that file is neither read
// as the digest nor written through, and keeps its bytes.
TEST_F(PasswordOperations, PasswordFileThatIsALinkIsNeverWrittenThrough)
{
    const QString outside = env.path() + QStringLiteral("/outside.txt");
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kAbcDigest);
    file.close();
    ASSERT_TRUE(QFile::link(outside, cfg));
    EXPECT_EQ(db.changePassword(QStringLiteral("abc"), QStringLiteral("new")), 305);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kAbcDigest);
    EXPECT_TRUE(QFileInfo(cfg).isSymLink());
}

TEST_F(PasswordOperations, ChecksBeforeAnyOperation)
{
    const QString deepParent = env.folder(QString(240, QLatin1Char('d')));
    const QString deep = deepParent + QLatin1Char('/') + QString(240, QLatin1Char('e')) + QStringLiteral(".cxdb");
    ASSERT_TRUE(TestDatabase::create(env.path() + QStringLiteral("/short.cxdb"), {.cards = 1}));
    ASSERT_TRUE(QDir().rename(env.path() + QStringLiteral("/short.cxdb"), deep));
    const QString store = folder + QStringLiteral("/Pelmora1.sqldb");
    const QString linked = env.path() + QStringLiteral("/linked.cxdb");
    ASSERT_TRUE(TestDatabase::create(linked, {.cards = 1}));
    ASSERT_TRUE(QFile::link(store, linked + QStringLiteral("/.PLLock.pllk")));

    const struct {
        const char* name;
        QString path;
        std::function<void(FakeFileAttributes&)> attributes;
        int result;
    } cases[] = {
        {"blank", QStringLiteral(" "), {}, 201},
        {"not a database", env.folder(QStringLiteral("plain.cxdb")), {}, 201},
        {"missing", env.path() + QStringLiteral("/none.cxdb"), {}, 201},
        {"path too long", deep, {}, 206},
        {"read-only store", folder, [&](FakeFileAttributes& f) { f.set(store, FakeFileAttributes::ReadOnly); }, 204},
        {"read-only folder", folder, [&](FakeFileAttributes& f) { f.set(folder, FakeFileAttributes::ReadOnly); }, 204},
        {"unreadable store", folder, [&](FakeFileAttributes& f) { f.set(store, FakeFileAttributes::Unreadable); }, 204},
        {"immutable store", folder, [&](FakeFileAttributes& f) { f.set(store, FakeFileAttributes::Immutable); }, 204},
        {"lock file a link: unusable, not in use", linked, {}, 204},
        {"unexaminable folder", folder, [&](FakeFileAttributes& f) { f.set(folder, FakeFileAttributes::NoAttributes); }, 1},
        {"read-only Images does not matter", folder, [&](FakeFileAttributes& f) { f.set(folder + QStringLiteral("/Images"), FakeFileAttributes::ReadOnly); }, 0},
    };
    for (const auto& c : cases) {
        FakeFileAttributes fake;
        if (c.attributes)
            c.attributes(fake);
        HWDatabaseController controller;
        controller.setDBPath(c.path);
        EXPECT_EQ(controller.addPassword(QStringLiteral("abc")), c.result) << c.name;
        EXPECT_EQ(QFile::exists(c.path + QStringLiteral("/Pelmora.CFG")), c.result == 0) << c.name;
        QFile::remove(c.path + QStringLiteral("/Pelmora.CFG"));
    }

    FakeWorkspace workspace;
    workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), {}, 4095};
    EXPECT_EQ(db.addPassword(QStringLiteral("abc")), 205);
    workspace.volume->freeBytes = 4096;
    EXPECT_EQ(db.addPassword(QStringLiteral("abc")), 0);
}

TEST_F(PasswordOperations, OlderStoreOnly)
{
    const QString old = env.path() + QStringLiteral("/old.cxdb");
    ASSERT_TRUE(TestDatabase::create(old, {.cards = 1, .storeName = QStringLiteral("Pelmora.sqldb")}));
    HWDatabaseController controller;
    controller.setDBPath(old);
    EXPECT_EQ(controller.addPassword(QStringLiteral("abc")), 0);
    QFile file(old + QStringLiteral("/Pelmora.CFG"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kAbcDigest);
}

TEST_F(PasswordOperations, ImmutablePasswordFileIsStillDeleted)
{
    ASSERT_EQ(db.addPassword(QStringLiteral("abc")), 0);
    {
        FakeFileAttributes fake;
        fake.set(cfg, FakeFileAttributes::Immutable);
        EXPECT_EQ(db.deletePassword(QStringLiteral("abc")), 0);
        EXPECT_FALSE(QFile::exists(cfg));
    }
    // The real flag, where the file system and the privileges allow setting it.
    ASSERT_EQ(db.addPassword(QStringLiteral("abc")), 0);
    const int fd = ::open(QFile::encodeName(cfg).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool set = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
        && (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    ::close(fd);
    if (!set)
        GTEST_SKIP() << "the immutable flag cannot be set here";
    EXPECT_FALSE(QFile::remove(cfg));
    EXPECT_EQ(db.deletePassword(QStringLiteral("abc")), 0);
    EXPECT_FALSE(QFile::exists(cfg));
}

} // namespace
