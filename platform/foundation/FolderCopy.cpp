#include "platform/foundation/FolderCopy.h"

#include "platform/foundation/Descriptor.h"
#include "platform/foundation/TreeRemoval.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Each level holds two descriptors; hostile nesting must not run the process out of them.
constexpr int kMaxDepth = 128;

int openNoFollow(int folder, const char* name, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::openat(folder, name, flags | O_NOFOLLOW | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool listNames(int folder, std::vector<std::string>* names)
{
    const int listFd = ::dup(folder);
    if (listFd < 0)
        return false;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names->push_back(name);
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    std::sort(names->begin(), names->end());
    return complete;
}

bool writeAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

class Copier {
public:
    Copier(FolderCopyOptions options, const std::function<bool()>& shouldContinue)
        : m_keepTimes(options.testFlag(FolderCopyOption::KeepTimes)), m_shouldContinue(shouldContinue)
    {
    }

    bool stopped() const { return m_stopped; }

    // Copies the content of the folder open at `from` into the empty folder open at `to`, then
    // gives `to` the mode (and times) of `st`: its own mode may forbid writing into it.
    bool copyFolder(int from, int to, const struct stat& st, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        std::vector<std::string> names;
        if (!listNames(from, &names))
            return false;
        for (const std::string& name : names) {
            if (m_shouldContinue && !m_shouldContinue()) {
                m_stopped = true;
                return false;
            }
            if (!copyEntry(from, name.c_str(), to, depth))
                return false;
        }
        return ::fchmod(to, st.st_mode & 07777) == 0 && keepTimes(to, st);
    }

private:
    bool keepTimes(int fd, const struct stat& st) const
    {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        return !m_keepTimes || ::futimens(fd, times) == 0;
    }

    bool copyEntry(int from, const char* name, int to, int depth)
    {
        struct stat st {};
        if (::fstatat(from, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        if (S_ISLNK(st.st_mode))
            return copyLink(from, name, to, st);
        if (S_ISREG(st.st_mode))
            return copyFile(from, name, to);
        if (!S_ISDIR(st.st_mode))
            return false;
        // Owner access while filling; the folder's own mode is set once its content is in.
        if (::mkdirat(to, name, 0700) != 0)
            return false;
        const Descriptor source(openNoFollow(from, name, O_RDONLY | O_DIRECTORY));
        const Descriptor target(openNoFollow(to, name, O_RDONLY | O_DIRECTORY));
        return source.valid() && target.valid() && copyFolder(source.get(), target.get(), st, depth + 1);
    }

    bool copyLink(int from, const char* name, int to, const struct stat& st) const
    {
        std::string text(size_t(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlinkat(from, name, text.data(), text.size());
        if (length < 0 || size_t(length) >= text.size())
            return false;
        text.resize(size_t(length));
        if (::symlinkat(text.c_str(), to, name) != 0)
            return false;
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        return !m_keepTimes || ::utimensat(to, name, times, AT_SYMLINK_NOFOLLOW) == 0;
    }

    bool copyFile(int from, const char* name, int to) const
    {
        Descriptor source(openNoFollow(from, name, O_RDONLY));
        struct stat st {};
        // Checked on the open descriptor: an entry swapped for a device or FIFO is not read.
        if (!source.valid() || ::fstat(source.get(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        Descriptor target(openNoFollow(to, name, O_WRONLY | O_CREAT | O_EXCL, 0600));
        if (!target.valid())
            return false;
        std::vector<char> buffer(1 << 16);
        for (;;) {
            const ssize_t got = ::read(source.get(), buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return false;
            if (got == 0)
                break;
            if (!writeAll(target.get(), buffer.data(), got))
                return false;
        }
        return ::fchmod(target.get(), st.st_mode & 07777) == 0 && keepTimes(target.get(), st) && target.close();
    }

    const bool m_keepTimes;
    const std::function<bool()>& m_shouldContinue;
    bool m_stopped = false;
};

} // namespace

FolderCopyResult copyFolderTree(const QString& source, const QString& destination, FolderCopyOptions options,
                                const std::function<bool()>& shouldContinue)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    // The folder given is taken as the caller names it; nothing inside it is ever followed.
    const Descriptor sourceFolder(::open(from.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (!sourceFolder.valid() || ::fstat(sourceFolder.get(), &st) != 0)
        return FolderCopyResult::Failed;
    // The destination is claimed by creating it, so nothing that was already there is ever removed.
    if (::mkdir(to.constData(), 0700) != 0)
        return FolderCopyResult::Failed;
    Copier copier(options, shouldContinue);
    const Descriptor target(openNoFollow(AT_FDCWD, to.constData(), O_RDONLY | O_DIRECTORY));
    const bool copied = target.valid() && copier.copyFolder(sourceFolder.get(), target.get(), st, 0);
    if (copied)
        return FolderCopyResult::Copied;
    if (options.testFlag(FolderCopyOption::RemovePartial))
        removeTree(destination);
    return copier.stopped() ? FolderCopyResult::Stopped : FolderCopyResult::Failed;
}
