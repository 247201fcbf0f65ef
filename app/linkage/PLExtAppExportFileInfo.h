// "ExportResult.plist": the list of the files exported for a linked application, written beside
// them. INFO names the format, its version and the writing application; FILES the full paths.
#pragma once

#include "app/linkage/PLPropertyFile.h"

#include <QStringList>

inline const QString kExportResultFileName = QStringLiteral("ExportResult.plist");

class PLExtAppExportFileInfo : public PLPropertyFile {
public:
    using PLPropertyFile::PLPropertyFile;

    // Blank arguments take "ZORFILELISTFORMAT", "1.0" and "Pelmora".
    static PlistValue::Dictionary newInfoGroupDic(const QString& fileDesc, const QString& version, const QString& application);
    // -1 for none; -2004 for a missing or non-string value; -2003 for a blank one; else 0.
    static int validateInfoGroupDic(const std::optional<PlistValue::Dictionary>& info);
    // -1 for none; per entry -2004 not a string, -2003 blank, -2006 no file there; else 0.
    static int validateFilesGroupArr(const std::optional<PlistValue::Array>& files);

    void setInfoGroupDic(const std::optional<PlistValue::Dictionary>& info) { _infoGroupDic = info; }
    void setFilesGroupArr(const std::optional<PlistValue::Array>& files) { _filesGroupArr = files; }
    std::optional<PlistValue::Dictionary> infoGroupDic() const { return _infoGroupDic; }
    std::optional<PlistValue::Array> filesGroupArr() const { return _filesGroupArr; }
    // The paths as the FILES group holds them.
    static PlistValue::Array filesGroup(const QStringList& paths);

    int parse() override;
    int validate() override;
    int save() override;

private:
    std::optional<PlistValue::Dictionary> _infoGroupDic;
    std::optional<PlistValue::Array> _filesGroupArr;
};
