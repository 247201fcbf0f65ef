// Folders of one process in the user's private temporary folder: named by a prefix, the process
// id and an unpredictable ending, so that a later run tells by the id whether the process that
// made one is gone and removes what it left.
#pragma once

#include <QString>

// The prefix of the folders the open-files intake stages arriving files in.
inline constexpr char kStagingFolderPrefix[] = "~plfile";

// A new folder "<prefix><this process's id>-XXXXXX" (mode 0700); empty on failure.
QString makeProcessTempFolder(const QString& prefix);
// Removes this user's folders of `prefix` whose process is gone.
void sweepProcessTempFolders(const QString& prefix);
