// The cases every writer of the suite meets with its file's mode: a file it replaces keeps its
// own bits whatever the umask; a new one gets what the umask leaves of 0666. A writer that always
// chose one mode passes half of them and fails the others.
#pragma once

#include <QString>

#include <sys/types.h>

struct FileModeCase {
    const char* name;
    bool existing; // a file of `existingMode` is at the name before the write
    mode_t existingMode;
    mode_t umask;
    mode_t expected;
};

inline constexpr FileModeCase kFileModeCases[] = {
    {"an existing 0600 file", true, 0600, 022, 0600},
    {"an existing 0644 file under umask 077", true, 0644, 077, 0644},
    {"a new file under umask 077", false, 0, 077, 0600},
    {"a new file under umask 022", false, 0, 022, 0644},
};

// Sets the process's umask for one scope.
class UmaskScope {
public:
    explicit UmaskScope(mode_t mask);
    ~UmaskScope();
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

private:
    mode_t m_old;
};

// The permission bits of the file at `path` (a link not followed); -1 when nothing is there.
int fileModeOf(const QString& path);

// Puts what the case finds at `path` before the write: a file of its mode holding `bytes`, or
// nothing. False when it could not.
bool prepareFileModeCase(const FileModeCase& c, const QString& path, const QByteArray& bytes = "before");
