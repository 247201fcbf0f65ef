// Writing a file into a folder of the user's so that it appears under its name only once it is
// complete: the bytes go to a temporary file ".pelmora-XXXXXX.tmp" in the same folder, which is
// flushed and renamed over the name, with the mode of the file it replaces or a new file's
// (FileModes.h). A link at the name is replaced as a link; its target is never written. The
// temporary file stays locked while it is written, so that the next run can tell the leftovers of
// a killed writer from a write still going on.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Creates and locks a new temporary file in the folder of `path`; its descriptor (-1 on failure)
// and, in `temporary`, its path.
int openLockedTemporary(const QString& path, QByteArray* temporary);

// A file written in pieces to a new temporary file beside `path`, then flushed and renamed over
// it. The disk starts on each piece as soon as it is written, so that the flush at the end waits
// for the last pieces only. The temporary file goes with the object unless it was placed.
class TemporaryWrite {
public:
    explicit TemporaryWrite(const QString& path);
    ~TemporaryWrite();
    TemporaryWrite(const TemporaryWrite&) = delete;
    TemporaryWrite& operator=(const TemporaryWrite&) = delete;

    // The temporary file was made.
    bool isOpen() const { return m_fd >= 0; }
    // Writes the bytes after those before; false when the write fails.
    bool append(QByteArrayView bytes);
    // Makes the file durable and renames it over the path: false (the name as it was, no temporary
    // file left) when any step fails. `crashPointName` names the crash point between the complete
    // temporary file and the rename.
    bool place(const char* crashPointName = nullptr);

private:
    QByteArray m_path;
    QByteArray m_temporary;
    int m_fd = -1;
    qint64 m_size = 0;
    bool m_failed = false;
};

// The whole file at once through a TemporaryWrite: false (and the name as it was, no temporary
// file left) when any step fails.
bool writeThroughTemporary(const QString& path, const QByteArray& bytes, const char* crashPointName = nullptr);

// Gives a file opened with O_TMPFILE, which has no name yet, the name `target`; false, with errno
// EEXIST, when something already holds the name.
bool linkUnnamed(int fd, const char* target);

// Locks such a file and gives it a temporary name beside `path`, as openLockedTemporary makes.
bool linkLockedTemporary(int fd, const QString& path, QByteArray* temporary);

// Removes from `folder` the temporary files that no writer holds any more.
void removeTemporaryLeftovers(const QString& folder);
