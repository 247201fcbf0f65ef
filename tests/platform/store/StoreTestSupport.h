#pragma once

#include "platform/store/RawSqlite.h"

#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Answers the single text value of a one-row, one-column query (or "<error>").
inline QString scalar(const QString& storePath, const QString& sql)
{
    SqliteConnection connection;
    if (connection.open(storePath, false) != 0)
        return QStringLiteral("<error>");
    int rc = 0;
    const auto rows = rawQuery(connection, sql, &rc);
    if (!rows || rows->isEmpty())
        return QStringLiteral("<error>");
    return rows->first().first();
}
