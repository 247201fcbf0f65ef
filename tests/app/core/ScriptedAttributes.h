// File attributes for tests: the system's answers, changed for the paths a test names
// (CI runs as root, where modes do not refuse anything). Installed while it lives.
#pragma once

#include "platform/foundation/FileAttributes.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <functional>

class ScriptedAttributes : public FileAttributeReader {
public:
    ScriptedAttributes() { FileAttributeReader::setCurrent(this); }
    ~ScriptedAttributes() override { FileAttributeReader::setCurrent(nullptr); }
    bool read(const QString& path, FileAttributes* out) const override
    {
        if (unreadable.contains(path))
            return false;
        const bool ok = FileAttributeReader::read(path, out);
        if (const auto it = changes.find(path); it != changes.end())
            (*it)(*out);
        return ok;
    }
    QHash<QString, std::function<void(FileAttributes&)>> changes;
    QSet<QString> unreadable;
};
