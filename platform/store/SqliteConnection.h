// One SQLite connection with the options every store connection of this system uses:
// journal mode DELETE (never WAL, which older readers of these stores cannot open) and a
// busy time-out, since a short-lived controller and the main window may hold the same file.
#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

class SqliteConnection {
public:
    static constexpr int kBusyTimeoutMs = 5000;

    SqliteConnection() = default;
    ~SqliteConnection() { close(); }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Opens `path` read-write (created when `create` is set) and applies the pragmas.
    // Answers SQLite's result code (0 = SQLITE_OK); a failed open leaves the object closed.
    int open(const QString& path, bool create);
    // Opens an existing `path` for reading only: nothing is created, converted or written, so no
    // pragma is set. A file that is no database fails at its first statement, not here.
    int openReadOnly(const QString& path);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    // Runs one or more statements without results; answers SQLite's result code.
    int exec(const char* sql, QString* errorText = nullptr);
    QString lastError() const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};

// A prepared statement, finalised when it goes out of scope.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const QByteArray& sql) { prepare(db, sql); }
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept : m_stmt(other.m_stmt) { other.m_stmt = nullptr; }
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    int prepare(sqlite3* db, const QByteArray& sql);
    bool isValid() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }
    // Resets the statement and clears its bindings for the next use.
    void reset();

private:
    sqlite3_stmt* m_stmt = nullptr;
};
