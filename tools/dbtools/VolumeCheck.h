// Whether a path lies on a local, fixed volume: on the home folder's volume, or on a local
// file system whose block device is not removable. Network and user-space file systems are not local.
#pragma once

#include <QByteArray>
#include <QString>

namespace VolumeCheck {

bool isOnLocalFixedVolume(const QString& path);

// The file-system type and source of the mount with device `major:minor` in /proc/self/mountinfo
// text; false when there is none. The last matching line wins, as later mounts hide earlier ones.
bool findMount(const QByteArray& mountInfo, unsigned major, unsigned minor, QString* fsType, QString* source);
// The decision once the type is known; `removable` is the block device's removable flag.
bool isLocalFixedFileSystem(const QString& fsType, bool removable);

} // namespace VolumeCheck
