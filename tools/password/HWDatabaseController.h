// The database folder the password tool works on: its checks, its lock and the password file.
#pragma once

#include "tools/dbtools/ToolSqlite.h"

#include <QString>

class HWDatabaseController {
public:
    HWDatabaseController();
    virtual ~HWDatabaseController();
    HWDatabaseController(const HWDatabaseController&) = delete;
    HWDatabaseController& operator=(const HWDatabaseController&) = delete;

    // Keeps the folder and chooses its store ("Pelmora1.sqldb" when present, else "Pelmora.sqldb").
    void setDBPath(const QString& folder);
    QString dbPath() const { return _dbFilePath; }
    bool isHasPassword() const;

    // The checks every operation starts with: 0 or a message number.
    int _CheckBeforeOperation();
    int _lock();
    // Releases a held lock: 0, or 101 when it would not let go. Replaceable for tests of that case.
    virtual int _unlock();

    // 0 or a message number.
    int addPassword(const QString& newPassword);
    int changePassword(const QString& currentPassword, const QString& newPassword);
    int deletePassword(const QString& currentPassword);
    // The last operation wrote or removed the password file, whatever it answered afterwards.
    bool passwordFileChanged() const { return m_passwordFileChanged; }

    bool isDatabaseV53(int* errorCode, const QString& folder) { return m_sqlite.isDatabaseV53(errorCode, folder); }

private:
    // The file holds the digest of `password`: 0, else 305.
    int checkCurrentPassword(const QString& password) const;
    int writePasswordFile(const QString& password);
    // Runs `operation` between the checks and the unlock; the first failure, else the unlock's result.
    template <typename Operation>
    int runOperation(Operation operation);

    QString _dbFilePath;
    int _ilockFile = -1;
    ToolSqlite m_sqlite;
    QString _strSqliteDBName;
    bool m_passwordFileChanged = false;
};
