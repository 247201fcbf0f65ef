// Whether a path lies on a local, fixed volume: on the home folder's volume, or on a local file
// system that is not removable media. Network and user-space file systems are not local.
#pragma once

#include <QString>

namespace VolumeCheck {

bool isOnLocalFixedVolume(const QString& path);
// File systems whose data lives on this machine's own devices.
bool isLocalFileSystemType(const QString& fsType);

} // namespace VolumeCheck
