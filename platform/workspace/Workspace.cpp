#include "platform/workspace/Workspace.h"

#include "platform/workspace/DesktopEntry.h"
#include "platform/workspace/DesktopExec.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>

#include <sys/statvfs.h>

namespace {

Workspace* g_shared = nullptr;

std::optional<ApplicationInfo> fromEntry(const DesktopEntry& entry)
{
    if (entry.executable.isEmpty())
        return std::nullopt;
    return ApplicationInfo{entry.executable, entry.icon};
}

// Whether the block device (a disk or one of its partitions) says it is removable.
bool isRemovableDevice(const QString& device)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    const QString sysDir = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (sysDir.isEmpty())
        return false;
    QString flagPath = sysDir + QStringLiteral("/removable");
    if (QFile::exists(sysDir + QStringLiteral("/partition")))
        flagPath = QFileInfo(sysDir).path() + QStringLiteral("/removable");
    QFile flag(flagPath);
    return flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1";
}

} // namespace

Workspace& Workspace::shared()
{
    static Workspace system;
    return g_shared ? *g_shared : system;
}

void Workspace::setShared(Workspace* workspace)
{
    g_shared = workspace;
}

std::optional<ApplicationInfo> Workspace::applicationNamed(const QString& name) const
{
    if (name.isEmpty())
        return std::nullopt;
    for (const DesktopEntry& entry : desktopEntries()) {
        if (entry.name == name)
            return fromEntry(entry);
    }
    if (QDir::isAbsolutePath(name))
        return QFileInfo::exists(name) ? std::optional<ApplicationInfo>(ApplicationInfo{name, {}}) : std::nullopt;
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty())
        return ApplicationInfo{onPath, {}};
    return std::nullopt;
}

std::optional<ApplicationInfo> Workspace::applicationWithIdentifier(const QString& identifier) const
{
    QString id = identifier;
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    if (id.isEmpty())
        return std::nullopt;
    for (const DesktopEntry& entry : desktopEntries()) {
        if (entry.id == id)
            return fromEntry(entry);
    }
    return std::nullopt;
}

QIcon Workspace::iconForApplication(const ApplicationInfo& application) const
{
    if (application.icon.isEmpty())
        return QIcon();
    if (QDir::isAbsolutePath(application.icon))
        return QFileInfo::exists(application.icon) ? QIcon(application.icon) : QIcon();
    return QIcon::fromTheme(application.icon);
}

QIcon Workspace::iconForFileType(const QString& extension) const
{
    if (extension.isEmpty())
        return QIcon();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + extension, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    return icon.isNull() ? QIcon::fromTheme(type.genericIconName()) : icon;
}

bool Workspace::launchApplication(const QString& path, const QStringList& arguments)
{
    return QProcess::startDetached(path, arguments);
}

bool Workspace::openFilesWithApplication(const QString& identifier, const QStringList& paths)
{
    QString id = identifier;
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    for (const DesktopEntry& entry : desktopEntries()) {
        if (entry.id != id)
            continue;
        const QList<QStringList> commands = desktopExecCommands(entry, paths);
        if (commands.isEmpty())
            return false;
        for (const QStringList& command : commands) {
            if (!launchApplication(command.first(), command.mid(1)))
                return false;
        }
        return true;
    }
    return false;
}

bool Workspace::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

std::optional<VolumeInfo> Workspace::volumeInfo(const QString& path) const
{
    struct statvfs fs {};
    if (statvfs(QFile::encodeName(path).constData(), &fs) != 0)
        return std::nullopt;
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return std::nullopt;
    VolumeInfo info;
    info.fileSystemType = QString::fromLatin1(storage.fileSystemType());
    info.mountPoint = storage.rootPath();
    info.device = QString::fromLocal8Bit(storage.device());
    info.freeBytes = static_cast<quint64>(fs.f_bavail) * static_cast<quint64>(fs.f_frsize);
    return info;
}

std::optional<quint64> Workspace::freeBytes(const QString& path) const
{
    struct statvfs fs {};
    if (statvfs(QFile::encodeName(path).constData(), &fs) != 0)
        return std::nullopt;
    return static_cast<quint64>(fs.f_bavail) * static_cast<quint64>(fs.f_frsize);
}

QStringList Workspace::mountedRemovableMedia() const
{
    QStringList mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool desktopMount = root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/"));
        if (desktopMount || isRemovableDevice(QString::fromLocal8Bit(volume.device())))
            mounts.append(root);
    }
    return mounts;
}
