#include "tests/support/dbtools/FakeFileAttributes.h"

FakeFileAttributes::FakeFileAttributes() : m_previous(&FileAttributes::current())
{
    FileAttributes::setCurrent(this);
}

FakeFileAttributes::~FakeFileAttributes()
{
    FileAttributes::setCurrent(m_previous);
}

PathAttributes FakeFileAttributes::attributes(const QString& path) const
{
    PathAttributes result = FileAttributes::attributes(path);
    const auto it = m_changes.find(path);
    if (it == m_changes.end() || !result.exists)
        return result;
    switch (*it) {
    case ReadOnly:
        result.writable = false;
        break;
    case Unreadable:
        result.readable = false;
        break;
    case Immutable:
        result.immutable = true;
        break;
    case NoAttributes:
        result.attributesReadable = false;
        break;
    }
    return result;
}
