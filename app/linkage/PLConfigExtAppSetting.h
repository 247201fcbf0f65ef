// One linkage setting plist: how a linked application wants to be listed and to receive cards.
// Its root holds the groups "Launch", "Languages", "Application" and "Info"; validation checks
// every key a group may hold and stops at the first failure.
#pragma once

#include "app/linkage/PLPropertyFile.h"

#include <memory>
#include <optional>

class PLConfigExtAppSetting : public PLPropertyFile {
public:
    using PLPropertyFile::PLPropertyFile;

    // Null for a blank path (the status then untouched); otherwise the file opened, parsed and
    // validated, given when the status is 0.
    static std::unique_ptr<PLConfigExtAppSetting> newCfgExtAppSettingWith(const QString& path, int* errorCode);

    int parse() override;
    int validate() override;

    PlistValue launchInfoValueForKey(const QString& key) const;
    PlistValue applicationInfoValueForKey(const QString& key) const;
    PlistValue infoInfoValueForKey(const QString& key) const;
    // A language's dictionary by its group name; "Label" and "Description" of the current language.
    PlistValue languagesInfoValueForKey(const QString& key) const;
    // The current language's description, else the Launch one, else "".
    QString description() const;
    // The application names a setting program that exists.
    bool isExistsAppSetting() const;

    void setLaunchInfoDic(const std::optional<PlistValue::Dictionary>& launch) { _launchInfoDic = launch; }
    void setLanguagesInfoDic(const std::optional<PlistValue::Dictionary>& languages) { _languagesInfoDic = languages.value_or(PlistValue::Dictionary()); }
    void setApplicationInfoDic(const std::optional<PlistValue::Dictionary>& application) { _applicationInfoDic = application.value_or(PlistValue::Dictionary()); }
    void setInfoInfoDic(const std::optional<PlistValue::Dictionary>& info) { _infoInfoDic = info.value_or(PlistValue::Dictionary()); }

private:
    int _validateLaunchInfo(const std::optional<PlistValue::Dictionary>& launch) const;
    int _validateLanguagesInfo(const PlistValue::Dictionary& languages) const;
    int _validateApplicationInfo(const PlistValue::Dictionary& application) const;
    int _validateInfoInfo(const PlistValue::Dictionary& info) const;

    std::optional<PlistValue::Dictionary> _launchInfoDic;
    PlistValue::Dictionary _languagesInfoDic;
    PlistValue::Dictionary _applicationInfoDic;
    PlistValue::Dictionary _infoInfoDic;
    // A group present but not a dictionary makes the file invalid.
    bool _groupOfWrongType = false;
};
