#include "platform/foundation/DatabaseLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

QString DatabaseLock::lockFilePath(const QString& databaseFolder)
{
    return databaseFolder + QLatin1Char('/') + QLatin1String(kFileName);
}

namespace {

int lockExclusiveNonBlocking(int handle)
{
    int rc;
    do {
        rc = flock(handle, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// Opens the lock file itself: never through a link, never anything but a plain file of one
// name (a hard link to someone's key must not get the lock file's mode). -1 otherwise.
int openLockFile(const QByteArray& path, int createFlag)
{
    const int handle = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | createFlag, 0700);
    if (handle < 0)
        return -1;
    struct stat st;
    if (::fstat(handle, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        ::close(handle);
        return -1;
    }
    return handle;
}

} // namespace

DatabaseLock::Result DatabaseLock::acquire(const QString& databaseFolder, int* fd)
{
    *fd = -1;
    const QByteArray path = QFile::encodeName(lockFilePath(databaseFolder));
    const int handle = openLockFile(path, O_CREAT);
    if (handle < 0)
        return Result::OpenFailed;
    // Everyone who may open the database must be able to open the lock file too.
    fchmod(handle, 0777);
    if (lockExclusiveNonBlocking(handle) != 0) {
        ::close(handle);
        return Result::InUse;
    }
    *fd = handle;
    return Result::Locked;
}

namespace {
int unlockFile(int fd)
{
    return flock(fd, LOCK_UN);
}
const DatabaseLock::SystemCalls kSystemCalls{unlockFile, ::close};
const DatabaseLock::SystemCalls* g_calls = &kSystemCalls;
} // namespace

void DatabaseLock::setSystemCalls(const SystemCalls* calls)
{
    g_calls = calls ? calls : &kSystemCalls;
}

bool DatabaseLock::release(int fd)
{
    return releaseReporting(fd) == Release::Released;
}

DatabaseLock::Release DatabaseLock::releaseReporting(int fd)
{
    if (fd < 0)
        return Release::Released;
    const bool unlocked = g_calls->unlock(fd) == 0;
    const bool closed = g_calls->close(fd) == 0;
    if (!unlocked)
        return Release::UnlockFailed;
    return closed ? Release::Released : Release::CloseFailed;
}

DatabaseLock::Result DatabaseLock::probe(const QString& databaseFolder)
{
    int fd = -1;
    const Result result = acquire(databaseFolder, &fd);
    release(fd);
    return result;
}

bool DatabaseLock::isLockFileHeld(const QString& lockFilePath)
{
    if (lockFilePath.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(lockFilePath);
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return false;
    const int handle = openLockFile(path, 0);
    if (handle < 0)
        return true;
    const bool held = lockExclusiveNonBlocking(handle) != 0;
    if (!held)
        flock(handle, LOCK_UN);
    ::close(handle);
    return held;
}

bool DatabaseLock::isLockFileUsable(const QString& lockFilePath)
{
    const QByteArray path = QFile::encodeName(lockFilePath);
    struct stat st;
    if (lockFilePath.isEmpty() || (::lstat(path.constData(), &st) != 0 && errno == ENOENT))
        return true;
    const int handle = openLockFile(path, 0);
    if (handle < 0)
        return false;
    ::close(handle);
    return true;
}
