// File attributes as an ordinary user would see them: the system's answers, with chosen paths
// made unreadable, read-only, immutable or unexaminable. Installed while it lives, then the
// reader before it is back.
#pragma once

#include "platform/foundation/FileAttributes.h"

#include <QHash>

class FakeFileAttributes : public FileAttributeReader {
public:
    enum Change { ReadOnly, Unreadable, Immutable, NoAttributes };

    FakeFileAttributes();
    ~FakeFileAttributes() override;

    void set(const QString& path, Change change) { m_changes.insert(path, change); }
    bool read(const QString& path, FileAttributes* out) const override;

private:
    const FileAttributeReader* m_previous;
    QHash<QString, Change> m_changes;
};
