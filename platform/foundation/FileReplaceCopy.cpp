#include "platform/foundation/FileReplaceCopy.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/Descriptor.h"
#include "platform/foundation/FileModes.h"
#include "platform/foundation/PlainFile.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Copies [offset, end) from `from` to the same place in `to`.
bool copyRange(int from, int to, off_t offset, off_t end, std::vector<char>& buffer)
{
    while (offset < end) {
        const size_t want = size_t(std::min<off_t>(end - offset, off_t(buffer.size())));
        const ssize_t got = ::pread(from, buffer.data(), want, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        if (::lseek(to, offset, SEEK_SET) != offset || !writeAll(to, QByteArray::fromRawData(buffer.data(), qsizetype(got))))
            return false;
        offset += got;
    }
    return true;
}

// Copies the data of `from` (of `size` bytes) into the empty file `to`, skipping holes where the
// file system tells where they are.
bool copyContent(int from, int to, off_t size)
{
    std::vector<char> buffer(size_t(1) << 20);
    off_t offset = 0;
    while (offset < size) {
        const off_t data = ::lseek(from, offset, SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            break; // only a hole is left
        if (data < 0)
            return copyRange(from, to, offset, size, buffer);
        off_t hole = ::lseek(from, data, SEEK_HOLE);
        if (hole < 0 || hole > size)
            hole = size;
        if (!copyRange(from, to, data, hole, buffer))
            return false;
        offset = hole;
    }
    return ::ftruncate(to, size) == 0;
}

} // namespace

FileReplaceCopyResult copyFileReplacing(const QString& source, const QString& destination, const char* crashPointName)
{
    const Descriptor input(::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    // Checked on the open descriptor: a folder, a device or a pipe is never read.
    if (!input.valid() || ::fstat(input.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileReplaceCopyResult::CopyFailed;
    QByteArray temp;
    Descriptor output(openLockedTemporary(destination, &temp));
    if (!output.valid())
        return FileReplaceCopyResult::CopyFailed;
    const QByteArray target = QFile::encodeName(destination);
    // As cp makes a new copy: never more open than the source, nor than the umask allows.
    const bool copied = copyContent(input.get(), output.get(), st.st_size)
        && setReplacingMode(output.get(), target, newFileMode(st.st_mode)) && ::fsync(output.get()) == 0;
    if (!copied) {
        ::unlink(temp.constData());
        return FileReplaceCopyResult::CopyFailed;
    }
    if (crashPointName)
        crashPoint(crashPointName);
    // Renamed while still locked, so the sweep of another run never takes it for a leftover.
    if (::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return FileReplaceCopyResult::ReplaceFailed;
    }
    return FileReplaceCopyResult::Copied;
}
