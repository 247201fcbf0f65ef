#include "tools/services/MimeDefaults.h"

#include "platform/foundation/PlistFile.h"
#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kDefaultGroup = QStringLiteral("[Default Applications]");
const QString kAddedGroup = QStringLiteral("[Added Associations]");
const QString kRemovedGroup = QStringLiteral("[Removed Associations]");
const QString kCacheGroup = QStringLiteral("[MIME Cache]");
const QString kEntryGroup = QStringLiteral("[Desktop Entry]");
const QString kMimeTypeKey = QStringLiteral("MimeType");
const QString kListFileName = QStringLiteral("mimeapps.list");
const QString kCacheFileName = QStringLiteral("mimeinfo.cache");

QStringList folderList(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList applicationDirs()
{
    QStringList dirs{userDataDir() + QStringLiteral("/applications")};
    for (const QString& dir : folderList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        dirs.append(dir + QStringLiteral("/applications"));
    return dirs;
}

// The mimeapps.list files in the order they count: the desktop's own before the common one,
// the user's configuration, the system's, then the data folders.
QStringList mimeappsLists()
{
    QStringList prefixes;
    for (const QString& desktop : folderList("XDG_CURRENT_DESKTOP", QString()))
        prefixes.append(desktop.toLower() + QLatin1Char('-'));
    prefixes.append(QString());
    const QStringList folders =
        QStringList{userConfigDir()} + folderList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")) + applicationDirs();
    QStringList lists;
    for (const QString& folder : folders) {
        for (const QString& prefix : prefixes)
            lists.append(folder + QLatin1Char('/') + prefix + kListFileName);
    }
    return lists;
}

// The ";"-separated values of `key` in `group` of a desktop-style file, in order.
QStringList listedValues(const QString& path, const QString& group, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == group;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    return {};
}

bool isInstalled(const QString& id)
{
    for (const QString& dir : applicationDirs()) {
        if (QFileInfo(dir + QLatin1Char('/') + id).isFile())
            return true;
    }
    return false;
}

// The applications a data folder associates with the type: its cache when it has one, else
// its entries' own MimeType lists, by name.
QStringList folderAssociations(const QString& dir, const QString& mimeType)
{
    const QString cache = dir + QLatin1Char('/') + kCacheFileName;
    if (QFileInfo::exists(cache))
        return listedValues(cache, kCacheGroup, mimeType);
    QStringList ids;
    for (const QString& id : QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name)) {
        if (listedValues(dir + QLatin1Char('/') + id, kEntryGroup, kMimeTypeKey).contains(mimeType))
            ids.append(id);
    }
    return ids;
}

// Sets `mimeType`'s line in the "Default Applications" group of the lines of a mimeapps.list,
// adding the group when the file has none.
void setDefaultLine(QStringList* lines, const QString& mimeType, const QString& id)
{
    const QString line = mimeType + QLatin1Char('=') + id + QLatin1Char(';');
    const qsizetype group = lines->indexOf(kDefaultGroup);
    if (group < 0) {
        if (!lines->isEmpty() && !lines->last().trimmed().isEmpty())
            lines->append(QString());
        *lines << kDefaultGroup << line;
        return;
    }
    qsizetype last = group; // the group's last line that is not blank
    for (qsizetype i = group + 1; i < lines->size() && !lines->at(i).trimmed().startsWith(QLatin1Char('[')); ++i) {
        const qsizetype eq = lines->at(i).indexOf(QLatin1Char('='));
        if (eq > 0 && lines->at(i).left(eq).trimmed() == mimeType) {
            (*lines)[i] = line;
            return;
        }
        if (!lines->at(i).trimmed().isEmpty())
            last = i;
    }
    lines->insert(last + 1, line);
}

} // namespace

QString chosenDefaultApplication(const QString& mimeType)
{
    for (const QString& list : mimeappsLists()) {
        for (const QString& id : listedValues(list, kDefaultGroup, mimeType)) {
            if (isInstalled(id))
                return id;
        }
    }
    return {};
}

QString associatedApplication(const QString& mimeType, const QString& excludedId)
{
    QStringList removed;
    QStringList candidates;
    for (const QString& list : mimeappsLists()) {
        removed += listedValues(list, kRemovedGroup, mimeType);
        candidates += listedValues(list, kAddedGroup, mimeType);
    }
    for (const QString& dir : applicationDirs())
        candidates += folderAssociations(dir, mimeType);
    for (const QString& id : std::as_const(candidates)) {
        if (id != excludedId && !removed.contains(id) && isInstalled(id))
            return id;
    }
    return {};
}

bool keepDefaultApplications(const QStringList& mimeTypes, const QString& ownId)
{
    const QString path = userConfigDir() + QLatin1Char('/') + kListFileName;
    QFile file(path);
    QStringList lines;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        file.close();
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    bool changed = false;
    for (const QString& mimeType : mimeTypes) {
        if (!chosenDefaultApplication(mimeType).isEmpty())
            continue;
        const QString current = associatedApplication(mimeType, ownId);
        if (current.isEmpty())
            continue;
        setDefaultLine(&lines, mimeType, current);
        changed = true;
    }
    if (!changed)
        return true;
    return QDir().mkpath(userConfigDir()) && replaceSettingsFile(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}
