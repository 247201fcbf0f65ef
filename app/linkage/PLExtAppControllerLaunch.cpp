// Handing cards to a linked application: the cards exported as the row or the application's
// setting plist asks, then the application started with the exported files.
#include "app/linkage/PLExtAppController.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/export/PLExporter.h"
#include "app/linkage/ExtAppLauncher.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppSetting.h"

#include <QFileInfo>

using namespace extappkey;

namespace {

constexpr int kStatusLaunchFailed = -3006;
constexpr int kStatusSettingFailed = -3007;

// The export codes the setting plist's Launch values ask for.
struct ExportCodes {
    int data = PLExporter::kDataImagesOnly;
    int image = PLExporter::kImageNone;
    bool allInOne = false;
};

ExportCodes exportCodes(const PLConfigExtAppSetting& setting)
{
    ExportCodes codes;
    const PlistValue data = setting.launchInfoValueForKey(QStringLiteral("CardDataFileFormat"));
    if (data.isNumber()) {
        const int64_t value = data.toInteger();
        codes.data = value == 1 ? PLExporter::kDataContactXML : value == -1 ? PLExporter::kDataImagesOnly : PLExporter::kDataVCard;
    }
    const PlistValue option = setting.launchInfoValueForKey(QStringLiteral("CardDataFileOption"));
    codes.allInOne = option.isNumber() && option.toInteger() != 1;
    const PlistValue image = setting.launchInfoValueForKey(QStringLiteral("CardImageFileFormat"));
    if (image.isNumber()) {
        const int64_t value = image.toInteger();
        codes.image = value == 0 ? PLExporter::kImageNone : value == 2 ? PLExporter::kImageJpeg : PLExporter::kImagePdf;
    }
    return codes;
}

// Starts the application with the files; on failure the exported package goes.
int launchWithFiles(const QString& application, const QStringList& files)
{
    if (LauchApplication(application, files, false) == 0)
        return 0;
    if (!files.isEmpty())
        cleanFolder(QFileInfo(files.first()).absolutePath());
    return kStatusLaunchFailed;
}

// Once the export has succeeded, the application started with its files.
int launchExported(int exportStatus, const QStringList& files, const QString& application)
{
    if (exportStatus != 0)
        return exportStatus;
    if (files.isEmpty())
        return linkage::kNoPath;
    return launchWithFiles(application, files);
}

} // namespace

template <typename Launch>
int PLExtAppController::underProcessingSheet(const PLPreferenceExtApp::Row& row, Launch launch)
{
    const QString location = row.value(kLocation).toString();
    if (location.isEmpty() || !QFileInfo::exists(location))
        return linkage::kAppNotFound;
    if (PLChecker::checkPath(location) != PLChecker::kPathLocal)
        return kStatusLaunchFailed;
    if (_mainWindowController
        && !_mainWindowController->RunIndicator(QString(), getLocalString(QStringLiteral("IDS_INDICATOR_EXPORT_FILES_RUNNING"))))
        return 0;
    const int status = launch();
    if (_mainWindowController)
        _mainWindowController->StopIndicator();
    return status;
}

int PLExtAppController::launchExtApp(const QString& appID, const QList<CardDict>& dataList)
{
    if (PLChecker::isBlank(appID) || dataList.isEmpty())
        return linkage::kArgument;
    QList<CardDict> named;
    if (!PLChecker::checkDataListBeforeExport(dataList, &named))
        return 0;
    const std::optional<PLPreferenceExtApp::Row> row = _preferenceExtAppObject ? _preferenceExtAppObject->extAppInfoByID(appID) : std::nullopt;
    if (!row)
        return linkage::kNoPath;
    if (!row->value(kKind).isNumber())
        return linkage::kWrongType;
    switch (row->value(kKind).toInteger()) {
    case PLPreferenceExtApp::kKindCustomized: return _launchExtAppCustomized(*row, named);
    case PLPreferenceExtApp::kKindConfiged: return _launchExtAppConfiged(*row, named);
    case PLPreferenceExtApp::kKindPredefined: return 0;
    default: return linkage::kNoPath;
    }
}

int PLExtAppController::_launchExtAppConfiged(const PLPreferenceExtApp::Row& row, const QList<CardDict>& dataList)
{
    if (dataList.isEmpty())
        return linkage::kArgument;
    return underProcessingSheet(row, [&]() {
        PLPreferenceExtApp::Row valid;
        if (const int status = PLPreferenceExtApp::validateExtAppInfoConfiged(row, &valid))
            return status;
        int status = 0;
        const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(valid.value(kPlistLocation).toString(), &status);
        if (!setting)
            return status;
        const ExportCodes codes = exportCodes(*setting);
        QStringList files;
        status = PLExporter::exportCardData(dataList, PLExporter::defaultExtentionTempDir(), codes.data, codes.image, codes.allInOne, true, &files);
        return launchExported(status, files, valid.value(kLocation).toString());
    });
}

int PLExtAppController::_launchExtAppCustomized(const PLPreferenceExtApp::Row& row, const QList<CardDict>& dataList)
{
    if (dataList.isEmpty())
        return linkage::kArgument;
    return underProcessingSheet(row, [&]() {
        PLPreferenceExtApp::Row valid;
        if (const int status = PLPreferenceExtApp::validateExtAppInfoCustomized(row, &valid))
            return status;
        const int data = valid.value(kExportFileType).toInteger() == 1 ? PLExporter::kDataContactXML : PLExporter::kDataVCard;
        QStringList files;
        const int status = PLExporter::exportCardData(dataList, PLExporter::tempDirPLUnderUserDocuments(), data, PLExporter::kImageNone, true, false, &files);
        return launchExported(status, files, valid.value(kLocation).toString());
    });
}

int PLExtAppController::launchExtAppSetting(const QString& appID)
{
    if (PLChecker::isBlank(appID))
        return linkage::kArgument;
    const std::optional<PLPreferenceExtApp::Row> row = _preferenceExtAppObject ? _preferenceExtAppObject->extAppInfoByID(appID) : std::nullopt;
    if (!row)
        return linkage::kNoPath;
    if (!row->value(kKind).isNumber())
        return linkage::kWrongType;
    switch (row->value(kKind).toInteger()) {
    case PLPreferenceExtApp::kKindCustomized:
    case PLPreferenceExtApp::kKindPredefined: return 0;
    case PLPreferenceExtApp::kKindConfiged: return _launchExtAppSetting(*row);
    default: return linkage::kNoPath;
    }
}

int PLExtAppController::_launchExtAppSetting(const PLPreferenceExtApp::Row& row)
{
    if (!row.value(kPlistLocation).isString())
        return linkage::kWrongType;
    int status = 0;
    const auto setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(row.value(kPlistLocation).toString(), &status);
    if (!setting)
        return status;
    const PlistValue exe = setting->applicationInfoValueForKey(QStringLiteral("SettingExe"));
    if (!setting->isExistsAppSetting() || !exe.isString())
        return linkage::kAppNotFound;
    if (PLChecker::checkPath(exe.toString()) != PLChecker::kPathLocal || LauchAppSetting(exe.toString(), true) != 0)
        return kStatusSettingFailed;
    return 0;
}

int PLExtAppController::launchExtAppForTesting(const PLExtAppInfoForm* form)
{
    if (!form)
        return linkage::kArgument;
    if (form->appLocation.isEmpty() || !QFileInfo::exists(form->appLocation))
        return linkage::kAppNotFound;
    if (PLChecker::checkPath(form->appLocation) != PLChecker::kPathLocal)
        return kStatusLaunchFailed;
    const QString appID = PLChecker::isBlank(form->appID) ? QStringLiteral("DummyAppID") : form->appID;
    PLPreferenceExtApp::Row valid;
    const int status = PLPreferenceExtApp::validateExtAppInfoCustomized(
        PLPreferenceExtApp::newExtAppInfoCustomizedDic(PLPreferenceExtApp::kKindCustomized, appID, form->appLocation, form->appName,
                                                       form->appDescription, form->exportFileType, form->isSelect),
        &valid);
    if (status != 0)
        return status;
    const int type = valid.value(kExportFileType).toInteger() == 1 ? PLExporter::kDataContactXML : PLExporter::kDataVCard;
    QStringList files;
    if (const int sample = PLExporter::exportSampleDataToFolder(PLExporter::tempDirPLUnderUserDocuments(), type, &files))
        return sample;
    return launchWithFiles(valid.value(kLocation).toString(), files);
}
