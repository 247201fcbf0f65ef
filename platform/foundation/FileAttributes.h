// The attributes of a file or folder that the checks of database folders look at. The reader
// can be replaced (tests run as root, where modes and flags do not refuse anything).
#pragma once

#include <QString>

struct FileAttributes {
    bool exists = false;
    bool isDirectory = false;
    bool isRegularFile = false;
    bool immutable = false; // the locked flag
    bool writable = false;  // writable by this process
    bool readable = false;  // readable by this process
};

class FileAttributeReader {
public:
    virtual ~FileAttributeReader() = default;
    // False when the item exists but its attributes cannot be read; a missing item is read
    // successfully with `exists` false.
    virtual bool read(const QString& path, FileAttributes* out) const;

    // The reader in use: the system's unless `setCurrent` put another one in place (null restores it).
    static const FileAttributeReader& current();
    static void setCurrent(const FileAttributeReader* reader);
};

inline bool readFileAttributes(const QString& path, FileAttributes* out)
{
    return FileAttributeReader::current().read(path, out);
}

// Clears the locked (immutable) flag of a file, a link never followed; false when it could not
// be cleared. Best effort for removals: when the flag stays, the removal fails and says so.
bool clearImmutableFlag(const QString& path);
