#include "platform/store/SqliteConnection.h"

#include <QFile>

#include <sqlite3.h>

int SqliteConnection::open(const QString& path, bool create)
{
    close();
    const QByteArray name = QFile::encodeName(path);
    // A store that is a link could make a received folder write into someone's file: refused.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db, 0);
        // Reading the journal mode back also proves the file is a database.
        rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        return rc;
    }
    m_db = db;
    m_path = path;
    return SQLITE_OK;
}

int SqliteConnection::openReadOnly(const QString& path)
{
    close();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        return rc;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 0);
    m_db = db;
    m_path = path;
    return SQLITE_OK;
}

void SqliteConnection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_path.clear();
}

int SqliteConnection::exec(const char* sql, QString* errorText)
{
    if (!m_db)
        return SQLITE_MISUSE;
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (errorText)
        *errorText = message ? QString::fromUtf8(message) : QString();
    sqlite3_free(message);
    return rc;
}

QString SqliteConnection::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

int SqliteStatement::prepare(sqlite3* db, const QByteArray& sql)
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    return sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, nullptr);
}

void SqliteStatement::reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}
