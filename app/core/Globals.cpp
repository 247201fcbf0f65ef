#include "app/core/Globals.h"

QString g_strCurDBPath;
QString g_strCurReadOnlyDBPath;
bool g_bSyncOSJudge = true;
int g_DBPathType = -1;
int g_DBPathTypeBeforeOpen = -1;
int g_DBLockFile = -1;
