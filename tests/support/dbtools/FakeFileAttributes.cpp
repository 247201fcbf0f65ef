#include "tests/support/dbtools/FakeFileAttributes.h"

FakeFileAttributes::FakeFileAttributes() : m_previous(&FileAttributeReader::current())
{
    FileAttributeReader::setCurrent(this);
}

FakeFileAttributes::~FakeFileAttributes()
{
    FileAttributeReader::setCurrent(m_previous);
}

bool FakeFileAttributes::read(const QString& path, FileAttributes* out) const
{
    const bool ok = FileAttributeReader::read(path, out);
    const auto it = m_changes.find(path);
    if (!ok || it == m_changes.end() || !out->exists)
        return ok;
    switch (*it) {
    case ReadOnly:
        out->writable = false;
        break;
    case Unreadable:
        out->readable = false;
        break;
    case Immutable:
        out->immutable = true;
        break;
    case NoAttributes:
        *out = FileAttributes();
        return false;
    }
    return true;
}
