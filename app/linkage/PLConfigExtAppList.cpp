#include "app/linkage/PLConfigExtAppList.h"

#include "app/core/PLChecker.h"
#include "app/linkage/ExtAppLocator.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppSetting.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kExtensionPath = QStringLiteral("/ZOR/Brevix/Pelmora/Extension/");

QString entryText(const PlistValue::Dictionary& entry, const QString& key)
{
    return entry.value(key).toString();
}

// The "FileVersion" of an entry's setting plist; 0 when it cannot be read.
double fileVersion(const PlistValue& entry)
{
    int status = 0;
    const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(entryText(entry.toDictionary(), kExtAppInfoPlistKey), &status);
    return setting ? setting->infoInfoValueForKey(QStringLiteral("FileVersion")).toReal() : 0.0;
}

// The bundle identifier a setting plist's file name gives: the name without its last two extensions.
QString bundleOfFileName(const QString& name)
{
    if (!name.toLower().endsWith(QLatin1String(".plist")))
        return QString();
    QString base = name.left(name.size() - 6);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : base.left(dot);
}

} // namespace

std::optional<PLConfigExtAppList> PLConfigExtAppList::create(const QString& path, int recognizeMode)
{
    if (path.isEmpty() || (recognizeMode != kModeListFile && recognizeMode != kModeFolder))
        return std::nullopt;
    return PLConfigExtAppList(path, recognizeMode);
}

QString PLConfigExtAppList::defaultExtAppExtensionFolder(bool user)
{
    if (user) {
        const QString data = userDataDir();
        return data.isEmpty() ? QString() : data + kExtensionPath;
    }
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share:/usr/share");
    const QString first = dirs.section(QLatin1Char(':'), 0, 0);
    return first.isEmpty() ? QString() : first + kExtensionPath;
}

PlistValue::Dictionary PLConfigExtAppList::newExtAppDic(const QString& bundle, const QString& location, const QString& infoPlist)
{
    return {{kExtAppBundleKey, PlistValue(bundle.isNull() ? QString(QLatin1String("")) : bundle)},
            {kExtAppLocationKey, PlistValue(location.isNull() ? QString(QLatin1String("")) : location)},
            {kExtAppInfoPlistKey, PlistValue(infoPlist.isNull() ? QString(QLatin1String("")) : infoPlist)}};
}

int PLConfigExtAppList::validateExtAppConfig(const PlistValue& entry, PlistValue::Dictionary* newExtAppConfigDic)
{
    if (!entry.isDictionary())
        return linkage::kArgument;
    const PlistValue::Dictionary dic = entry.toDictionary();
    const PlistValue location = dic.value(kExtAppLocationKey);
    if (!dic.value(kExtAppBundleKey).isString() || !dic.value(kExtAppInfoPlistKey).isString() || (!location.isNull() && !location.isString())) {
        PLNSLog(QStringLiteral("Data is not valid.(Identifier, InfoPlist, Location)"));
        return linkage::kBlank;
    }
    const QString bundle = entryText(dic, kExtAppBundleKey);
    const QString infoPlist = entryText(dic, kExtAppInfoPlistKey);
    if (PLChecker::isBlank(bundle) || PLChecker::isBlank(infoPlist)) {
        PLNSLog(QStringLiteral("Data is not valid [Required].(Identifier, InfoPlist)"));
        return linkage::kBlank;
    }
    int status = linkage::kNotMade;
    const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(infoPlist, &status);
    if (!setting)
        return status;
    QString resolved;
    const QString appPath = setting->launchInfoValueForKey(QStringLiteral("AppPath")).toString();
    // The recorded application path is taken only when it is this application's own entry.
    if (!PLChecker::isBlank(appPath) && QFileInfo::exists(appPath) && !isInTrash(appPath)
        && QFileInfo(appPath).completeBaseName() == bundle && QFileInfo(appPath).suffix() == QLatin1String("desktop"))
        resolved = appPath;
    else
        findURL(bundle, location.toString(), &resolved);
    if (resolved.isEmpty()) {
        PLNSLog(QStringLiteral("Not found the application.Identifier:[%@] Location:[%@]"), bundle, location.toString());
        return linkage::kAppNotFound;
    }
    if (newExtAppConfigDic)
        *newExtAppConfigDic = newExtAppDic(bundle, resolved, infoPlist);
    return 0;
}

std::optional<PlistValue::Array> PLConfigExtAppList::findExtAppFromFolder() const
{
    const QDir folder(_fullPath);
    if (!PLChecker::isPathExists(_fullPath, PLChecker::kPathFolder) || !folder.isReadable())
        return std::nullopt;
    PlistValue::Array list;
    // Name order, so that which files make the limit does not depend on the file system.
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString bundle = bundleOfFileName(name);
        if (PLChecker::isBlank(bundle))
            continue;
        PlistValue::Dictionary valid;
        if (validateExtAppConfig(PlistValue(newExtAppDic(bundle, QString(), folder.filePath(name))), &valid) != 0)
            continue;
        if (list.size() == kMaxEntries)
            break;
        list.append(PlistValue(valid));
    }
    return list;
}

int PLConfigExtAppList::parse()
{
    if (_recognizeMode != kModeFolder)
        return linkage::kNoList;
    const std::optional<PlistValue::Array> found = findExtAppFromFolder();
    if (!found)
        return linkage::kNoList;
    _extAppList = *found;
    return 0;
}

int PLConfigExtAppList::validate() const
{
    for (const PlistValue& entry : _extAppList) {
        if (const int status = validateExtAppConfig(entry, nullptr))
            return status;
    }
    return 0;
}

PlistValue::Array PLConfigExtAppList::filterOutNewestCfgExtApp(const PlistValue::Array& entries)
{
    QList<std::optional<PlistValue>> work(entries.begin(), entries.end());
    for (qsizetype i = 0; i < work.size(); ++i) {
        if (!work[i])
            continue;
        const QString bundle = entryText(work[i]->toDictionary(), kExtAppBundleKey);
        for (qsizetype j = i + 1; j < work.size() && work[i]; ++j) {
            if (!work[j] || entryText(work[j]->toDictionary(), kExtAppBundleKey) != bundle)
                continue;
            if (fileVersion(*work[i]) < fileVersion(*work[j]))
                work[i].reset();
            else
                work[j].reset();
        }
    }
    PlistValue::Array newest;
    for (const std::optional<PlistValue>& entry : std::as_const(work)) {
        if (entry)
            newest.append(*entry);
    }
    return newest;
}

std::optional<PlistValue::Array> PLConfigExtAppList::configedExtAppList(int mode)
{
    if (mode != kModeFolder)
        return std::nullopt;
    const auto folderList = [](bool user) -> std::optional<PlistValue::Array> {
        std::optional<PLConfigExtAppList> list = create(defaultExtAppExtensionFolder(user), kModeFolder);
        if (!list || list->parse() != 0)
            return std::nullopt;
        return filterOutNewestCfgExtApp(list->extAppList());
    };
    const std::optional<PlistValue::Array> user = folderList(true);
    const std::optional<PlistValue::Array> local = folderList(false);
    if (!user || !local)
        return user ? user : local;
    PlistValue::Array merged = *user;
    for (const PlistValue& entry : *local) {
        const QString bundle = entryText(entry.toDictionary(), kExtAppBundleKey);
        const auto same = std::find_if(merged.begin(), merged.end(), [&bundle](const PlistValue& kept) {
            return entryText(kept.toDictionary(), kExtAppBundleKey) == bundle;
        });
        if (same != merged.end()) {
            if (fileVersion(entry) > fileVersion(*same))
                *same = entry;
        } else if (merged.size() >= kMaxEntries) {
            break;
        } else {
            merged.append(entry);
        }
    }
    return merged;
}
