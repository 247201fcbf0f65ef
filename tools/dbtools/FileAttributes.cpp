#include "tools/dbtools/FileAttributes.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const FileAttributes* g_provider = nullptr;

// Descriptor for the flag ioctls; O_NONBLOCK keeps a FIFO from hanging the open.
int openForFlags(const QByteArray& path)
{
    return ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

} // namespace

PathAttributes FileAttributes::attributes(const QString& path) const
{
    PathAttributes result;
    if (path.isEmpty())
        return result;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        // A path that is there but cannot be examined exists without readable attributes.
        result.exists = errno != ENOENT && errno != ENOTDIR;
        return result;
    }
    result.exists = true;
    result.attributesReadable = true;
    result.isDirectory = S_ISDIR(st.st_mode);
    result.isFile = S_ISREG(st.st_mode);
    result.readable = ::access(native.constData(), R_OK) == 0;
    result.writable = ::access(native.constData(), W_OK) == 0;
    const int fd = openForFlags(native);
    if (fd >= 0) {
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0)
            result.immutable = (flags & FS_IMMUTABLE_FL) != 0;
        ::close(fd);
    }
    return result;
}

bool FileAttributes::clearImmutable(const QString& path) const
{
    const int fd = openForFlags(QFile::encodeName(path));
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok && (flags & FS_IMMUTABLE_FL)) {
        flags &= ~FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

const FileAttributes& FileAttributes::current()
{
    static const FileAttributes system;
    return g_provider ? *g_provider : system;
}

void FileAttributes::setCurrent(const FileAttributes* provider)
{
    g_provider = provider;
}
