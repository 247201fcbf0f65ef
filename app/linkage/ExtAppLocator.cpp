#include "app/linkage/ExtAppLocator.h"

#include "app/core/PLChecker.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/workspace/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString identifierOfEntryFile(const QString& path)
{
    const QFileInfo info(path);
    return info.suffix() == QLatin1String("desktop") ? info.completeBaseName() : QString();
}

} // namespace

bool isInTrash(const QString& path)
{
    const QString trash = QDir::cleanPath(userDataDir() + QStringLiteral("/Trash/files"));
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return clean == trash || clean.startsWith(trash + QLatin1Char('/'));
}

int compareVersions(const QString& left, const QString& right)
{
    const QStringList a = left.split(QLatin1Char('.'));
    const QStringList b = right.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const qlonglong x = a.value(i).trimmed().toLongLong();
        const qlonglong y = b.value(i).trimmed().toLongLong();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

int SSFindApplicationForInfo(const QString& bundleIdentifier, QString* path)
{
    for (const DesktopEntry& entry : desktopEntries()) {
        if (entry.id != bundleIdentifier)
            continue;
        if (isInTrash(entry.filePath))
            return kApplicationNotFound;
        if (path)
            *path = entry.filePath;
        return 0;
    }
    return kApplicationNotFound;
}

bool IsFindExtAppByPath(const QString& path, const QString& bundleIdentifier)
{
    if (PLChecker::isBlank(path) || PLChecker::isBlank(bundleIdentifier) || isInTrash(path))
        return false;
    // An entry recorded for this identifier must still be that application's entry.
    const QString recordedIdentifier = identifierOfEntryFile(path);
    if (!recordedIdentifier.isEmpty() && recordedIdentifier != bundleIdentifier)
        return false;
    QString found;
    if (SSFindApplicationForInfo(bundleIdentifier, &found) != 0)
        return true;
    DesktopEntry recorded;
    DesktopEntry current;
    const QString recordedVersion = readDesktopEntry(path, bundleIdentifier, recorded) ? recorded.version : QString();
    const QString foundVersion = readDesktopEntry(found, bundleIdentifier, current) ? current.version : QString();
    return recordedVersion.isEmpty() || foundVersion.isEmpty() || compareVersions(recordedVersion, foundVersion) >= 0;
}

int findURL(const QString& bundleIdentifier, const QString& recordedPath, QString* url)
{
    if (url)
        url->clear();
    if (IsFindExtAppByPath(recordedPath, bundleIdentifier) && QFileInfo::exists(recordedPath)) {
        if (url)
            *url = recordedPath;
        return 1;
    }
    QString found;
    if (SSFindApplicationForInfo(bundleIdentifier, &found) == 0) {
        if (url)
            *url = found;
        return 2;
    }
    return 0;
}
