// The main application's plain checks on a card database folder, run before it is opened,
// written to or copied. The folder's names and paths are the suite's one layout (DatabaseLayout).
#pragma once

#include "platform/store/DatabaseLayout.h"

#include <QString>

inline constexpr const char* kDatabaseNameInfoKey = "Database Name";

// Answers of checkDBAttributes.
inline constexpr int kDBAttributesOK = 0;
inline constexpr int kDBAttributesMissing = 1;
inline constexpr int kDBAttributesLocked = 2;
inline constexpr int kDBAttributesNotWritable = 3;
inline constexpr int kDBAttributesUnreadable = -50;

// -50 for no path or unreadable attributes of the folder or of an existing "Images" folder;
// 1 when the folder or its store file is missing; 2 when the folder or an existing "Images" is
// locked; 3 when the folder, an existing store file or an existing "Images" is not writable; else 0.
int checkDBAttributes(const QString& path);

// 1 when another descriptor holds the lock of the lock file at `lockFilePath` (or the existing
// file cannot be opened); 0 for an empty path or a missing file. Creates and removes nothing.
int CheckDBFileLocked(const QString& lockFilePath);

// The messages that refuse a database folder for its lock file.
inline constexpr int kMsgLockFileUnusable = 12; // the database cannot be used
inline constexpr int kMsgLockFileHeld = 17;     // the database is in use by another program
// The message that refuses the database in `folder` for its lock file: kMsgLockFileUnusable when
// something other than a usable lock file stands in its place (a link, a folder), kMsgLockFileHeld
// when another program holds the lock; 0 when it is free.
int lockFileRefusal(const QString& folder);

// True when the folder is given and holds the password file.
bool CheckDBIsNeedPassword(const QString& folder);

// 0 when `path` lies on the home folder's volume or on a local, non-removable volume; else -1.
int pathCheck(const QString& path);

// Removes the folder tree at `path`; false when no folder is there or it could not be removed.
bool cleanFolder(const QString& path);

// Info.plist "Database Name" when it is a string, else "cxdb".
QString getDatabaseSuffix();
