#include "platform/workspace/LocalVolume.h"

#include "platform/foundation/StandardPaths.h"
#include "platform/workspace/Workspace.h"

#include <QSet>

namespace LocalVolume {

// Local file systems that hold a user's files on Linux; containers and CI run on overlay or tmpfs.
bool isNativeFileSystem(const QString& fileSystemType)
{
    static const QSet<QString> types{
        QStringLiteral("ext2"), QStringLiteral("ext3"), QStringLiteral("ext4"), QStringLiteral("xfs"),
        QStringLiteral("btrfs"), QStringLiteral("f2fs"), QStringLiteral("jfs"), QStringLiteral("reiserfs"),
        QStringLiteral("zfs"), QStringLiteral("bcachefs"), QStringLiteral("tmpfs"), QStringLiteral("overlay"),
    };
    return types.contains(fileSystemType);
}

bool isOnLocalFixedVolume(const QString& path)
{
    const Workspace& workspace = Workspace::shared();
    const std::optional<VolumeInfo> volume = workspace.volumeInfo(path);
    if (!volume)
        return false;
    const std::optional<VolumeInfo> home = workspace.volumeInfo(userHomeDir());
    if (home && home->mountPoint == volume->mountPoint)
        return true;
    return isNativeFileSystem(volume->fileSystemType) && !workspace.mountedRemovableMedia().contains(volume->mountPoint);
}

} // namespace LocalVolume
