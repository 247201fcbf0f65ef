#include "platform/foundation/FileAttributes.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<const FileAttributeReader*> g_reader{nullptr};

bool hasImmutableFlag(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL);
    ::close(fd);
    return immutable;
}

} // namespace

bool FileAttributeReader::read(const QString& path, FileAttributes* out) const
{
    *out = FileAttributes();
    if (path.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    out->exists = true;
    out->isDirectory = S_ISDIR(st.st_mode);
    out->isRegularFile = S_ISREG(st.st_mode);
    out->immutable = (out->isDirectory || out->isRegularFile) && hasImmutableFlag(name);
    out->writable = ::access(name.constData(), W_OK) == 0;
    out->readable = ::access(name.constData(), R_OK) == 0;
    return true;
}

const FileAttributeReader& FileAttributeReader::current()
{
    static const FileAttributeReader system;
    const FileAttributeReader* reader = g_reader.load();
    return reader ? *reader : system;
}

void FileAttributeReader::setCurrent(const FileAttributeReader* reader)
{
    g_reader.store(reader);
}

bool clearImmutableFlag(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0)
        return false;
    int flags = 0;
    bool cleared = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (cleared && (flags & FS_IMMUTABLE_FL)) {
        flags &= ~FS_IMMUTABLE_FL;
        cleared = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return cleared;
}
