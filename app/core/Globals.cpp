#include "app/core/Globals.h"

// g_strCurDBPath and g_DBLockFile live beside OpenDatabase, their one writer.
QString g_strCurReadOnlyDBPath;
bool g_bSyncOSJudge = true;
int g_DBPathType = -1;
int g_DBPathTypeBeforeOpen = -1;
