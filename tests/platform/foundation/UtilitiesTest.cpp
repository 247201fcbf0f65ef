#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/FormatString.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/NotificationCenter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <sys/file.h>
#include <unistd.h>

TEST(FormatString, SubstitutesSafely)
{
    struct Case {
        const char* format;
        QVariantList args;
        const char* expected;
    };
    const Case cases[] = {
        {"Undefined Err:%4d", {5}, "Undefined Err:   5"},
        {"IDS_MSG_ERR_%04d", {7}, "IDS_MSG_ERR_0007"},
        {"%@ has %d cards", {QStringLiteral("Inbox"), 3}, "Inbox has 3 cards"},
        {"%s and %@ without arguments", {}, "(null) and (null) without arguments"},
        {"100%% %x %X %5.2f", {255, 255, 3.14159}, "100% ff FF  3.14"},
        {"%2$@ %1$@", {QStringLiteral("a"), QStringLiteral("b")}, "b a"},
        {"trailing %", {}, "trailing %"},
        {"%ld bytes %-4d|", {qlonglong(1) << 40, 7}, "1099511627776 bytes 7   |"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatString(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected)) << c.format;
}

TEST(Md5, KnownDigests)
{
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(DatabaseLock, SecondDescriptorIsRefusedWhileHeldAndFileIsKept)
{
    QTemporaryDir dir;
    int first = -1, second = -1;
    ASSERT_EQ(DatabaseLock::acquire(dir.path(), &first), DatabaseLock::Result::Locked);
    EXPECT_EQ(DatabaseLock::acquire(dir.path(), &second), DatabaseLock::Result::InUse);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(DatabaseLock::probe(dir.path()), DatabaseLock::Result::InUse);
    EXPECT_TRUE(DatabaseLock::isLockFileHeld(DatabaseLock::lockFilePath(dir.path())));
    DatabaseLock::release(first);
    EXPECT_FALSE(DatabaseLock::isLockFileHeld(DatabaseLock::lockFilePath(dir.path())));
    EXPECT_FALSE(DatabaseLock::isLockFileHeld(dir.filePath("missing/.PLLock.pllk")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing")));
    EXPECT_TRUE(QFile::exists(DatabaseLock::lockFilePath(dir.path())));
    EXPECT_EQ(DatabaseLock::probe(dir.path()), DatabaseLock::Result::Locked);
    EXPECT_EQ(DatabaseLock::probe(dir.filePath("missing")), DatabaseLock::Result::OpenFailed);
}

// What stands in the lock file's place: a missing or plain file serves; a link, a folder or a file
// of two names does not, and is not taken for a lock another program holds either.
TEST(DatabaseLock, OnlyAPlainFileOrNoneServesAsTheLockFile)
{
    QTemporaryDir dir;
    const QString lockFile = DatabaseLock::lockFilePath(dir.path());
    QFile target(dir.filePath("target"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.close();
    const struct {
        const char* name;
        std::function<bool()> make;
        bool usable;
    } cases[] = {
        {"none", [] { return true; }, true},
        {"a plain file",
         [&] {
             int fd = -1;
             return DatabaseLock::acquire(dir.path(), &fd) == DatabaseLock::Result::Locked && DatabaseLock::release(fd);
         },
         true},
        {"a link", [&] { return QFile::link(target.fileName(), lockFile); }, false},
        {"a dangling link", [&] { return QFile::link(dir.filePath("gone"), lockFile); }, false},
        {"a folder", [&] { return QDir().mkdir(lockFile); }, false},
        {"a second name of another file",
         [&] { return ::link(QFile::encodeName(target.fileName()).constData(), QFile::encodeName(lockFile).constData()) == 0; },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(lockFile);
        QDir().rmdir(lockFile);
        ASSERT_TRUE(c.make());
        EXPECT_EQ(DatabaseLock::isLockFileUsable(lockFile), c.usable);
        if (c.usable) {
            EXPECT_FALSE(DatabaseLock::isLockFileHeld(lockFile));
        }
    }
}

TEST(DatabaseLock, ReleaseTellsAFailedUnlockFromAFailedClose)
{
    static const DatabaseLock::SystemCalls unlockFails{[](int) { return -1; }, ::close};
    static const DatabaseLock::SystemCalls closeFails{[](int fd) { return flock(fd, LOCK_UN); }, [](int fd) {
        ::close(fd);
        return -1;
    }};
    const std::pair<const DatabaseLock::SystemCalls*, DatabaseLock::Release> cases[] = {
        {nullptr, DatabaseLock::Release::Released},
        {&unlockFails, DatabaseLock::Release::UnlockFailed},
        {&closeFails, DatabaseLock::Release::CloseFailed},
    };
    QTemporaryDir dir;
    for (const auto& [calls, expected] : cases) {
        int fd = -1;
        ASSERT_EQ(DatabaseLock::acquire(dir.path(), &fd), DatabaseLock::Result::Locked);
        DatabaseLock::setSystemCalls(calls);
        EXPECT_EQ(DatabaseLock::releaseReporting(fd), expected);
        DatabaseLock::setSystemCalls(nullptr);
        EXPECT_EQ(DatabaseLock::probe(dir.path()), DatabaseLock::Result::Locked) << "the descriptor is closed in every case";
    }
    EXPECT_EQ(DatabaseLock::releaseReporting(-1), DatabaseLock::Release::Released);
}

// A lock path planted in a received folder (a link to a key, a hard link, a folder) is refused
// as in use and whatever it names keeps its mode.
TEST(DatabaseLock, LockPathThatIsNotThePlainLockFileIsRefused)
{
    QTemporaryDir dir;
    const QString key = dir.filePath("id_key");
    QFile file(key);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    const std::pair<const char*, std::function<bool(const QString&)>> cases[] = {
        {"link to a file", [&](const QString& lock) { return QFile::link(key, lock); }},
        {"link to nowhere", [&](const QString& lock) { return QFile::link(dir.filePath("nowhere"), lock); }},
        {"hard link", [&](const QString& lock) { return ::link(QFile::encodeName(key).constData(), QFile::encodeName(lock).constData()) == 0; }},
        {"folder", [&](const QString& lock) { return QDir().mkpath(lock); }},
    };
    for (const auto& [name, plant] : cases) {
        SCOPED_TRACE(name);
        const QString folder = dir.filePath(QString::fromUtf8(name));
        QDir().mkpath(folder);
        const QString lock = DatabaseLock::lockFilePath(folder);
        ASSERT_TRUE(plant(lock));
        int fd = -1;
        EXPECT_EQ(DatabaseLock::acquire(folder, &fd), DatabaseLock::Result::OpenFailed);
        EXPECT_EQ(fd, -1);
        EXPECT_TRUE(DatabaseLock::isLockFileHeld(lock));
        EXPECT_EQ(QFile::permissions(key), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere")));
    }
}

TEST(NotificationCenter, ObserverMayRemoveItselfDuringDelivery)
{
    NotificationCenter center;
    int first = 0, second = 0;
    int owner1 = 0, owner2 = 0;
    center.addObserver(&owner1, "Pelmora clear trash notification", [&](const Notification&) {
        ++first;
        center.removeObserver(&owner1);
        center.removeObserver(&owner2);
    });
    center.addObserver(&owner2, "Pelmora clear trash notification", [&](const Notification&) { ++second; });
    center.post("Pelmora clear trash notification");
    center.post("Pelmora clear trash notification");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}
