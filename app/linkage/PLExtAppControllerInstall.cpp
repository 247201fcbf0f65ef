// Setting plists of linked applications: installing one opened with the application, and the two
// clean-ups of the user's Extension folder at start-up.
#include "app/linkage/PLExtAppController.h"

#include "app/core/DiskUtilities.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/linkage/ExtAppLocator.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLConfigExtAppSetting.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace extappkey;

namespace {

const QString kListKey = QStringLiteral("Application List");

// The name without its last `count` extensions; empty when it has fewer.
QString withoutExtensions(const QString& name, int count)
{
    QString base = name;
    for (int i = 0; i < count; ++i) {
        const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
        if (dot < 0)
            return QString();
        base.truncate(dot);
    }
    return base;
}

// Every setting plist of the application in the folder is removed.
void removeSettingsOf(const QString& folder, const QString& bundle)
{
    const std::optional<QStringList> names = PLExtAppController::fileNamesUnder(folder, bundle + QStringLiteral(".*.*"), QStringLiteral(".plist"));
    for (const QString& name : names.value_or(QStringList())) {
        if (!QFile::remove(QDir(folder).filePath(name)))
            PLNSLog(QStringLiteral("Failure to remove the old linkage config file.Config File:[%@]"), name);
    }
}

// Why a setting plist was not installed, as the user reads it.
QString refusedBecause(const char* key)
{
    return getLocalString(QString::fromLatin1(key));
}

// A setting plist that does not load: unreadable, or a value of it refused by the validation.
const char* loadRefusal(int status)
{
    switch (status) {
    case linkage::kBlank:
    case linkage::kWrongType:
    case linkage::kTooLong:
    case linkage::kPathTooLong:
        return "IDS_EXTAPP_PLIST_INVALID";
    default:
        return "IDS_EXTAPP_PLIST_UNREADABLE";
    }
}

} // namespace

std::optional<QStringList> PLExtAppController::fileNamesUnder(const QString& folder, const QString& nameFormat, const QString& fileType)
{
    if (folder.isEmpty() || fileType.isEmpty())
        return std::nullopt;
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(nameFormat.isEmpty() ? QStringLiteral("*") : nameFormat,
                                                                                     QRegularExpression::UnanchoredWildcardConversion),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(pattern.pattern()), QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        if (anchored.match(name).hasMatch() && name.endsWith(fileType, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

int PLExtAppController::copyFile(const QString& source, const QString& destination, bool isReplace)
{
    if (source.isEmpty() || destination.isEmpty())
        return linkage::kArgument;
    if (!PLChecker::isPathExists(source, PLChecker::kPathFile))
        return linkage::kMissing;
    const QString folder = QFileInfo(destination).absolutePath();
    if (!PLChecker::makeDirectoryIfNotExists(folder))
        return linkage::kWriteFailed;
    if (checkDiskSize(folder, static_cast<uint64_t>(QFileInfo(source).size())) != 0)
        return linkage::kNoSpace;
    if (QFileInfo::exists(destination) && !isReplace)
        return linkage::kWriteFailed;
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return linkage::kWriteFailed;
    // The destination is replaced in one step, so a failed copy leaves the old file.
    return replaceSettingsFile(destination, file.readAll()) ? 0 : linkage::kWriteFailed;
}

QString PLExtAppController::installExtAppLnkConfigFile(const QString& path, QString* refusal)
{
    const auto refuse = [refusal](const char* key) {
        if (refusal)
            *refusal = refusedBecause(key);
        return QString();
    };
    if (PLChecker::isBlank(path))
        return refuse("IDS_EXTAPP_PLIST_UNREADABLE");
    const QString name = QFileInfo(path).fileName();
    const QString bundle = withoutExtensions(name, 2);
    if (!name.toLower().endsWith(QLatin1String(".plist")) || PLChecker::isBlank(bundle))
        return refuse("IDS_EXTAPP_PLIST_BAD_NAME");
    int status = 0;
    const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(path, &status);
    if (!setting) {
        PLNSLog(QStringLiteral("Failure to load and parse the linkage config file. Config File:[%@]"), path);
        return refuse(loadRefusal(status));
    }
    const int64_t version = setting->infoInfoValueForKey(QStringLiteral("FileVersion")).toInteger();
    if (version < 1) {
        PLNSLog(QStringLiteral("The Specified FileVersion is incorrect. Config File:[%@] FileVersion:[%d]"), path, version);
        return refuse("IDS_EXTAPP_PLIST_OLD_VERSION");
    }
    const QString folder = PLConfigExtAppList::defaultExtAppExtensionFolder(true);
    if (folder.isEmpty())
        return refuse("IDS_EXTAPP_PLIST_NOT_COPIED");
    QString destination = QDir(folder).filePath(name);
    if (!fileNamesUnder(folder, bundle + QStringLiteral(".*.*"), QStringLiteral(".plist")).value_or(QStringList()).isEmpty())
        destination += QStringLiteral(".bak");
    if (const int copied = copyFile(path, destination, true)) {
        PLNSLog(QStringLiteral("Failure to copy the linkage config file. \n From:[%@] \n To:[%@]"), path, destination);
        return refuse(copied == linkage::kNoSpace ? "IDS_EXTAPP_PLIST_NO_SPACE" : "IDS_EXTAPP_PLIST_NOT_COPIED");
    }
    return destination;
}

void PLExtAppController::cleanOldCfgFileIfNewOneExists()
{
    const QString folder = PLConfigExtAppList::defaultExtAppExtensionFolder(true);
    removeTemporaryLeftovers(folder);
    const std::optional<QStringList> pending = fileNamesUnder(folder, QStringLiteral("*.*.*.bak"), QStringLiteral(".plist.bak"));
    for (const QString& name : pending.value_or(QStringList())) {
        const QString bundle = withoutExtensions(name, 3);
        if (PLChecker::isBlank(bundle))
            continue;
        removeSettingsOf(folder, bundle);
        if (!QFile::rename(QDir(folder).filePath(name), QDir(folder).filePath(name.chopped(4))))
            PLNSLog(QStringLiteral("Failure to rename the new linkage config file.Config File:[%@]"), name);
    }
}

bool PLExtAppController::cleanCfgFileIfAppUnInstalled()
{
    const QString folder = QDir::cleanPath(PLConfigExtAppList::defaultExtAppExtensionFolder(true));
    PLPropertyFile preference(PLPreferenceExtApp::defaultPreferenceFilePath());
    if (folder.isEmpty() || preference.parse() != 0)
        return false;
    const PlistValue list = preference.valueForKey(kListKey);
    if (!list.isArray() || list.toArray().isEmpty())
        return false;
    PlistValue::Array rows = list.toArray();
    const qsizetype before = rows.size();
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        const PlistValue row = rows.at(i);
        if (!row.isDictionary() || !row.value(kKind).isNumber())
            return false;
        if (row.value(kKind).toInteger() != PLPreferenceExtApp::kKindConfiged)
            continue;
        if (!row.value(kBundle).isString() || !row.value(kLocation).isString() || !row.value(kPlistLocation).isString())
            return false;
        const QString bundle = row.value(kBundle).toString();
        const QString location = row.value(kLocation).toString();
        // An application that moved is still installed: only one found nowhere is dropped.
        if (QFileInfo::exists(location) || findURL(bundle, location, nullptr) != 0)
            continue;
        const QFileInfo plist(row.value(kPlistLocation).toString());
        const QString plistBundle = withoutExtensions(plist.fileName(), 2);
        if (QDir::cleanPath(plist.absolutePath()) == folder && !PLChecker::isBlank(plistBundle) && plistBundle == bundle)
            removeSettingsOf(folder, bundle);
        rows.removeAt(i);
    }
    if (rows.size() == before)
        return false;
    preference.setValue(PlistValue(rows), kListKey);
    return preference.save() == 0;
}
