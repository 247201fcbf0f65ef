#include "tools/dbtools/VolumeCheck.h"

#include "platform/foundation/StandardPaths.h"
#include "platform/workspace/Workspace.h"

#include <QStringList>

namespace VolumeCheck {

bool isLocalFileSystemType(const QString& fsType)
{
    static const QStringList remoteTypes{
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("afs"), QStringLiteral("ceph"),
        QStringLiteral("9p"), QStringLiteral("glusterfs"), QStringLiteral("lustre"), QStringLiteral("davfs"),
        QStringLiteral("fuse"), QStringLiteral("fuseblk")};
    return !fsType.isEmpty() && !remoteTypes.contains(fsType) && !fsType.startsWith(QLatin1String("fuse."));
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
    if (!isLocalFileSystemType(volume->fileSystemType))
        return false;
    return !workspace.mountedRemovableMedia().contains(volume->mountPoint);
}

} // namespace VolumeCheck
