// The user's list of linked applications: one property list in the user's preferences folder
// whose "Application List" holds the rows in menu order. Rows are checked by their kind (1 the
// user's own, 2 registered by a setting plist, 3 the upload plug-in); at most 10 of kind 1 and
// 50 of kind 2 are kept.
#pragma once

#include "app/linkage/PLPropertyFile.h"

#include <QIcon>

#include <climits>

namespace extappkey {
inline const QString kKind = QStringLiteral("Application Kind");
inline const QString kID = QStringLiteral("Application ID");
inline const QString kLocation = QStringLiteral("Application Location");
inline const QString kName = QStringLiteral("Application Name");
inline const QString kBundle = QStringLiteral("Application Bundle");
inline const QString kPlistLocation = QStringLiteral("Application Plist Location");
inline const QString kDescription = QStringLiteral("Application Description");
inline const QString kExportFileType = QStringLiteral("Export File Type");
inline const QString kIsDisplay = QStringLiteral("isDisplay");
inline const QString kSettings = QStringLiteral("Extension App Settings");
} // namespace extappkey

inline const QString kPluginBundleIdentifier = QStringLiteral("com.orvane.zor.Pelmora.Quendrel");

class PLPreferenceExtApp : public PLPropertyFile {
public:
    using Row = PlistValue::Dictionary;
    static constexpr int kKindCustomized = 1;
    static constexpr int kKindConfiged = 2;
    static constexpr int kKindPredefined = 3;
    static constexpr int kMaxCustomized = 10;
    static constexpr int kMaxConfiged = 50;
    static constexpr int kNotFound = INT_MAX;

    using PLPropertyFile::PLPropertyFile;

    // "<user preferences>/com.orvane.zor.Pelmora.ExtAppLinkage.plist".
    static QString defaultPreferenceFilePath();
    static Row newExtAppInfoPredefinedDic(int kind, const QString& appID, const QString& location, const QString& name, const QString& bundle);
    static Row newExtAppInfoConfigedDic(int kind, const QString& appID, const QString& location, const QString& bundle,
                                        const QString& description, const QString& plist, const std::optional<PlistValue>& settings);
    static Row newExtAppInfoCustomizedDic(int kind, const QString& appID, const QString& location, const QString& name,
                                          const QString& description, int exportFileType, bool isDisplay);

    // By kind: 0 or a status, and the normalised row.
    static int validateExtAppInfo(const Row& row, Row* newExtAppInfoDic);
    static int validateExtAppInfoCommon(const Row& row);
    static int validateExtAppInfoPredefined(const Row& row, Row* newExtAppInfoDic);
    static int validateExtAppInfoConfiged(const Row& row, Row* newExtAppInfoDic);
    static int validateExtAppInfoCustomized(const Row& row, Row* newExtAppInfoDic);

    static QString displayNamePredefApp(const QString& name);
    static QString displayNameConfigedApp(const QString& location, const QString& configPlist);
    static QIcon iconForAppPath(const QString& path);
    static QIcon iconForPredefApp(const QString& bundle);
    static QIcon iconConfigedApp(const QString& location, const QString& configPlist);

    int parse() override;
    int validate() override;
    int save() override;

    QList<Row> extAppInfoList() const { return _extAppInfoList; }
    void setExtAppInfoList(const QList<Row>& rows) { _extAppInfoList = rows; }
    std::optional<Row> extAppInfoByID(const QString& appID) const;
    std::optional<Row> extAppInfoAtIndex(int index) const;
    PlistValue valueForKeyByID(const QString& key, const QString& appID) const;
    PlistValue valueForKeyAtIndex(const QString& key, int index) const;
    int indexOfInfoIdenticalTo(const QString& appID) const;
    int indexOfInfoIdenticalTo(const QString& bundle, int appKind) const;
    // Updates the stored row of the same application, or adds the row with a new identifier.
    int addOrUpdExtAppInfo(const Row& row, bool isAtFirstPosIfAdd, QString* outNewAppID);
    int removeExtAppInfoByID(const QString& appID);
    int removeExtAppInfoAtIndex(int index);
    bool isExistsExtAppInfo() const { return !_extAppInfoList.isEmpty(); }
    bool isExistsAppSettingsAtIndex(int index) const;
    QString displayNameForApp(int index) const;
    QIcon iconForApp(int index) const;
    // Rows per kind 0 to 3; kind 0 also counts rows without a numeric kind.
    QMap<int, int> countOfAppsGroupWithKind() const;
    std::optional<PlistValue> extAppSettingsByID(const QString& appID) const;

private:
    QList<Row> _extAppInfoList;
};
