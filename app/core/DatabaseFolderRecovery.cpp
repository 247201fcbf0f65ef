#include "app/core/DatabaseFolderRecovery.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/ProcessTempFolder.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/store/RawSqlite.h"
#include "platform/store/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <optional>
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

// Work files in the database folder: migration copies and their journals, build folders, the
// restore's copy, and half-written password files.
const QRegularExpression& workFileNames()
{
    static const QRegularExpression names(QStringLiteral(
        "^(Pelmora1\\.sqldb_work\\d*(-journal)?|Pelmora_bk\\.sqldb(-journal)?|\\.PLMigration-[A-Za-z0-9]{6}"
        "|Pelmora1\\.sqldb\\.restoring|Pelmora\\.CFG\\.[A-Za-z0-9]{6})$"));
    return names;
}

// Card images as imports and migrations name them, and the half-written copies of those.
const QRegularExpression& cardImageNames()
{
    static const QRegularExpression names(QStringLiteral(
        "^([0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}_N[12]\\.pdf)(\\.[A-Za-z0-9]{6})?$"));
    return names;
}

// The image names the store's cards use; nothing when the store cannot be read.
std::optional<QSet<QString>> namedImages(const QString& store)
{
    SqliteConnection connection;
    if (connection.open(store, false) != 0)
        return std::nullopt;
    int code = 0;
    const std::optional<RawRows> rows = rawQuery(connection, QStringLiteral("select ZFACE_IMAGE_FILE, ZBACK_IMAGE_FILE from ZCARD;"), &code);
    if (!rows)
        return std::nullopt;
    QSet<QString> names;
    for (const RawRow& row : *rows) {
        names.insert(row.value(QStringLiteral("ZFACE_IMAGE_FILE")));
        names.insert(row.value(QStringLiteral("ZBACK_IMAGE_FILE")));
    }
    return names;
}

} // namespace

void DatabaseFolderRecovery::sweepLeftovers(const QString& folder)
{
    if (folder.isEmpty())
        return;
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& name : QDir(folder).entryList(all)) {
        if (workFileNames().match(name).hasMatch() && removeTreeIn(folder, name))
            PLNSLog(QStringLiteral("Removed the leftover %@"), name);
    }
    const QString images = DatabaseLayout::imagesFolderPath(folder);
    const std::optional<QSet<QString>> named = namedImages(DatabaseLayout::currentStoreFilePath(folder));
    // An "Images" that is a link leads out of the database: nothing there is this database's.
    if (named && isLinkFreeInside(images, folder)) {
        for (const QString& name : QDir(images).entryList(all)) {
            const QRegularExpressionMatch match = cardImageNames().match(name);
            const bool halfWritten = match.hasMatch() && !match.captured(2).isEmpty();
            if (match.hasMatch() && (halfWritten || !named->contains(match.captured(1))) && removeTreeIn(images, name))
                PLNSLog(QStringLiteral("Removed the card image no card names %@"), name);
        }
    }
    sweepProcessTempFolders(QString::fromLatin1(kStagingFolderPrefix));
}

bool DatabaseFolderRecovery::restoreInterruptedStore(const QString& folder)
{
    const QString store1 = DatabaseLayout::currentStoreFilePath(folder);
    const QString store = folder + QLatin1Char('/') + QLatin1String(DatabaseLayout::kOldStoreFileName);
    if (folder.isEmpty() || anyEntry(store1) || anyEntry(store))
        return false;
    const bool cxdb = DatabaseLayout::hasDatabaseExtension(folder);
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
