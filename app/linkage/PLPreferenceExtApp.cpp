#include "app/linkage/PLPreferenceExtApp.h"

#include "app/core/Identifiers.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/StringUtilities.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLConfigExtAppSetting.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/workspace/DesktopEntry.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

using namespace extappkey;

namespace {

const QString kListKey = QStringLiteral("Application List");
const QString kPreferenceFileName = QStringLiteral("com.orvane.zor.Pelmora.ExtAppLinkage.plist");
constexpr int kPathBytes = 1024;
constexpr qsizetype kNameUnits = 62;
constexpr qsizetype kDescriptionUnits = 256;
constexpr int kExportContactXML = 1;
constexpr int kExportVCard = 2;
constexpr int kStatusNoSuchRow = -3004;
constexpr int kStatusTooMany = -3008;

QString text(const PlistValue::Dictionary& row, const QString& key)
{
    return row.value(key).toString();
}

QString cleaned(const QString& value)
{
    return StrNullToEmpty(QVariant(value));
}

// The first `units` UTF-16 units, never half of a surrogate pair.
QString cut(const QString& value, qsizetype units)
{
    if (value.size() <= units)
        return value;
    qsizetype end = units;
    if (value.at(end - 1).isHighSurrogate())
        --end;
    return value.left(end);
}

int kindOf(const PlistValue::Dictionary& row)
{
    const PlistValue kind = row.value(kKind);
    return kind.isNumber() ? static_cast<int>(kind.toInteger()) : 0;
}

PlistValue::Dictionary shown(PlistValue::Dictionary row)
{
    if (!row.contains(kIsDisplay))
        row.insert(kIsDisplay, PlistValue(true));
    return row;
}

// A file's own name as the desktop shows it: a desktop entry's Name, else the file name.
QString displayNameOfPath(const QString& path)
{
    DesktopEntry entry;
    if (readDesktopEntry(path, QFileInfo(path).completeBaseName(), entry) && !entry.name.isEmpty())
        return entry.name;
    return QFileInfo(path).fileName();
}

} // namespace

QString PLPreferenceExtApp::defaultPreferenceFilePath()
{
    const QString folder = userConfigDir();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kPreferenceFileName);
}

PLPreferenceExtApp::Row PLPreferenceExtApp::newExtAppInfoPredefinedDic(int kind, const QString& appID, const QString& location,
                                                                       const QString& name, const QString& bundle)
{
    return {{kKind, PlistValue(kind)}, {kID, cleaned(appID)}, {kLocation, cleaned(location)}, {kName, cleaned(name)}, {kBundle, cleaned(bundle)}};
}

PLPreferenceExtApp::Row PLPreferenceExtApp::newExtAppInfoConfigedDic(int kind, const QString& appID, const QString& location, const QString& bundle,
                                                                     const QString& description, const QString& plist,
                                                                     const std::optional<PlistValue>& settings)
{
    Row row{{kKind, PlistValue(kind)}, {kID, cleaned(appID)}, {kLocation, cleaned(location)}, {kDescription, cleaned(description)},
            {kBundle, cleaned(bundle)}, {kPlistLocation, cleaned(plist)}};
    if (settings)
        row.insert(kSettings, *settings);
    return row;
}

PLPreferenceExtApp::Row PLPreferenceExtApp::newExtAppInfoCustomizedDic(int kind, const QString& appID, const QString& location, const QString& name,
                                                                       const QString& description, int exportFileType, bool isDisplay)
{
    return {{kKind, PlistValue(kind)}, {kID, cleaned(appID)}, {kLocation, cleaned(location)}, {kName, cleaned(name)},
            {kDescription, cleaned(description)}, {kExportFileType, PlistValue(exportFileType)}, {kIsDisplay, PlistValue(isDisplay)}};
}

int PLPreferenceExtApp::validateExtAppInfoCommon(const Row& row)
{
    for (const QString& key : {kKind, kExportFileType, kIsDisplay}) {
        if (row.contains(key) && !row.value(key).isNumber())
            return linkage::kWrongType;
    }
    for (const QString& key : {kID, kLocation, kName, kBundle, kPlistLocation, kDescription}) {
        if (row.contains(key) && !row.value(key).isString())
            return linkage::kWrongType;
    }
    return 0;
}

int PLPreferenceExtApp::validateExtAppInfo(const Row& row, Row* newExtAppInfoDic)
{
    if (!newExtAppInfoDic)
        return linkage::kArgument;
    switch (row.value(kKind).isNumber() ? kindOf(row) : 0) {
    case kKindCustomized: return validateExtAppInfoCustomized(row, newExtAppInfoDic);
    case kKindConfiged: return validateExtAppInfoConfiged(row, newExtAppInfoDic);
    case kKindPredefined: return validateExtAppInfoPredefined(row, newExtAppInfoDic);
    default: return linkage::kArgument;
    }
}

int PLPreferenceExtApp::validateExtAppInfoPredefined(const Row& row, Row* newExtAppInfoDic)
{
    int status = validateExtAppInfoCommon(row);
    if (status == 0 && (PLChecker::isBlank(text(row, kID)) || PLChecker::isBlank(text(row, kLocation)) || PLChecker::isBlank(text(row, kBundle))))
        status = linkage::kBlank;
    if (status == 0 && !PLChecker::isValidPathLength(text(row, kLocation), kPathBytes))
        status = linkage::kPathTooLong;
    if (newExtAppInfoDic)
        *newExtAppInfoDic = status == 0 ? shown(row) : row;
    return status;
}

int PLPreferenceExtApp::validateExtAppInfoConfiged(const Row& row, Row* newExtAppInfoDic)
{
    if (const int status = validateExtAppInfoCommon(row))
        return status;
    if (PLChecker::isBlank(text(row, kID)) || PLChecker::isBlank(text(row, kBundle)))
        return linkage::kBlank;
    PlistValue::Dictionary found;
    const int status = PLConfigExtAppList::validateExtAppConfig(
        PlistValue(PLConfigExtAppList::newExtAppDic(text(row, kBundle), text(row, kLocation), text(row, kPlistLocation))), &found);
    if (status == 0 && newExtAppInfoDic) {
        Row normalised = shown(row);
        normalised.insert(kLocation, found.value(kExtAppLocationKey));
        *newExtAppInfoDic = normalised;
    }
    return status;
}

int PLPreferenceExtApp::validateExtAppInfoCustomized(const Row& row, Row* newExtAppInfoDic)
{
    if (const int status = validateExtAppInfoCommon(row))
        return status;
    int status = 0;
    if (PLChecker::isBlank(text(row, kID)) || PLChecker::isBlank(text(row, kLocation)))
        status = linkage::kBlank;
    else if (!PLChecker::isValidPathLength(text(row, kLocation), kPathBytes))
        status = linkage::kPathTooLong;
    if (newExtAppInfoDic) {
        Row normalised = shown(row);
        if (!PLChecker::isBlank(text(row, kName)))
            normalised.insert(kName, cut(text(row, kName), kNameUnits));
        if (!PLChecker::isBlank(text(row, kDescription)))
            normalised.insert(kDescription, cut(text(row, kDescription), kDescriptionUnits));
        const int64_t type = row.value(kExportFileType).toInteger(0);
        normalised.insert(kExportFileType, PlistValue(type == kExportContactXML || type == kExportVCard ? static_cast<int>(type) : kExportVCard));
        *newExtAppInfoDic = normalised;
    }
    return status;
}

QString PLPreferenceExtApp::displayNamePredefApp(const QString& name)
{
    return name == kPluginBundleIdentifier ? getLocalString(QStringLiteral("IDS_PREFERENCES_CLOUD_CONNECT_SALESFORCE")) : QString();
}

QString PLPreferenceExtApp::displayNameConfigedApp(const QString& location, const QString& configPlist)
{
    if (location.isEmpty() || configPlist.isEmpty() || !QFileInfo::exists(location))
        return QString();
    if (!PLChecker::isPathExists(configPlist, PLChecker::kPathFile))
        return displayNameOfPath(location);
    int status = 0;
    const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(configPlist, &status);
    if (!setting)
        return QString();
    QString label = setting->languagesInfoValueForKey(QStringLiteral("Label")).toString();
    if (PLChecker::isBlank(label))
        label = setting->launchInfoValueForKey(QStringLiteral("Label")).toString();
    return PLChecker::isBlank(label) ? displayNameOfPath(location) : label;
}

QIcon PLPreferenceExtApp::iconForAppPath(const QString& path)
{
    QPixmap empty(16, 16);
    empty.fill(Qt::transparent);
    if (!QFileInfo::exists(path))
        return QIcon(empty);
    DesktopEntry entry;
    if (readDesktopEntry(path, QFileInfo(path).completeBaseName(), entry)) {
        const QIcon icon = Workspace::shared().iconForApplication(ApplicationInfo{entry.executable, entry.icon});
        if (!icon.isNull())
            return icon;
    }
    const QIcon byType = Workspace::shared().iconForFileType(QFileInfo(path).suffix());
    if (!byType.isNull())
        return byType;
    // A row without an icon leaves the list at the next start: a program that has none of its
    // own or of its type keeps a blank one.
    const QIcon generic = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    return generic.isNull() ? QIcon(empty) : generic;
}

QIcon PLPreferenceExtApp::iconForPredefApp(const QString& bundle)
{
    if (bundle != kPluginBundleIdentifier)
        return QIcon();
    const QString path = Bundle::main().pathForResource(QStringLiteral("salesforce.png"));
    return path.isEmpty() || !QFileInfo::exists(path) ? QIcon() : QIcon(path);
}

QIcon PLPreferenceExtApp::iconConfigedApp(const QString& location, const QString& configPlist)
{
    if (location.isEmpty() || configPlist.isEmpty() || !QFileInfo::exists(location))
        return QIcon();
    int status = 0;
    const auto setting = PLChecker::isPathExists(configPlist, PLChecker::kPathFile) ? PLConfigExtAppSetting::newCfgExtAppSettingWith(configPlist, &status)
                                                                                     : nullptr;
    const QString icon = setting ? setting->launchInfoValueForKey(QStringLiteral("Icon")).toString().trimmed() : QString();
    // The setting's own icon: a theme icon name or an image file.
    if (!icon.isEmpty()) {
        const QIcon named = Workspace::shared().iconForApplication(ApplicationInfo{location, icon});
        if (!named.isNull())
            return named;
    }
    return iconForAppPath(location);
}

int PLPreferenceExtApp::parse()
{
    if (const int status = PLPropertyFile::parse())
        return status;
    const PlistValue list = valueForKey(kListKey);
    if (list.isNull())
        return 0;
    _extAppInfoList.clear();
    int customized = 0;
    int configed = 0;
    for (const PlistValue& element : list.toArray()) {
        Row row;
        if (!element.isDictionary() || validateExtAppInfo(element.toDictionary(), &row) != 0)
            continue;
        const int kind = kindOf(row);
        if ((kind == kKindCustomized && ++customized > kMaxCustomized) || (kind == kKindConfiged && ++configed > kMaxConfiged))
            continue;
        _extAppInfoList.append(row);
    }
    return 0;
}

int PLPreferenceExtApp::validate()
{
    return 0;
}

int PLPreferenceExtApp::save()
{
    PlistValue::Array rows;
    for (const Row& row : std::as_const(_extAppInfoList))
        rows.append(PlistValue(row));
    std::optional<PlistValue::Dictionary> root = contents();
    if (!root)
        root = PlistValue::Dictionary();
    root->insert(kListKey, PlistValue(rows));
    const std::optional<PlistValue::Dictionary> before = contents();
    setContents(root);
    const int status = PLPropertyFile::save();
    if (status != 0)
        setContents(before);
    return status;
}

std::optional<PLPreferenceExtApp::Row> PLPreferenceExtApp::extAppInfoByID(const QString& appID) const
{
    const int index = indexOfInfoIdenticalTo(appID);
    return index == kNotFound ? std::nullopt : std::optional(_extAppInfoList.at(index));
}

std::optional<PLPreferenceExtApp::Row> PLPreferenceExtApp::extAppInfoAtIndex(int index) const
{
    return index >= 0 && index < _extAppInfoList.size() ? std::optional(_extAppInfoList.at(index)) : std::nullopt;
}

PlistValue PLPreferenceExtApp::valueForKeyByID(const QString& key, const QString& appID) const
{
    const std::optional<Row> row = extAppInfoByID(appID);
    return key.trimmed().isEmpty() || !row ? PlistValue() : row->value(key);
}

PlistValue PLPreferenceExtApp::valueForKeyAtIndex(const QString& key, int index) const
{
    const std::optional<Row> row = extAppInfoAtIndex(index);
    return key.trimmed().isEmpty() || !row ? PlistValue() : row->value(key);
}

int PLPreferenceExtApp::indexOfInfoIdenticalTo(const QString& appID) const
{
    if (PLChecker::isBlank(appID))
        return kNotFound;
    for (qsizetype i = 0; i < _extAppInfoList.size(); ++i) {
        if (text(_extAppInfoList.at(i), kID) == appID)
            return static_cast<int>(i);
    }
    return kNotFound;
}

int PLPreferenceExtApp::indexOfInfoIdenticalTo(const QString& bundle, int appKind) const
{
    if (PLChecker::isBlank(bundle))
        return kNotFound;
    for (qsizetype i = 0; i < _extAppInfoList.size(); ++i) {
        const Row& row = _extAppInfoList.at(i);
        if (text(row, kBundle) == bundle && row.value(kKind).isNumber() && kindOf(row) == appKind)
            return static_cast<int>(i);
    }
    return kNotFound;
}

int PLPreferenceExtApp::addOrUpdExtAppInfo(const Row& row, bool isAtFirstPosIfAdd, QString* outNewAppID)
{
    const int kind = kindOf(row);
    const int index = kind == kKindCustomized ? indexOfInfoIdenticalTo(text(row, kID)) : indexOfInfoIdenticalTo(text(row, kBundle), kind);
    Row normalised;
    if (index != kNotFound) {
        Row updated = _extAppInfoList.at(index);
        for (const QString& key : {kLocation, kPlistLocation, kName, kDescription, kExportFileType, kIsDisplay}) {
            if (row.contains(key))
                updated.insert(key, row.value(key));
        }
        if (const int status = validateExtAppInfo(updated, &normalised))
            return status;
        _extAppInfoList[index] = normalised;
        return 0;
    }
    const QMap<int, int> counts = countOfAppsGroupWithKind();
    if ((kind == kKindConfiged && counts.value(kKindConfiged) >= kMaxConfiged) || (kind == kKindCustomized && counts.value(kKindCustomized) >= kMaxCustomized))
        return kStatusTooMany;
    const QString appID = generateUID();
    if (PLChecker::isBlank(appID))
        return linkage::kBlank;
    if (outNewAppID)
        *outNewAppID = appID;
    Row added = row;
    added.insert(kID, PlistValue(appID));
    if (const int status = validateExtAppInfo(added, &normalised))
        return status;
    if (isAtFirstPosIfAdd)
        _extAppInfoList.prepend(normalised);
    else
        _extAppInfoList.append(normalised);
    return 0;
}

int PLPreferenceExtApp::removeExtAppInfoByID(const QString& appID)
{
    const int index = indexOfInfoIdenticalTo(appID);
    if (index == kNotFound)
        return kStatusNoSuchRow;
    _extAppInfoList.removeAt(index);
    return 0;
}

int PLPreferenceExtApp::removeExtAppInfoAtIndex(int index)
{
    if (index < 0 || index >= _extAppInfoList.size())
        return linkage::kNoPath;
    _extAppInfoList.removeAt(index);
    return 0;
}

bool PLPreferenceExtApp::isExistsAppSettingsAtIndex(int index) const
{
    const std::optional<Row> row = extAppInfoAtIndex(index);
    if (!row || !row->value(kKind).isNumber())
        return false;
    switch (kindOf(*row)) {
    case kKindCustomized: return true;
    case kKindConfiged: {
        int status = 0;
        const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(text(*row, kPlistLocation), &status);
        return setting && setting->isExistsAppSetting();
    }
    case kKindPredefined: return text(*row, kName) == kPluginBundleIdentifier;
    default: return false;
    }
}

QString PLPreferenceExtApp::displayNameForApp(int index) const
{
    const std::optional<Row> row = extAppInfoAtIndex(index);
    if (!row)
        return QString();
    QString name;
    switch (kindOf(*row)) {
    case kKindCustomized: name = text(*row, kName); break;
    case kKindConfiged: name = displayNameConfigedApp(text(*row, kLocation), text(*row, kPlistLocation)); break;
    case kKindPredefined: name = displayNamePredefApp(text(*row, kName)); break;
    default: break;
    }
    return PLChecker::isBlank(name) ? QString() : cut(name, kNameUnits);
}

QIcon PLPreferenceExtApp::iconForApp(int index) const
{
    const std::optional<Row> row = extAppInfoAtIndex(index);
    if (!row)
        return QIcon();
    switch (kindOf(*row)) {
    case kKindCustomized: return iconForAppPath(text(*row, kLocation));
    case kKindConfiged: return iconConfigedApp(text(*row, kLocation), text(*row, kPlistLocation));
    case kKindPredefined: return iconForPredefApp(text(*row, kBundle));
    default: return QIcon();
    }
}

QMap<int, int> PLPreferenceExtApp::countOfAppsGroupWithKind() const
{
    QMap<int, int> counts{{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    for (const Row& row : _extAppInfoList) {
        const int kind = kindOf(row);
        if (counts.contains(kind))
            ++counts[kind];
    }
    return counts;
}

std::optional<PlistValue> PLPreferenceExtApp::extAppSettingsByID(const QString& appID) const
{
    const std::optional<Row> row = extAppInfoByID(appID);
    return row && row->contains(kSettings) ? std::optional(row->value(kSettings)) : std::nullopt;
}
