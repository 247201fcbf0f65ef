#include "tools/dbtools/ToolSqlite.h"

#include "platform/foundation/Log.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/DbToolCommon.h"

#include <QFile>

#include <sqlite3.h>

namespace {
const QString kVersionQuery = QStringLiteral("select ZDATABASE_VERSION from ZVERSION;");
const QString kVersionColumn = QStringLiteral("ZDATABASE_VERSION");
constexpr int kBusyTimeoutMs = 3000;

// Leading decimal integer of a text, so that "2" and "2.0" both read as 2.
long long leadingInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == QLatin1Char('-') || trimmed[end] == QLatin1Char('+')))
        ++end;
    while (end < trimmed.size() && trimmed[end].isDigit() && trimmed[end].unicode() < 0x80)
        ++end;
    bool ok = false;
    const long long value = trimmed.left(end).toLongLong(&ok);
    return ok ? value : 0;
}
} // namespace

ToolSqlite::ToolSqlite(const QString& storeName) : _strSqliteDBName(storeName) {}

ToolSqlite::~ToolSqlite()
{
    closeSqlite3DB();
}

bool ToolSqlite::isDatabaseV53(int* errorCode, const QString& folder)
{
    if (!DbToolCommon::isPathExists(folder + QLatin1Char('/') + DatabaseFolder::kStoreFileName, DbToolCommon::kFileKind))
        return false;
    const std::optional<QList<Row>> rows = executeQuery(kVersionQuery, errorCode, folder);
    if (*errorCode != 0 || !rows || rows->isEmpty())
        return false;
    const long long version = leadingInteger(rows->first().value(kVersionColumn));
    if (version >= 3) {
        *errorCode = kNewerDatabase;
        return false;
    }
    return version == 2;
}

std::optional<QList<ToolSqlite::Row>> ToolSqlite::executeQuery(const QString& sql, int* errorCode, const QString& folder)
{
    if (DbToolCommon::isBlank(sql))
        return std::nullopt;
    const int opened = openSqlite3DB(folder);
    if (opened != 0) {
        *errorCode = opened;
        return std::nullopt;
    }
    char** table = nullptr;
    int rowCount = 0;
    int columnCount = 0;
    char* message = nullptr;
    const int rc = sqlite3_get_table(_sqlite3DB, sql.toUtf8().constData(), &table, &rowCount, &columnCount, &message);
    sqlite3_free(message);
    std::optional<QList<Row>> result;
    if (rc != SQLITE_OK) {
        PLNSLog(QStringLiteral("sqlite3_get_table error! SQL:[%@] error code:[%d]"), sql, rc);
        *errorCode = kQueryFailed;
    } else {
        result.emplace();
        for (int r = 1; r <= rowCount; ++r) {
            Row row;
            for (int c = 0; c < columnCount; ++c) {
                const char* name = table[c];
                const char* value = table[r * columnCount + c];
                row.insert(name ? QString::fromUtf8(name) : QString(), value ? QString::fromUtf8(value) : QString());
            }
            result->append(row);
        }
    }
    sqlite3_free_table(table);
    closeSqlite3DB();
    return result;
}

int ToolSqlite::openSqlite3DB(const QString& folder)
{
    if (_sqlite3DB)
        return 0;
    const QString storeName = _strSqliteDBName.isEmpty() ? DatabaseFolder::storeFileName(folder) : _strSqliteDBName;
    const QString storePath = folder + QLatin1Char('/') + storeName;
    if (!DbToolCommon::isPathExists(storePath, DbToolCommon::kFileKind)) {
        PLNSLog(QStringLiteral("Database file does not exist.[%@]"), storePath);
        return kStoreMissing;
    }
    // Read-only: the tools only ask; opening must never create or convert a file.
    if (sqlite3_open_v2(QFile::encodeName(storePath).constData(), &_sqlite3DB, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, nullptr) != SQLITE_OK) {
        PLNSLog(QStringLiteral("Open Database failed.[%@]"), storePath);
        sqlite3_close(_sqlite3DB);
        _sqlite3DB = nullptr;
        return kOpenFailed;
    }
    sqlite3_busy_timeout(_sqlite3DB, kBusyTimeoutMs);
    return 0;
}

int ToolSqlite::closeSqlite3DB()
{
    if (_sqlite3DB) {
        sqlite3_close(_sqlite3DB);
        _sqlite3DB = nullptr;
    }
    return 0;
}
