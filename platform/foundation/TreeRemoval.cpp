#include "platform/foundation/TreeRemoval.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Each level holds one descriptor; hostile nesting must not run the process out of them.
constexpr int kMaxDepth = 128;

int openFolderNoFollow(int parent, const char* name)
{
    int fd;
    do {
        fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Empties the folder open at `fd` (which lies on `device`); false when anything stays.
bool emptyFolder(int fd, dev_t device, int depth)
{
    struct stat own {};
    if (::fstat(fd, &own) != 0)
        return false;
    if ((own.st_mode & S_IRWXU) != S_IRWXU && own.st_uid == ::geteuid())
        ::fchmod(fd, (own.st_mode & 07777) | S_IRWXU);

    // Names first, then removal: the stream's position is not disturbed by the unlinks.
    const int listFd = ::dup(fd);
    if (listFd < 0)
        return false;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);

    bool all = true;
    for (const std::string& name : names) {
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            all = all && errno == ENOENT;
            continue;
        }
        if (!S_ISDIR(st.st_mode)) {
            all = (::unlinkat(fd, name.c_str(), 0) == 0 || errno == ENOENT) && all;
            continue;
        }
        if (st.st_dev != device || depth >= kMaxDepth) {
            all = false;
            continue;
        }
        const int child = openFolderNoFollow(fd, name.c_str());
        if (child < 0) {
            all = false;
            continue;
        }
        // The entry opened must be the folder looked at, not one swapped in since.
        struct stat opened {};
        const bool same = ::fstat(child, &opened) == 0 && opened.st_dev == st.st_dev && opened.st_ino == st.st_ino;
        const bool emptied = same && emptyFolder(child, device, depth + 1);
        ::close(child);
        all = emptied && ::unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0 && all;
    }
    return all;
}

} // namespace

bool removeTree(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(native.constData()) == 0 || errno == ENOENT;
    const int fd = openFolderNoFollow(AT_FDCWD, native.constData());
    if (fd < 0)
        return false;
    struct stat opened {};
    const bool same = ::fstat(fd, &opened) == 0 && opened.st_dev == st.st_dev && opened.st_ino == st.st_ino;
    const bool emptied = same && emptyFolder(fd, st.st_dev, 0);
    ::close(fd);
    return emptied && (::rmdir(native.constData()) == 0 || errno == ENOENT);
}

bool removeTreeIn(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return false;
    return removeTree(folder + QLatin1Char('/') + name);
}
