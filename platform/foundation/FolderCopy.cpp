#include "platform/foundation/FolderCopy.h"

#include "platform/foundation/TreeRemoval.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace FolderCopy {
namespace {

bool copyTimes(const fs::path& to, const struct stat& st)
{
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    return utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool copyEntry(const fs::path& from, const fs::path& to)
{
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0)
        return false;
    std::error_code ec;
    if (S_ISLNK(st.st_mode)) {
        fs::copy_symlink(from, to, ec);
        return !ec && copyTimes(to, st);
    }
    if (S_ISREG(st.st_mode)) {
        if (!fs::copy_file(from, to, fs::copy_options::none, ec) || ec)
            return false;
        return ::chmod(to.c_str(), st.st_mode & 07777) == 0 && copyTimes(to, st);
    }
    if (!S_ISDIR(st.st_mode))
        return false;
    // Owner access while filling; the folder's own mode and times are set once its content is in.
    if (::mkdir(to.c_str(), 0700) != 0)
        return false;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        if (!copyEntry(it->path(), to / it->path().filename()))
            return false;
    }
    return !ec && ::chmod(to.c_str(), st.st_mode & 07777) == 0 && copyTimes(to, st);
}

} // namespace

bool copyFolderTree(const QString& source, const QString& destination)
{
    const fs::path from(QFile::encodeName(source).toStdString());
    const fs::path to(QFile::encodeName(destination).toStdString());
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // The destination is claimed by creating it, so nothing that was already there is ever removed.
    if (::mkdir(to.c_str(), 0700) != 0)
        return false;
    std::error_code ec;
    bool ok = true;
    for (fs::directory_iterator it(from, ec), end; ok && !ec && it != end; it.increment(ec))
        ok = copyEntry(it->path(), to / it->path().filename());
    ok = ok && !ec && ::chmod(to.c_str(), st.st_mode & 07777) == 0 && copyTimes(to, st);
    if (!ok)
        removeTree(destination);
    return ok;
}

} // namespace FolderCopy
