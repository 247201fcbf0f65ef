// Whether a package installation is running: a dpkg or apt lock is held, or one of their
// programs is among the running processes.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// 1 when a program whose name is exactly `bundleID` is among `launchedApplications()`, else 0;
// 0 for the empty name, without asking for the list.
int checkAppLaunchingByBundleID(const QString& bundleID, const std::function<QStringList()>& launchedApplications);

// The names of the running processes ("/proc/<pid>/comm"), in the order /proc lists them.
QStringList launchedProcessNames();

// Whether any process holds a lock (POSIX, open-file or flock) on the file at `path`, as
// "/proc/locks" reports it; false for a missing file.
bool isFileLockedByAnyProcess(const QString& path);

bool isPackageInstallerRunning();
