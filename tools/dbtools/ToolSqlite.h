// The database tools' SQLite access: the store opened read-only for each query and closed after
// it, rows handed back as texts keyed by column name.
#pragma once

#include "platform/store/RawSqlite.h"
#include "platform/store/SqliteConnection.h"

#include <QString>

#include <optional>

class ToolSqlite {
public:
    enum Code {
        kStoreMissing = -1004,
        kOpenFailed = -1009,
        kQueryFailed = -1013,
        kNewerDatabase = -1015,
    };

    // `storeName` empty: the store is chosen at each open ("Pelmora1.sqldb" when present, else "Pelmora.sqldb").
    explicit ToolSqlite(const QString& storeName = QString()) : _strSqliteDBName(storeName) {}

    void setStoreName(const QString& storeName) { _strSqliteDBName = storeName; }

    // True when the store's database version is 2; a version of 3 or more sets kNewerDatabase.
    // Only a folder with "Pelmora1.sqldb" is asked; an older store answers false without error.
    bool isDatabaseV53(int* errorCode, const QString& folder);
    // The rows of `sql`; nothing on failure (with `*errorCode` set) or for a blank statement.
    std::optional<RawRows> executeQuery(const QString& sql, int* errorCode, const QString& folder);
    int openSqlite3DB(const QString& folder);
    int closeSqlite3DB();

private:
    SqliteConnection _sqlite3DB;
    QString _strSqliteDBName;
};
