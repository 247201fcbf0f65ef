// Process-wide state of the main application, set during start-up and by the database switch.
// Main thread only, except g_strCurDBPath, which a worker may read while the main thread waits
// for it.
#pragma once

#include <QString>

// Folder of the open (or, at start-up, the chosen) card database; empty when none. A read-only
// copy of OpenDatabase::folder(), which alone changes it.
extern const QString& g_strCurDBPath;
// Folder used while a database is open read-only (open mode 1); no operation sets it.
extern QString g_strCurReadOnlyDBPath;
// Info.plist "PLSyncOSJudge": a card needs a person's name (not only a company) to get a syncID.
extern bool g_bSyncOSJudge;
// Path type of the open database, -1 until one is recorded; stored as "DB type" at quit.
extern int g_DBPathType;
// Path type of a database being opened; -1 when none.
extern int g_DBPathTypeBeforeOpen;
// Descriptor of the open database's lock file; -1 when none. A read-only copy of
// OpenDatabase::lockDescriptor().
extern const int& g_DBLockFile;
