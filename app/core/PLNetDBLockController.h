// The open mode and the shared-volume lock queries. No shared-volume lock exists on this system:
// the queries answer constants that callers read as "no such lock in force"; only the open mode
// is state (0 at start, 2 once a database has been switched to or its version read).
#pragma once

#include <QDateTime>
#include <QString>

class PLNetDBLockController {
public:
    static constexpr int kOpenModeNone = 0;
    static constexpr int kOpenModeReadOnly = 1;
    static constexpr int kOpenModeOpened = 2;
    static constexpr int kDBPathTypeLocal = 3;
    static constexpr int kNetLockNone = 10;

    static int dbOpenMode();
    static void setDbOpenMode(int mode);

    static int GetDBPathType(const QString&) { return kDBPathTypeLocal; }
    static int GetNetLockStatus(const QString&) { return 0; }
    static int LockDBForNet(const QString&) { return kNetLockNone; }
    static int UnLockDBForNet(const QString&) { return kNetLockNone; }
    static bool DBUpdatedByOtherUser(const QString&) { return false; }
    static bool setUpdateDateInVerTable(const QString&, const QDateTime&) { return true; }
    static QDateTime getUpdateDateInVerTable(const QString&) { return {}; }
    // The callers show their own messages.
    static bool ShowErrorMessageByPathType() { return false; }
    static bool ShowErrorMessageAlertSheetByPathType(void*) { return false; }
    static bool ShowErrorMessageByPathType_BeforeOpen() { return false; }
    static void ReleaseGlobal() {}
};
