#include "app/linkage/PLConfigExtAppSetting.h"

#include "app/core/PLChecker.h"
#include "app/linkage/LinkageLanguage.h"
#include "app/linkage/LinkageStatus.h"
#include "platform/foundation/Log.h"

#include <QFile>

namespace {

const QString kLaunch = QStringLiteral("Launch");
const QString kLanguages = QStringLiteral("Languages");
const QString kApplication = QStringLiteral("Application");
const QString kInfo = QStringLiteral("Info");
const QString kLabel = QStringLiteral("Label");
const QString kDescription = QStringLiteral("Description");
constexpr qsizetype kLabelLimit = 63;         // in UTF-16 units
constexpr qsizetype kDescriptionLimit = 129;
constexpr qsizetype kSettingExeBytes = 1024;

const char* const kLanguageNames[] = {"English", "French", "Japanese", "German", "Spanish", "Italian",
                                      "Portuguese", "Russian", "Korean", "zh-CN", "zh-TW"};

// Logs the line and answers the status.
int invalid(int status, const QString& line, const QString& value = QString())
{
    PLNSLog(line, value);
    return status;
}

} // namespace

std::unique_ptr<PLConfigExtAppSetting> PLConfigExtAppSetting::newCfgExtAppSettingWith(const QString& path, int* errorCode)
{
    if (PLChecker::isBlank(path))
        return nullptr;
    auto setting = std::make_unique<PLConfigExtAppSetting>(path);
    int status = setting->parse();
    if (status == 0)
        status = setting->validate();
    if (errorCode)
        *errorCode = status;
    return status == 0 ? std::move(setting) : nullptr;
}

int PLConfigExtAppSetting::parse()
{
    const int status = PLPropertyFile::parse();
    _groupOfWrongType = false;
    const auto group = [this](const QString& key) -> std::optional<PlistValue::Dictionary> {
        const PlistValue value = valueForKey(key);
        if (value.isNull())
            return std::nullopt;
        if (!value.isDictionary()) {
            _groupOfWrongType = true;
            return std::nullopt;
        }
        return value.toDictionary();
    };
    _launchInfoDic = group(kLaunch);
    setLanguagesInfoDic(group(kLanguages));
    setApplicationInfoDic(group(kApplication));
    setInfoInfoDic(group(kInfo));
    return status;
}

int PLConfigExtAppSetting::validate()
{
    if (_groupOfWrongType)
        return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] group"));
    if (const int status = _validateLaunchInfo(_launchInfoDic))
        return status;
    if (const int status = _validateLanguagesInfo(_languagesInfoDic))
        return status;
    if (const int status = _validateApplicationInfo(_applicationInfoDic))
        return status;
    return _validateInfoInfo(_infoInfoDic);
}

int PLConfigExtAppSetting::_validateLaunchInfo(const std::optional<PlistValue::Dictionary>& launch) const
{
    if (!launch)
        return 0;
    const PlistValue label = launch->value(kLabel);
    if (!label.isNull() && !label.isString())
        return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Launch - Label:[]"));
    if (label.toString().size() >= kLabelLimit)
        return invalid(linkage::kTooLong, QStringLiteral("Data is not valid. [Length] Launch - Label:[%@]"), label.toString());
    const PlistValue description = launch->value(kDescription);
    if (!description.isNull() && !description.isString())
        return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Launch - Description:[%@]"));
    if (description.toString().size() >= kDescriptionLimit)
        return invalid(linkage::kTooLong, QStringLiteral("Data is not valid. [Length] Launch - Description:[%@]"), description.toString());
    for (const char* key : {"Icon", "AppPath"}) {
        const PlistValue value = launch->value(QLatin1String(key));
        if (!value.isNull() && !value.isString())
            return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Launch - %1:[]").arg(QLatin1String(key)));
    }
    for (const char* key : {"CardDataFileFormat", "CardDataFileOption", "CardImageFileFormat"}) {
        const PlistValue value = launch->value(QLatin1String(key));
        if (!value.isNull() && !value.isNumber())
            return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Launch - %1:[]").arg(QLatin1String(key)));
    }
    return 0;
}

int PLConfigExtAppSetting::_validateLanguagesInfo(const PlistValue::Dictionary& languages) const
{
    for (const char* name : kLanguageNames) {
        const PlistValue language = languages.value(QLatin1String(name));
        if (language.isNull())
            continue;
        if (!language.isDictionary())
            return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] languages - %@:[]"), QLatin1String(name));
        for (const QString& key : {kLabel, kDescription}) {
            const PlistValue value = language.value(key);
            if (!value.isNull() && !value.isString())
                return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] languages - %@ - ") + key + QStringLiteral(":[]"),
                               QLatin1String(name));
        }
    }
    return 0;
}

int PLConfigExtAppSetting::_validateApplicationInfo(const PlistValue::Dictionary& application) const
{
    const PlistValue setting = application.value(QStringLiteral("AppSetting"));
    if (!setting.isNull() && !setting.isNumber())
        return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Application - AppSetting:[]"));
    const PlistValue exe = application.value(QStringLiteral("SettingExe"));
    if (!exe.isNull() && !exe.isString())
        return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Application - SettingExe:[]"));
    if (QFile::encodeName(exe.toString()).size() > kSettingExeBytes)
        return invalid(linkage::kPathTooLong, QStringLiteral("Data is not valid. [PathLength] Application - SettingExe:[%@]"), exe.toString());
    return 0;
}

int PLConfigExtAppSetting::_validateInfoInfo(const PlistValue::Dictionary& info) const
{
    const PlistValue version = info.value(QStringLiteral("FileVersion"));
    if (version.isNull())
        return invalid(linkage::kBlank, QStringLiteral("Data is not valid. [Required] Info - FileVersion:[%@]"));
    if (!version.isNumber())
        return invalid(linkage::kWrongType, QStringLiteral("Data is not valid. [DataType] Info - FileVersion:[%@]"), version.toString());
    return 0;
}

PlistValue PLConfigExtAppSetting::launchInfoValueForKey(const QString& key) const
{
    return key.isEmpty() || !_launchInfoDic ? PlistValue() : _launchInfoDic->value(key);
}

PlistValue PLConfigExtAppSetting::applicationInfoValueForKey(const QString& key) const
{
    return key.isEmpty() ? PlistValue() : _applicationInfoDic.value(key);
}

PlistValue PLConfigExtAppSetting::infoInfoValueForKey(const QString& key) const
{
    return key.isEmpty() ? PlistValue() : _infoInfoDic.value(key);
}

PlistValue PLConfigExtAppSetting::languagesInfoValueForKey(const QString& key) const
{
    for (const char* name : kLanguageNames) {
        if (key == QLatin1String(name))
            return _languagesInfoDic.value(key);
    }
    if (key != kLabel && key != kDescription)
        return PlistValue();
    const QString language = getCurSysLanguage();
    return language.isEmpty() ? PlistValue() : _languagesInfoDic.value(language).value(key);
}

QString PLConfigExtAppSetting::description() const
{
    const QString localised = languagesInfoValueForKey(kDescription).toString();
    if (!PLChecker::isBlank(localised))
        return localised;
    const QString launch = launchInfoValueForKey(kDescription).toString();
    return PLChecker::isBlank(launch) ? QString(QLatin1String("")) : launch;
}

bool PLConfigExtAppSetting::isExistsAppSetting() const
{
    const PlistValue application = valueForKey(kApplication);
    if (!application.isDictionary())
        return false;
    const PlistValue setting = application.value(QStringLiteral("AppSetting"));
    const PlistValue exe = application.value(QStringLiteral("SettingExe"));
    return setting.toBool() && exe.isString() && PLChecker::isPathExists(exe.toString(), PLChecker::kPathAny);
}
