// Writing a file into a folder of the user's so that it appears under its name only once it is
// complete: the bytes go to a temporary file ".pelmora-XXXXXX.tmp" in the same folder, which is
// flushed and renamed over the name. A link at the name is replaced as a link; its target is
// never written. The temporary file stays locked while it is written, so that the next run can
// tell the leftovers of a killed writer from a write still going on.
#pragma once

#include <QByteArray>
#include <QString>

// Creates and locks a new temporary file in the folder of `path`; its descriptor (-1 on failure)
// and, in `temporary`, its path.
int openLockedTemporary(const QString& path, QByteArray* temporary);

// False (and the name as it was, no temporary file left) when any step fails. `crashPointName`
// names the crash point between the complete temporary file and the rename.
bool writeThroughTemporary(const QString& path, const QByteArray& bytes, const char* crashPointName = nullptr);

// Gives a file opened with O_TMPFILE, which has no name yet, the name `target`; false, with errno
// EEXIST, when something already holds the name.
bool linkUnnamed(int fd, const char* target);

// Locks such a file and gives it a temporary name beside `path`, as openLockedTemporary makes.
bool linkLockedTemporary(int fd, const QString& path, QByteArray* temporary);

// Removes from `folder` the temporary files that no writer holds any more.
void removeTemporaryLeftovers(const QString& folder);
