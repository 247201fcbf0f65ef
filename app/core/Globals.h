// Process-wide state of the main application, set during start-up and by the database switch.
// Main thread only, except g_strCurDBPath, which the migration's worker reads while the main
// thread waits for it.
#pragma once

#include <QString>

// Folder of the open card database; empty when none. Changed in place, never replaced.
extern QString g_strCurDBPath;
// Folder used while a database is open read-only (open mode 1); no operation sets it.
extern QString g_strCurReadOnlyDBPath;
// Info.plist "PLSyncOSJudge": a card needs a person's name (not only a company) to get a syncID.
extern bool g_bSyncOSJudge;
// Path type of the open database, -1 until one is recorded; stored as "DB type" at quit.
extern int g_DBPathType;
// Path type of a database being opened; -1 when none.
extern int g_DBPathTypeBeforeOpen;
// Descriptor of the open database's lock file; -1 when none.
extern int g_DBLockFile;
