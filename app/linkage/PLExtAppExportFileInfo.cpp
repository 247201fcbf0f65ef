#include "app/linkage/PLExtAppExportFileInfo.h"

#include "app/core/PLChecker.h"
#include "app/linkage/LinkageStatus.h"

namespace {

const QString kInfo = QStringLiteral("INFO");
const QString kFiles = QStringLiteral("FILES");
const QString kInfoKeys[] = {QStringLiteral("FileDesc"), QStringLiteral("Version"), QStringLiteral("Application")};

} // namespace

PlistValue::Dictionary PLExtAppExportFileInfo::newInfoGroupDic(const QString& fileDesc, const QString& version, const QString& application)
{
    const auto orDefault = [](const QString& value, const char* fallback) {
        return PLChecker::isBlank(value) ? QString::fromLatin1(fallback) : value;
    };
    return {{kInfoKeys[0], orDefault(fileDesc, "ZORFILELISTFORMAT")},
            {kInfoKeys[1], orDefault(version, "1.0")},
            {kInfoKeys[2], orDefault(application, "Pelmora")}};
}

int PLExtAppExportFileInfo::validateInfoGroupDic(const std::optional<PlistValue::Dictionary>& info)
{
    if (!info)
        return linkage::kArgument;
    for (const QString& key : kInfoKeys) {
        if (!info->value(key).isString())
            return linkage::kWrongType;
    }
    for (const QString& key : kInfoKeys) {
        if (PLChecker::isBlank(info->value(key).toString()))
            return linkage::kBlank;
    }
    return 0;
}

int PLExtAppExportFileInfo::validateFilesGroupArr(const std::optional<PlistValue::Array>& files)
{
    if (!files)
        return linkage::kArgument;
    for (const PlistValue& entry : *files) {
        if (!entry.isString())
            return linkage::kWrongType;
        if (PLChecker::isBlank(entry.toString()))
            return linkage::kBlank;
        if (!PLChecker::isPathExists(entry.toString(), PLChecker::kPathFile))
            return linkage::kPathTooLong;
    }
    return 0;
}

PlistValue::Array PLExtAppExportFileInfo::filesGroup(const QStringList& paths)
{
    PlistValue::Array files;
    for (const QString& path : paths)
        files.append(PlistValue(path));
    return files;
}

int PLExtAppExportFileInfo::parse()
{
    if (const int status = PLPropertyFile::parse())
        return status;
    const PlistValue info = valueForKey(kInfo);
    const PlistValue files = valueForKey(kFiles);
    if (!info.isDictionary() || !files.isArray())
        return linkage::kWrongType;
    _infoGroupDic = validateInfoGroupDic(info.toDictionary()) == 0 ? std::optional(info.toDictionary()) : std::nullopt;
    const int status = validateFilesGroupArr(files.toArray());
    _filesGroupArr = status == 0 ? std::optional(files.toArray()) : std::nullopt;
    return status;
}

int PLExtAppExportFileInfo::validate()
{
    if (const int status = validateInfoGroupDic(_infoGroupDic))
        return status;
    return validateFilesGroupArr(_filesGroupArr);
}

int PLExtAppExportFileInfo::save()
{
    if (const int status = validate())
        return status;
    setValue(PlistValue(*_infoGroupDic), kInfo);
    setValue(PlistValue(*_filesGroupArr), kFiles);
    return PLPropertyFile::save();
}
