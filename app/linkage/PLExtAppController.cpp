#include "app/linkage/PLExtAppController.h"

#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLConfigExtAppSetting.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>

using namespace extappkey;

namespace {

std::unique_ptr<PLExtAppController> g_sharedController;
constexpr int kStatusPrepareFailed = -3002;

} // namespace

PLExtAppController* PLExtAppController::sharedController()
{
    if (!g_sharedController) {
        auto controller = std::make_unique<PLExtAppController>(true);
        if (controller->preparePreference() != 0)
            return nullptr;
        g_sharedController = std::move(controller);
    }
    return g_sharedController.get();
}

void PLExtAppController::resetSharedController()
{
    g_sharedController.reset();
}

QList<PLExtAppInfoForm> PLExtAppController::defaultSortedExtAppInfoFormList(QList<PLExtAppInfoForm> forms)
{
    QCollator collator;
    std::stable_sort(forms.begin(), forms.end(), [&collator](const PLExtAppInfoForm& a, const PLExtAppInfoForm& b) {
        if (a.appType != b.appType)
            return a.appType < b.appType;
        return collator.compare(a.appName, b.appName) < 0;
    });
    return forms;
}

PLExtAppController::PLExtAppController(bool recognize)
    : _preferenceExtAppObject(std::make_unique<PLPreferenceExtApp>(PLPreferenceExtApp::defaultPreferenceFilePath())),
      _isRecognizeExtAppCfg(recognize)
{
}

int PLExtAppController::preparePreference()
{
    if (!_preferenceExtAppObject)
        return linkage::kArgument;
    const int parsed = _preferenceExtAppObject->parse();
    _isFirstPreparedInfo = !_preferenceExtAppObject->isExistsExtAppInfo();
    bool merged = false;
    const bool merging = _isRecognizeExtAppCfg;
    if (merging) {
        merged = addOrUpdConfigedApps() == 0;
        _isRecognizeExtAppCfg = false;
    }
    const int plugin = addOrUpdQuendrelApp();
    return (parsed != 0 && (!merging || !merged) && plugin != 0) ? kStatusPrepareFailed : 0;
}

int PLExtAppController::reloadPreference()
{
    _preferenceExtAppObject = std::make_unique<PLPreferenceExtApp>(PLPreferenceExtApp::defaultPreferenceFilePath());
    return preparePreference();
}

int PLExtAppController::addOrUpdConfigedApps()
{
    const std::optional<PlistValue::Array> entries = PLConfigExtAppList::configedExtAppList(PLConfigExtAppList::kModeFolder);
    if (!entries || entries->isEmpty())
        return linkage::kNoList;
    struct Named {
        PlistValue::Dictionary entry;
        QString name;
        QString description;
    };
    QList<Named> named;
    int status = 0;
    for (qsizetype i = entries->size() - 1; i >= 0; --i) {
        const PlistValue::Dictionary entry = entries->at(i).toDictionary();
        const QString plist = entry.value(kExtAppInfoPlistKey).toString();
        const QString location = entry.value(kExtAppLocationKey).toString();
        const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(plist, &status);
        if (!setting)
            continue;
        const QString name = PLPreferenceExtApp::displayNameConfigedApp(location, plist);
        if (!name.isEmpty() && !PLPreferenceExtApp::iconConfigedApp(location, plist).isNull())
            named.prepend(Named{entry, name, setting->description()});
    }
    QCollator collator;
    std::stable_sort(named.begin(), named.end(), [&collator](const Named& a, const Named& b) { return collator.compare(a.name, b.name) > 0; });
    for (const Named& app : std::as_const(named)) {
        const PLPreferenceExtApp::Row row = PLPreferenceExtApp::newExtAppInfoConfigedDic(
            PLPreferenceExtApp::kKindConfiged, QString(), app.entry.value(kExtAppLocationKey).toString(),
            app.entry.value(kExtAppBundleKey).toString(), app.description, app.entry.value(kExtAppInfoPlistKey).toString(), std::nullopt);
        _preferenceExtAppObject->addOrUpdExtAppInfo(row, true, nullptr);
    }
    return status;
}

int PLExtAppController::addOrUpdQuendrelApp()
{
    if (!_preferenceExtAppObject)
        return linkage::kArgument;
    const QString location = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Bundles/Quendrel.bundle"));
    return _preferenceExtAppObject->addOrUpdExtAppInfo(
        PLPreferenceExtApp::newExtAppInfoPredefinedDic(PLPreferenceExtApp::kKindPredefined, QString(), location, kPluginBundleIdentifier,
                                                       kPluginBundleIdentifier),
        false, nullptr);
}

QList<PLExtAppInfoForm> PLExtAppController::newExtAppInfoFormList()
{
    QList<PLExtAppInfoForm> forms;
    if (!_preferenceExtAppObject)
        return forms;
    for (int i = static_cast<int>(_preferenceExtAppObject->extAppInfoList().size()) - 1; i >= 0; --i) {
        const QString name = _preferenceExtAppObject->displayNameForApp(i);
        const QIcon icon = _preferenceExtAppObject->iconForApp(i);
        if (name.isEmpty() || icon.isNull()) {
            _preferenceExtAppObject->removeExtAppInfoAtIndex(i);
            continue;
        }
        const PLPreferenceExtApp::Row row = *_preferenceExtAppObject->extAppInfoAtIndex(i);
        PLExtAppInfoForm form;
        form.appType = static_cast<int>(row.value(kKind).toInteger());
        form.appID = row.value(kID).toString();
        form.isSelect = row.value(kIsDisplay).toBool(false);
        form.appName = name;
        form.appIcon = icon;
        form.appDescription = row.value(kDescription).toString();
        form.appLocation = row.value(kLocation).toString();
        form.exportFileType = static_cast<int>(row.value(kExportFileType).toInteger(0));
        form.hasAppSettings = _preferenceExtAppObject->isExistsAppSettingsAtIndex(i);
        forms.prepend(form);
    }
    return !forms.isEmpty() && _isFirstPreparedInfo ? defaultSortedExtAppInfoFormList(forms) : forms;
}

int PLExtAppController::addOrUpdExtAppInfoWith(PLExtAppInfoForm* form)
{
    if (!form || !_preferenceExtAppObject)
        return linkage::kArgument;
    QString newID;
    const int status = _preferenceExtAppObject->addOrUpdExtAppInfo(
        PLPreferenceExtApp::newExtAppInfoCustomizedDic(PLPreferenceExtApp::kKindCustomized, form->appID, form->appLocation, form->appName,
                                                       form->appDescription, form->exportFileType, form->isSelect),
        true, &newID);
    if (status == 0 && !newID.isEmpty())
        form->appID = newID;
    return status;
}

int PLExtAppController::delExtAppInfoWith(const PLExtAppInfoForm& form)
{
    if (form.appID.trimmed().isEmpty() || !_preferenceExtAppObject)
        return linkage::kArgument;
    return _preferenceExtAppObject->removeExtAppInfoByID(form.appID);
}

int PLExtAppController::savePreferenceBy(const QList<PLExtAppInfoForm>& forms)
{
    if (!_preferenceExtAppObject)
        return linkage::kArgument;
    QList<PLPreferenceExtApp::Row> rows;
    for (const PLExtAppInfoForm& form : forms) {
        std::optional<PLPreferenceExtApp::Row> row = _preferenceExtAppObject->extAppInfoByID(form.appID);
        if (!row)
            continue;
        row->insert(kIsDisplay, PlistValue(form.isSelect));
        rows.append(*row);
    }
    _preferenceExtAppObject->setExtAppInfoList(rows);
    return _preferenceExtAppObject->save();
}

bool PLExtAppController::handleError(int errorCode, bool isUsingSheet, QWidget* parentWindow, const QString& extAppOperation)
{
    if (errorCode == 0 || !parentWindow || extAppOperation.isEmpty())
        return false;
    int message = 118;
    QString text = getLocalString(extAppOperation);
    switch (errorCode) {
    case -1: case -2: case -3: case -4: break;
    case -1001: message = 11; text.clear(); break;
    case -1006: case -4001: message = 122; text.clear(); break;
    case -3001: message = 127; text.clear(); break;
    case -3006: case -3007: message = 121; text.clear(); break;
    default:
        if (extAppOperation == QLatin1String("IDS_MSG_OPERATION_ADD_EXTAPP") || extAppOperation == QLatin1String("IDS_MSG_OPERATION_UPD_EXTAPP")
            || extAppOperation == QLatin1String("IDS_MSG_OPERATION_DEL_EXTAPP") || extAppOperation == QLatin1String("IDS_MSG_OPERATION_SAVE_EXTAPP_PLIST")) {
            message = 123;
            text.clear();
        } else if (extAppOperation == QLatin1String("IDS_MSG_OPERATION_LAUNCH_EXTAPP") || extAppOperation == QLatin1String("IDS_MSG_OPERATION_LAUNCH_EXTAPP_SETTING")) {
            message = 121;
            text.clear();
        }
        break;
    }
    if (isUsingSheet) {
        if (text.isEmpty())
            PLMessage::ShowPLErrorMessageAlertSheet(parentWindow, nullptr, message);
        else
            PLMessage::ShowPLErrorMessageAlertSheet(parentWindow, nullptr, message, text);
    } else if (text.isEmpty()) {
        PLMessage::ShowPLErrorMessage(message);
    } else {
        PLMessage::ShowPLErrorMessage(message, text);
    }
    return true;
}
