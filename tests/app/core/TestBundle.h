// A main bundle in a temporary folder: Info.plist and the English "Localizable" table as a test sets them.
#pragma once

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"

#include <QDir>
#include <QTemporaryDir>

struct TestBundle {
    QTemporaryDir dir;

    explicit TestBundle(const PlistValue::Dictionary& info = {}, const PlistValue::Dictionary& strings = {})
    {
        QDir(dir.path()).mkpath(QStringLiteral("en"));
        if (!info.isEmpty())
            writePlistFile(dir.filePath(QStringLiteral("Info.plist")), info);
        writePlistFile(dir.filePath(QStringLiteral("en/Localizable.plist")), strings);
        Bundle::setMain(dir.path());
    }
    // Replaces a resource with raw bytes (for malformed files); takes effect with a fresh bundle.
    void writeRaw(const QString& name, const QByteArray& bytes)
    {
        replaceSettingsFile(dir.filePath(name), bytes);
        Bundle::setMain(dir.path());
    }
};
