// Reading and replacing the small files a program keeps in a folder that may come from someone
// else (a database folder): never through a symbolic link, never anything but a plain file.
#pragma once

#include <QByteArray>
#include <QString>

// Writes all of `bytes` to `fd`, going on after interrupted or short writes; false on a failed write.
bool writeAll(int fd, const QByteArray& bytes);

// Whether something, a link included, is at `path` (the link itself is looked at, not its target).
bool entryExists(const QString& path);

// Reads a plain file of at most `maxBytes`; false for a link, a folder, a device, a larger file
// or an unreadable one.
bool readPlainFile(const QString& path, QByteArray* out, qint64 maxBytes);

// Replaces the file at `path` by a new one holding `bytes`: written to `path` followed by ".XXXXXX"
// (unpredictable), flushed, then renamed over `path`: a reader sees the old bytes or the new ones.
// An existing plain file's mode is kept; a new file gets what the umask leaves of 0666. False (and `path` as it was) when
// `path` is there but not a plain file (a link is never written through), or any step fails.
bool replacePlainFile(const QString& path, const QByteArray& bytes);
