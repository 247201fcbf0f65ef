// One optimisation run on a store: take the database's lock, copy the folder to a fresh backup
// beside it, compact and reindex the store with the SQLite shell, release the lock.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class VSOptimizeDBController {
public:
    enum Result {
        kSuccess = 0,
        kNoStore = -1,
        kLockFailed = -2,
        kUnlockFailed = -3,
        kShellFailed = -4,
        kInUse = -5,
        kBackupFailed = -6,
    };
    static constexpr int kMaxBackupNumber = 9999;
    inline static const QString kShellPath = QStringLiteral("/usr/bin/sqlite3");
    // "vacuum" without a schema name: current SQLite refuses "vacuum subjects;".
    inline static const QByteArray kShellScript = QByteArrayLiteral("vacuum;\nreindex;\n.quit\n");

    using PathTaken = std::function<bool(const QString&)>;

    // `storePath` is the store file; the database folder is its parent.
    explicit VSOptimizeDBController(const QString& storePath);
    ~VSOptimizeDBController();
    VSOptimizeDBController(const VSOptimizeDBController&) = delete;
    VSOptimizeDBController& operator=(const VSOptimizeDBController&) = delete;

    QString databaseFolder() const;

    // The whole run: lock, backup, optimisation, unlock; the first failure, else the unlock's result.
    int run();
    int backup();
    int doOptimizeDB();
    int _lock();
    int _unlock();
    // The first free backup path beside the folder, or empty when all are taken.
    QString _generateBackupDBPath() const;
    QString backupPath() const { return m_backupPath; }

    // The backup names of `folder` in the order they are tried, the first one free of `taken`.
    static QString generateBackupPath(const QString& folder, const PathTaken& taken);
    // Something (file, folder, link) is at `path`.
    static bool isPathTaken(const QString& path);

    void setPathTaken(PathTaken taken) { m_pathTaken = std::move(taken); }
    void setShellPath(const QString& shellPath) { m_shellPath = shellPath; }

private:
    QString _sqldbFilePath;
    int _ilockFile = -1;
    QString m_backupPath;
    PathTaken m_pathTaken = &VSOptimizeDBController::isPathTaken;
    QString m_shellPath = kShellPath;
};
