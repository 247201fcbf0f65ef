// What the database tools need to know of a file or folder: existence, kind, the immutable flag
// and whether this process may read or write it. Replaceable so that tests, which run as root,
// can answer as an ordinary user would.
#pragma once

#include <QString>

struct PathAttributes {
    bool exists = false;
    bool isDirectory = false;
    bool isFile = false;
    bool attributesReadable = false;
    bool immutable = false;
    bool readable = false;
    bool writable = false;
};

class FileAttributes {
public:
    virtual ~FileAttributes() = default;
    virtual PathAttributes attributes(const QString& path) const;
    // Clears the immutable flag; false when it could not be cleared.
    virtual bool clearImmutable(const QString& path) const;

    // The provider in use; `setCurrent(nullptr)` goes back to the system's answers.
    static const FileAttributes& current();
    static void setCurrent(const FileAttributes* provider);
};
