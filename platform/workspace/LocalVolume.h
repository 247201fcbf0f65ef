// The one test of "a local, fixed volume" that Pelmora and the database tools share: the home
// folder's volume, or a file system that keeps its data on this machine's own disks (an allow-list:
// a file system not known to be native counts as remote) and is not mounted from removable media.
#pragma once

#include <QString>

namespace LocalVolume {

bool isNativeFileSystem(const QString& fileSystemType);

// False when the path's volume cannot be read (a missing path included).
bool isOnLocalFixedVolume(const QString& path);

} // namespace LocalVolume
