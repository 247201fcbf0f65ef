#include "tools/optimize/VSOptimizeDBController.h"

#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Log.h"
#include "tools/dbtools/DatabaseFolder.h"
#include "platform/foundation/FileAttributes.h"
#include "tools/optimize/FolderCopy.h"
#include "tools/optimize/VSCommonFuc.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <sys/stat.h>

namespace {
constexpr int kAttributesUsable = 7;
}

VSOptimizeDBController::VSOptimizeDBController(const QString& storePath) : _sqldbFilePath(storePath) {}

VSOptimizeDBController::~VSOptimizeDBController()
{
    _unlock();
}

QString VSOptimizeDBController::databaseFolder() const
{
    return QFileInfo(_sqldbFilePath).path();
}

int VSOptimizeDBController::run()
{
    int result = _lock();
    if (result == kSuccess)
        result = backup();
    if (result == kSuccess)
        result = doOptimizeDB();
    const int unlocked = _unlock();
    return result != kSuccess ? result : unlocked;
}

bool VSOptimizeDBController::isPathTaken(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 || errno != ENOENT;
}

QString VSOptimizeDBController::generateBackupPath(const QString& folder, const PathTaken& taken)
{
    const QString path = DatabaseFolder::withoutTrailingSlash(folder);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the name (".cxdb") or lies in a parent folder's name is no extension.
    const bool hasExtension = dot > slash + 1;
    const QString base = hasExtension ? path.left(dot) : path;
    const QString extension = hasExtension ? path.mid(dot) : QString();
    for (int number = 0; number <= kMaxBackupNumber; ++number) {
        const QString candidate = base + QStringLiteral("_bak")
            + (number == 0 ? QString() : QString::number(number)) + extension;
        if (!taken(candidate))
            return candidate;
    }
    return QString();
}

QString VSOptimizeDBController::_generateBackupDBPath() const
{
    return generateBackupPath(databaseFolder(), m_pathTaken);
}

int VSOptimizeDBController::backup()
{
    m_backupPath.clear();
    const QString folder = databaseFolder();
    if (VSCommonFuc::CheckDBAttributes(folder) != kAttributesUsable)
        return kBackupFailed;
    const QString backupPath = _generateBackupDBPath();
    if (backupPath.isEmpty())
        return kBackupFailed;
    FileAttributes parent;
    if (!readFileAttributes(QFileInfo(backupPath).path(), &parent) || !parent.isDirectory || !parent.writable)
        return kBackupFailed;
    if (!FolderCopy::copyFolderTree(folder, backupPath))
        return kBackupFailed;
    m_backupPath = backupPath;
    return kSuccess;
}

int VSOptimizeDBController::doOptimizeDB()
{
    if (_sqldbFilePath.isEmpty() || !QFileInfo::exists(_sqldbFilePath))
        return kNoStore;
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(m_shellPath, {_sqldbFilePath});
    if (!shell.waitForStarted(-1)) {
        PLNSLog(QStringLiteral("Exception: %@"), shell.errorString());
        return kShellFailed;
    }
    // A shell that ends before reading its script makes this write fail, not the tool die:
    // QProcess writes without raising SIGPIPE.
    shell.write(kShellScript);
    shell.closeWriteChannel();
    if (!shell.waitForFinished(-1)) {
        PLNSLog(QStringLiteral("Exception: %@"), shell.errorString());
        shell.kill();
        shell.waitForFinished(-1);
        return kShellFailed;
    }
    // A shell that did not take the whole script did not optimise, whatever its status.
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0 || shell.error() == QProcess::WriteError)
        return kShellFailed;
    return kSuccess;
}

int VSOptimizeDBController::_lock()
{
    if (_ilockFile >= 0)
        return kSuccess;
    if (_sqldbFilePath.isEmpty() || !QFileInfo::exists(_sqldbFilePath))
        return kNoStore;
    switch (DatabaseLock::acquire(databaseFolder(), &_ilockFile)) {
    case DatabaseLock::Result::Locked:
        return kSuccess;
    case DatabaseLock::Result::InUse:
        return kInUse;
    case DatabaseLock::Result::OpenFailed:
        break;
    }
    return kLockFailed;
}

int VSOptimizeDBController::_unlock()
{
    if (_ilockFile < 0)
        return kSuccess;
    const bool released = DatabaseLock::release(_ilockFile);
    _ilockFile = -1;
    return released ? kSuccess : kUnlockFailed;
}
