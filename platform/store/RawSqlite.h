// Raw SQL on a store file, for version probes and schema changes, with the results the
// callers expect: every value as UTF-8 text ("" for NULL), one map per row keyed by column name.
#pragma once

#include "platform/store/SqliteConnection.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

using RawRow = QMap<QString, QString>;
using RawRows = QList<RawRow>;

// Runs `sql` on an open connection as sqlite3_get_table does. Answers the rows (empty for no
// rows) and 0 in `resultCode`, or nothing and SQLite's own nonzero code on failure.
std::optional<RawRows> rawQuery(SqliteConnection& connection, const QString& sql, int* resultCode,
                                QString* errorText = nullptr);
// Runs one or more statements without results (sqlite3_exec); answers SQLite's code.
int rawExec(SqliteConnection& connection, const QString& sql, QString* errorText = nullptr);
