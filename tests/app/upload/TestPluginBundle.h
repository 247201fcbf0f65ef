// The upload plug-in's bundle as the application finds it: "Bundles/Quendrel.bundle" in the
// application folder, its Info.plist naming `executable` and the principal class, and a copy of a
// stand-in module (none for an empty path).
#pragma once

#include "platform/foundation/PlistFile.h"

#include <QDir>
#include <QFile>

// The bundle's "Contents" folder.
inline QString installTestPluginBundle(const QString& application, const QString& module,
                                       const QString& executable = QStringLiteral("libQuendrel.so"))
{
    const QString contents = application + QStringLiteral("/Bundles/Quendrel.bundle/Contents");
    QDir(application + QStringLiteral("/Bundles")).removeRecursively();
    QDir().mkpath(contents + QStringLiteral("/Linux"));
    writePlistFile(contents + QStringLiteral("/Info.plist"),
                   PlistValue::Dictionary{{QStringLiteral("CFBundleExecutable"), PlistValue(executable)},
                                          {QStringLiteral("NSPrincipalClass"), PlistValue("BundleController")}});
    if (!module.isEmpty())
        QFile::copy(module, contents + QStringLiteral("/Linux/libQuendrel.so"));
    return contents;
}
