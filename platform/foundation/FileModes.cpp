#include "platform/foundation/FileModes.h"

#include "platform/foundation/Descriptor.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The most private mask: a file the suite cannot tell the rule for is left to its owner.
constexpr mode_t kUnknownUmask = 077;

} // namespace

mode_t currentUmask()
{
    const Descriptor fd(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return kUnknownUmask;
    // The line comes second, after the name (at most 64 bytes, escaped up to four times that).
    char text[1024];
    ssize_t size;
    do
        size = ::read(fd.get(), text, sizeof text - 1);
    while (size < 0 && errno == EINTR);
    if (size <= 0)
        return kUnknownUmask;
    text[size] = '\0';
    const char* line = std::strstr(text, "\nUmask:");
    if (!line)
        return kUnknownUmask;
    char* end = nullptr;
    const unsigned long mask = std::strtoul(line + std::strlen("\nUmask:"), &end, 8);
    return end != line + std::strlen("\nUmask:") && mask <= 0777 ? mode_t(mask) : kUnknownUmask;
}

mode_t newFileMode(mode_t requested)
{
    return requested & 0777 & ~currentUmask();
}

mode_t replacingMode(const QByteArray& target, mode_t newMode)
{
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 0777;
    return newMode;
}

bool setReplacingMode(int fd, const QByteArray& target, mode_t newMode)
{
    return ::fchmod(fd, replacingMode(target, newMode)) == 0;
}
