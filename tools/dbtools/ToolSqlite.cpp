#include "tools/dbtools/ToolSqlite.h"

#include "platform/foundation/Log.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/DbToolCommon.h"

namespace {
const QString kVersionQuery = QStringLiteral("select ZDATABASE_VERSION from ZVERSION;");
const QString kVersionColumn = QStringLiteral("ZDATABASE_VERSION");

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

bool ToolSqlite::isDatabaseV53(int* errorCode, const QString& folder)
{
    if (!DbToolCommon::isPathExists(DatabaseLayout::currentStoreFilePath(folder), DbToolCommon::kFileKind))
        return false;
    const std::optional<RawRows> rows = executeQuery(kVersionQuery, errorCode, folder);
    if (*errorCode != 0 || !rows || rows->isEmpty())
        return false;
    const long long version = leadingInteger(rows->first().value(kVersionColumn));
    if (version >= 3) {
        *errorCode = kNewerDatabase;
        return false;
    }
    return version == 2;
}

std::optional<RawRows> ToolSqlite::executeQuery(const QString& sql, int* errorCode, const QString& folder)
{
    if (DbToolCommon::isBlank(sql))
        return std::nullopt;
    const int opened = openSqlite3DB(folder);
    if (opened != 0) {
        *errorCode = opened;
        return std::nullopt;
    }
    int rc = 0;
    std::optional<RawRows> result = rawQuery(_sqlite3DB, sql, &rc);
    if (!result) {
        PLNSLog(QStringLiteral("sqlite3_get_table error! SQL:[%@] error code:[%d]"), sql, rc);
        *errorCode = kQueryFailed;
    }
    closeSqlite3DB();
    return result;
}

int ToolSqlite::openSqlite3DB(const QString& folder)
{
    if (_sqlite3DB.isOpen())
        return 0;
    const QString storePath = _strSqliteDBName.isEmpty() ? DatabaseLayout::storeFilePath(folder)
                                                         : folder + QLatin1Char('/') + _strSqliteDBName;
    if (!DbToolCommon::isPathExists(storePath, DbToolCommon::kFileKind)) {
        PLNSLog(QStringLiteral("Database file does not exist.[%@]"), storePath);
        return kStoreMissing;
    }
    // Read-only: the tools only ask; opening must never create or convert a file.
    if (_sqlite3DB.openReadOnly(storePath) != 0) {
        PLNSLog(QStringLiteral("Open Database failed.[%@]"), storePath);
        return kOpenFailed;
    }
    return 0;
}

int ToolSqlite::closeSqlite3DB()
{
    _sqlite3DB.close();
    return 0;
}
