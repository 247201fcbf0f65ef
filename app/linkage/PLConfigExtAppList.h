// The linked applications registered by setting plists in the Extension folders: each folder's
// valid files (at most 50), the newest file of each application, and the merge of the user's
// folder with the machine's. Entries are dictionaries of three strings, as they are kept in the
// user's linkage preference.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <QString>

#include <optional>

inline const QString kExtAppBundleKey = QStringLiteral("Application Bundle");
inline const QString kExtAppLocationKey = QStringLiteral("Application Location");
inline const QString kExtAppInfoPlistKey = QStringLiteral("Application Infoplist");

class PLConfigExtAppList {
public:
    static constexpr int kModeListFile = 1;
    static constexpr int kModeFolder = 2;
    static constexpr int kMaxEntries = 50;

    // Null when the mode is not 1 or 2 or the path is empty.
    static std::optional<PLConfigExtAppList> create(const QString& path, int recognizeMode);

    // "<data folder>/ZOR/Brevix/Pelmora/Extension/" of the user ($XDG_DATA_HOME) or of the machine
    // (the first folder of $XDG_DATA_DIRS).
    static QString defaultExtAppExtensionFolder(bool user);
    // Mode 2: the merged entries of both folders; nullopt when neither has a list. Any other mode
    // gives nullopt (no list file is kept).
    static std::optional<PlistValue::Array> configedExtAppList(int mode);
    // The newest entry of each application; between equal versions the earlier one.
    static PlistValue::Array filterOutNewestCfgExtApp(const PlistValue::Array& entries);
    // Validates an entry and resolves its location: 0, -1, -2003, a setting plist's status or -3001.
    static int validateExtAppConfig(const PlistValue& entry, PlistValue::Dictionary* newExtAppConfigDic);
    static PlistValue::Dictionary newExtAppDic(const QString& bundle, const QString& location, const QString& infoPlist);

    // Mode 2: the list becomes the folder's valid entries (-3005 when the folder cannot be read).
    // Mode 1: -3005.
    int parse();
    // The valid entries of the folder in name order; nullopt when it is missing or unreadable.
    std::optional<PlistValue::Array> findExtAppFromFolder() const;
    int validate() const;

    PlistValue::Array extAppList() const { return _extAppList; }
    void setExtAppList(const PlistValue::Array& list) { _extAppList = list; }
    QString fullPath() const { return _fullPath; }
    int recognizeMode() const { return _recognizeMode; }

private:
    PLConfigExtAppList(const QString& path, int mode) : _fullPath(path), _recognizeMode(mode) {}

    QString _fullPath;
    int _recognizeMode;
    PlistValue::Array _extAppList;
};
