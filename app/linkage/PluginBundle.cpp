#include "app/linkage/PluginBundle.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PlistFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace {

const QString kInfoPlist = QStringLiteral("Contents/Info.plist");
const QString kModuleFolder = QStringLiteral("Contents/Linux");

} // namespace

std::optional<PluginBundle> PluginBundle::bundleWithPath(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return PluginBundle(path);
}

// The module's path when it is a file inside the bundle's module folder, also once links are
// resolved; empty otherwise.
QString PluginBundle::modulePath(const QString& executable) const
{
    if (!isPlainFileName(executable))
        return QString();
    const QString folder = QFileInfo(QDir(m_path).filePath(kModuleFolder)).canonicalFilePath();
    const QFileInfo module(QDir(m_path).filePath(kModuleFolder + QLatin1Char('/') + executable));
    const QString resolved = module.canonicalFilePath();
    if (folder.isEmpty() || resolved.isEmpty() || !QFileInfo(resolved).isFile())
        return QString();
    if (QFileInfo(resolved).absolutePath() != folder)
        return QString();
    return resolved;
}

QString PluginBundle::principalClass()
{
    PlistValue info;
    if (!readPlistFile(QDir(m_path).filePath(kInfoPlist), info) || !info.isDictionary()) {
        PLNSLog(QStringLiteral("The bundle's Info.plist cannot be read: %@"), m_path);
        return QString();
    }
    const QString principal = info.value(QStringLiteral("NSPrincipalClass")).toString();
    const QString module = modulePath(info.value(QStringLiteral("CFBundleExecutable")).toString());
    if (principal.isEmpty() || module.isEmpty()) {
        PLNSLog(QStringLiteral("The bundle names no principal class or no module inside it: %@"), m_path);
        return QString();
    }
    if (!m_handle) {
        m_handle = ::dlopen(QFile::encodeName(module).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            PLNSLog(QStringLiteral("dlopen failed: %@"), QString::fromLocal8Bit(::dlerror()));
            return QString();
        }
    }
    return principal;
}

void* PluginBundle::symbol(const char* name) const
{
    if (!m_handle || !name)
        return nullptr;
    ::dlerror();
    void* address = ::dlsym(m_handle, name);
    if (!address)
        PLNSLog(QStringLiteral("dlsym failed: %@"), QString::fromLocal8Bit(::dlerror()));
    return address;
}
