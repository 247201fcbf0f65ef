// File attributes as an ordinary user would see them: the system's answers, with chosen paths
// made unreadable, read-only, immutable or unexaminable. Installed while it lives, then the
// provider before it is back.
#pragma once

#include "tools/dbtools/FileAttributes.h"

#include <QHash>

class FakeFileAttributes : public FileAttributes {
public:
    enum Change { ReadOnly, Unreadable, Immutable, NoAttributes };

    FakeFileAttributes();
    ~FakeFileAttributes() override;

    void set(const QString& path, Change change) { m_changes.insert(path, change); }
    PathAttributes attributes(const QString& path) const override;

private:
    const FileAttributes* m_previous;
    QHash<QString, Change> m_changes;
};
