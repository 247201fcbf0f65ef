#include "platform/foundation/TemporaryWrite.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/Descriptor.h"
#include "platform/foundation/FileModes.h"
#include "platform/foundation/PlainFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kTemplate[] = "/.pelmora-XXXXXX.tmp";
constexpr int kSuffixLength = 4;
constexpr int kRandomLength = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 100;

} // namespace

int openLockedTemporary(const QString& path, QByteArray* temporary)
{
    // A short name of its own: the destination's name may already be as long as names can be.
    *temporary = QFile::encodeName(QFileInfo(path).path()) + kTemplate;
    const int fd = ::mkostemps(temporary->data(), kSuffixLength, O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::unlink(temporary->constData());
        ::close(fd);
        return -1;
    }
    return fd;
}

TemporaryWrite::TemporaryWrite(const QString& path) : m_path(QFile::encodeName(path))
{
    m_fd = openLockedTemporary(path, &m_temporary);
}

TemporaryWrite::~TemporaryWrite()
{
    if (m_fd < 0)
        return;
    ::unlink(m_temporary.constData());
    ::close(m_fd);
}

bool TemporaryWrite::append(QByteArrayView bytes)
{
    if (m_fd < 0 || m_failed)
        return false;
    if (!writeAll(m_fd, QByteArray::fromRawData(bytes.data(), bytes.size()))) {
        m_failed = true;
        return false;
    }
    // Only a start: a failure of the writeback shows in the flush of place(). (A length of 0 would
    // mean all to the end.)
    if (!bytes.isEmpty())
        ::sync_file_range(m_fd, m_size, bytes.size(), SYNC_FILE_RANGE_WRITE);
    m_size += bytes.size();
    return true;
}

bool TemporaryWrite::place(const char* crashPointName)
{
    if (m_fd < 0)
        return false;
    const bool written = !m_failed && setReplacingMode(m_fd, m_path, newFileMode()) && ::fsync(m_fd) == 0;
    if (written && crashPointName)
        crashPoint(crashPointName);
    // Renamed while still locked, so the sweep of another run never takes it for a leftover.
    const bool placed = written && ::rename(m_temporary.constData(), m_path.constData()) == 0;
    if (!placed)
        ::unlink(m_temporary.constData());
    Descriptor fd(m_fd);
    m_fd = -1;
    return fd.close() && placed;
}

bool writeThroughTemporary(const QString& path, const QByteArray& bytes, const char* crashPointName)
{
    TemporaryWrite file(path);
    return file.append(bytes) && file.place(crashPointName);
}

bool linkUnnamed(int fd, const char* target)
{
    // Linux 6.10 and later let the opener name it by its descriptor; before, only root could, and
    // others went through the descriptor's entry under /proc.
    if (::linkat(fd, "", AT_FDCWD, target, AT_EMPTY_PATH) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, self, AT_FDCWD, target, AT_SYMLINK_FOLLOW) == 0;
}

bool linkLockedTemporary(int fd, const QString& path, QByteArray* temporary)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    const QByteArray folder = QFile::encodeName(QFileInfo(path).path());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        QByteArray name = folder + kTemplate;
        char* letter = name.data() + name.size() - kSuffixLength;
        for (int i = 0; i < kRandomLength; ++i)
            *--letter = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
        if (linkUnnamed(fd, name.constData())) {
            *temporary = name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return false;
}

void removeTemporaryLeftovers(const QString& folder)
{
    static const QRegularExpression leftover(QStringLiteral("^\\.pelmora-[A-Za-z0-9]{6}\\.tmp$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!leftover.match(name).hasMatch())
            continue;
        const QByteArray native = QFile::encodeName(dir.filePath(name));
        const Descriptor fd(::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(native.constData());
    }
}
