#include "tools/services/InstallerProbe.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TEST(InstallerProbe, MatchesExactProgramNamesOnly)
{
    int asked = 0;
    const auto launched = [&asked] {
        ++asked;
        return QStringList{"bash", "dpkg-deb", "apt-get"};
    };
    EXPECT_EQ(checkAppLaunchingByBundleID(QString(), launched), 0);
    EXPECT_EQ(asked, 0) << "the empty name does not ask for the list";
    EXPECT_EQ(checkAppLaunchingByBundleID("apt-get", launched), 1);
    EXPECT_EQ(checkAppLaunchingByBundleID("dpkg", launched), 0);
    EXPECT_EQ(checkAppLaunchingByBundleID("APT-GET", launched), 0);
}

TEST(InstallerProbe, SeesRunningProcessesAndHeldLocks)
{
    // The kernel keeps the first 15 bytes of a process's name.
    QFile self("/proc/self/comm");
    ASSERT_TRUE(self.open(QIODevice::ReadOnly));
    EXPECT_TRUE(launchedProcessNames().contains(QString::fromUtf8(self.readAll()).trimmed()));

    QTemporaryDir dir;
    const QString path = dir.filePath("lock");
    EXPECT_FALSE(isFileLockedByAnyProcess(path)) << "missing file";
    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(isFileLockedByAnyProcess(path));

    // dpkg and apt take POSIX record locks; flock counts as well.
    struct flock record {};
    record.l_type = F_WRLCK;
    record.l_whence = SEEK_SET;
    ASSERT_EQ(fcntl(fd, F_SETLK, &record), 0);
    EXPECT_TRUE(isFileLockedByAnyProcess(path));
    record.l_type = F_UNLCK;
    ASSERT_EQ(fcntl(fd, F_SETLK, &record), 0);
    EXPECT_FALSE(isFileLockedByAnyProcess(path));

    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_TRUE(isFileLockedByAnyProcess(path));
    close(fd);
}
