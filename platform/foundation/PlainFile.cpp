#include "platform/foundation/PlainFile.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FileModes.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool writeAll(int fd, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool entryExists(const QString& path)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool readPlainFile(const QString& path, QByteArray* out, qint64 maxBytes)
{
    out->clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes;
    if (ok) {
        out->resize(qsizetype(st.st_size));
        qint64 done = 0;
        while (ok && done < out->size()) {
            const ssize_t n = ::read(fd, out->data() + done, size_t(out->size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            done += n;
        }
    }
    ::close(fd);
    if (!ok)
        out->clear();
    return ok;
}

bool replacePlainFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::lstat(native.constData(), &st) == 0 ? !S_ISREG(st.st_mode) : errno != ENOENT)
        return false;
    QByteArray temp = native + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes) && setReplacingMode(fd, native, newFileMode()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    crashPoint("plain-file-written");
    if (!written || !closed || ::rename(temp.constData(), native.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}
