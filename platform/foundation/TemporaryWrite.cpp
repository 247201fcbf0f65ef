#include "platform/foundation/TemporaryWrite.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/Descriptor.h"
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

bool writeThroughTemporary(const QString& path, const QByteArray& bytes, const char* crashPointName)
{
    const QByteArray native = QFile::encodeName(path);
    QByteArray temp;
    Descriptor fd(openLockedTemporary(path, &temp));
    if (!fd.valid())
        return false;
    const bool written = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), 0644) == 0 && ::fsync(fd.get()) == 0;
    if (written && crashPointName)
        crashPoint(crashPointName);
    // Renamed while still locked, so the sweep of another run never takes it for a leftover.
    const bool placed = written && ::rename(temp.constData(), native.constData()) == 0;
    if (!placed)
        ::unlink(temp.constData());
    return fd.close() && placed;
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
