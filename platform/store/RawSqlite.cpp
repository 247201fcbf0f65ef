#include "platform/store/RawSqlite.h"

#include <sqlite3.h>

std::optional<RawRows> rawQuery(SqliteConnection& connection, const QString& sql, int* resultCode, QString* errorText)
{
    char** table = nullptr;
    int rows = 0, columns = 0;
    char* message = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = connection.isOpen()
                       ? sqlite3_get_table(connection.handle(), text.constData(), &table, &rows, &columns, &message)
                       : SQLITE_MISUSE;
    if (resultCode)
        *resultCode = rc;
    if (errorText)
        *errorText = message ? QString::fromUtf8(message) : QString();
    sqlite3_free(message);
    if (rc != SQLITE_OK) {
        sqlite3_free_table(table);
        return std::nullopt;
    }
    RawRows result;
    result.reserve(rows);
    for (int r = 1; r <= rows; ++r) {
        RawRow row;
        for (int c = 0; c < columns; ++c) {
            const char* value = table[r * columns + c];
            row.insert(QString::fromUtf8(table[c]), value ? QString::fromUtf8(value) : QString(QLatin1String("")));
        }
        result.append(row);
    }
    sqlite3_free_table(table);
    return result;
}

int rawExec(SqliteConnection& connection, const QString& sql, QString* errorText)
{
    return connection.exec(sql.toUtf8().constData(), errorText);
}
