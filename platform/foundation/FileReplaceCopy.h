// Copying a file over another without ever losing the one that was there: the copy is written to
// a temporary file in the destination's folder (locked as `openLockedTemporary` does, so that
// `removeTemporaryLeftovers` finds a killed copy's file) and renamed over the destination only once
// it is complete and flushed. Holes of a sparse source stay holes.
#pragma once

#include <QString>

enum class FileReplaceCopyResult {
    Copied,
    CopyFailed, // the source could not be read or the copy written; the destination is as it was
    ReplaceFailed, // the copy was made but could not take the destination's place; the destination is as it was
};

// Copies the regular file `source` (a link to one is followed) to `destination`, replacing a file
// that is there. A replaced file's permission bits stay; a new copy gets the source's under the
// umask. Nothing is left behind on failure.
// `crashPointName` names the crash point between the complete copy and the rename.
FileReplaceCopyResult copyFileReplacing(const QString& source, const QString& destination, const char* crashPointName = nullptr);
