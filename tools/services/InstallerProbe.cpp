#include "tools/services/InstallerProbe.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// Held by dpkg and by apt while they change the installed packages or their lists.
constexpr const char* kInstallerLockFiles[] = {
    "/var/lib/dpkg/lock-frontend",
    "/var/lib/dpkg/lock",
    "/var/lib/apt/lists/lock",
    "/var/cache/apt/archives/lock",
};
constexpr const char* kInstallerProcessNames[] = {"dpkg", "apt", "apt-get", "aptitude"};

} // namespace

int checkAppLaunchingByBundleID(const QString& bundleID, const std::function<QStringList()>& launchedApplications)
{
    if (bundleID.isEmpty())
        return 0;
    return launchedApplications().contains(bundleID) ? 1 : 0;
}

QStringList launchedProcessNames()
{
    QStringList names;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly))
            names.append(QString::fromUtf8(comm.readAll()).trimmed());
    }
    return names;
}

bool isFileLockedByAnyProcess(const QString& path)
{
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    // /proc/locks names the locked file as "MAJOR:MINOR:INODE", the device numbers in hex.
    const QByteArray id = QByteArray::number(major(st.st_dev), 16).rightJustified(2, '0') + ':'
        + QByteArray::number(minor(st.st_dev), 16).rightJustified(2, '0') + ':'
        + QByteArray::number(static_cast<qulonglong>(st.st_ino));
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = locks.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.simplified().split(' ').contains(id))
            return true;
    }
    return false;
}

bool isPackageInstallerRunning()
{
    for (const char* lock : kInstallerLockFiles) {
        if (isFileLockedByAnyProcess(QLatin1String(lock)))
            return true;
    }
    const QStringList running = launchedProcessNames();
    const auto launched = [&running] { return running; };
    for (const char* name : kInstallerProcessNames) {
        if (checkAppLaunchingByBundleID(QLatin1String(name), launched))
            return true;
    }
    return false;
}
