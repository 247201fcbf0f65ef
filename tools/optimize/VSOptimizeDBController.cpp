#include "tools/optimize/VSOptimizeDBController.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/foundation/Log.h"
#include "platform/store/DatabaseLayout.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/FolderCopy.h"
#include "tools/optimize/VSCommonFuc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kAttributesUsable = 7;

bool isLink(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool holdsLink(const QString& folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.begin(), entries.end(), [](const QFileInfo& entry) { return entry.isSymLink(); });
}

// Copies a killed run left beside the folder, under a name no backup has. The caller holds the
// database's lock, so no other run is copying this folder now.
void removeUnfinishedBackups(const QString& backupPath)
{
    const QFileInfo backup(backupPath);
    const QString base = backup.completeBaseName();
    const qsizetype bak = base.lastIndexOf(QStringLiteral("_bak"));
    if (bak < 0)
        return;
    const QRegularExpression unfinished(QStringLiteral("^%1_bak\\d*%2\\.incomplete-[0-9a-z]{6}$")
                                            .arg(QRegularExpression::escape(base.left(bak)),
                                                 QRegularExpression::escape(backup.suffix().isEmpty() ? QString() : QLatin1Char('.') + backup.suffix())));
    const QDir parent = backup.dir();
    for (const QString& name : parent.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (unfinished.match(name).hasMatch())
            removeTreeIn(parent.path(), name);
    }
}

} // namespace

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
    const QString path = DatabaseLayout::withoutTrailingSlash(folder);
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
    // A store or card image that is a link would be backed up as the link, not as the data.
    if (isLink(_sqldbFilePath) || holdsLink(DatabaseLayout::imagesFolderPath(folder)))
        return kBackupFailed;
    const QString backupPath = _generateBackupDBPath();
    if (backupPath.isEmpty())
        return kBackupFailed;
    FileAttributes parent;
    if (!readFileAttributes(QFileInfo(backupPath).path(), &parent) || !parent.isDirectory || !parent.writable)
        return kBackupFailed;
    removeUnfinishedBackups(backupPath);
    // The copy gets its backup name only once it is whole: a killed copy never looks like a backup.
    const QString partial = backupPath + QStringLiteral(".incomplete-") + QString::number(::getpid(), 36).rightJustified(6, u'0').right(6);
    if (copyFolderTree(folder, partial, FolderCopyOption::KeepTimes | FolderCopyOption::RemovePartial) != FolderCopyResult::Copied)
        return kBackupFailed;
    crashPoint("optimize-backup-copied");
    if (::renameat2(AT_FDCWD, QFile::encodeName(partial).constData(), AT_FDCWD, QFile::encodeName(backupPath).constData(), RENAME_NOREPLACE) != 0) {
        removeTree(partial);
        return kBackupFailed;
    }
    m_backupPath = backupPath;
    return kSuccess;
}

int VSOptimizeDBController::doOptimizeDB()
{
    if (_sqldbFilePath.isEmpty() || !QFileInfo::exists(_sqldbFilePath))
        return kNoStore;
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    // The shell dies with this tool, in a process group of its own, and holds the folder's lock
    // through the inherited descriptor: nothing writes the store unlocked after a kill.
    const int lock = _ilockFile;
    shell.setChildProcessModifier([lock] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::setpgid(0, 0);
        if (lock >= 0)
            ::fcntl(lock, F_SETFD, 0);
    });
    // Whatever the shell started ends with the run.
    struct GroupEnd {
        pid_t group = 0;
        ~GroupEnd()
        {
            if (group > 0)
                ::kill(-group, SIGKILL);
        }
    } groupEnd;
    shell.start(m_shellPath, {_sqldbFilePath});
    if (!shell.waitForStarted(-1)) {
        PLNSLog(QStringLiteral("Exception: %@"), shell.errorString());
        return kShellFailed;
    }
    groupEnd.group = pid_t(shell.processId());
    crashPoint("optimize-shell-started");
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
