#include "app/core/DatabaseFolderRecovery.h"

#include "app/core/DatabaseFolder.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kLastNameNumber = 10000; // the migration's name series ends there

bool plainFile(const QString& path, struct stat* st)
{
    return ::lstat(QFile::encodeName(path).constData(), st) == 0 && S_ISREG(st->st_mode);
}

bool anyEntry(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The newest plain file of "<store>_bak", "<store>_bak2" … ; empty when there is none.
QString newestBackup(const QString& store)
{
    QString newest;
    struct timespec newestTime {};
    const QString base = store + QStringLiteral("_bak");
    for (int number = 1; number <= kLastNameNumber; ++number) {
        const QString candidate = number == 1 ? base : base + QString::number(number);
        struct stat st;
        if (!plainFile(candidate, &st))
            continue;
        if (newest.isEmpty() || st.st_mtim.tv_sec > newestTime.tv_sec
            || (st.st_mtim.tv_sec == newestTime.tv_sec && st.st_mtim.tv_nsec >= newestTime.tv_nsec)) {
            newest = candidate;
            newestTime = st.st_mtim;
        }
    }
    return newest;
}

// Gives the backup the store's name as well: a second name, or a copy renamed into place.
bool putBack(const QString& backup, const QString& store)
{
    const QByteArray from = QFile::encodeName(backup);
    const QByteArray to = QFile::encodeName(store);
    if (::link(from.constData(), to.constData()) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    const QString temp = store + QStringLiteral(".restoring");
    QFile::remove(temp);
    if (!QFile::copy(backup, temp))
        return false;
    if (std::rename(QFile::encodeName(temp).constData(), to.constData()) != 0) {
        QFile::remove(temp);
        return false;
    }
    return true;
}

} // namespace

bool DatabaseFolderRecovery::restoreInterruptedStore(const QString& folder)
{
    const QString store1 = folder + QLatin1Char('/') + QLatin1String(kStoreFileName);
    const QString store = folder + QLatin1Char('/') + QLatin1String(kOldStoreFileName);
    if (folder.isEmpty() || anyEntry(store1) || anyEntry(store))
        return false;
    const bool cxdb = QFileInfo(folder).suffix().compare(QLatin1String(kDatabaseExtension), Qt::CaseInsensitive) == 0;
    QString target = store1;
    QString backup = cxdb ? newestBackup(store1) : QString();
    if (backup.isEmpty()) {
        target = store;
        backup = newestBackup(store);
    }
    if (backup.isEmpty())
        return false;
    int lock = -1;
    if (DatabaseLock::acquire(folder, &lock) != DatabaseLock::Result::Locked)
        return false;
    // Looked at again under the lock: another program may have finished the switch meanwhile.
    const bool restored = !anyEntry(store1) && !anyEntry(store) && putBack(backup, target);
    DatabaseLock::release(lock);
    if (restored)
        PLNSLog(QStringLiteral("A store switch had been stopped: the store was put back from %@"), backup);
    return restored;
}
