// Linkage setting plists: the rule table of their keys, counted in UTF-16 units and file-system
// bytes, and the language names their labels are looked up by.
#include "app/linkage/LinkageLanguage.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppSetting.h"
#include "platform/foundation/PlistFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Dictionary = PlistValue::Dictionary;

Dictionary validRoot()
{
    return {{"Launch", PlistValue(Dictionary{{"Label", PlistValue("Cards")}, {"Description", PlistValue("Hands cards over")},
                                             {"CardDataFileFormat", PlistValue(-1)}})},
            {"Languages", PlistValue(Dictionary{{"Japanese", PlistValue(Dictionary{{"Label", PlistValue("名刺")}})},
                                                {"zh-CN", PlistValue(Dictionary{{"Label", PlistValue("名片")}, {"Description", PlistValue("中文")}})}})},
            {"Application", PlistValue(Dictionary{{"AppSetting", PlistValue(true)}})},
            {"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(2)}})}};
}

Dictionary with(const QString& group, const QString& key, const PlistValue& value)
{
    Dictionary root = validRoot();
    Dictionary inner = root.value(group).toDictionary();
    if (value.isNull())
        inner.remove(key);
    else
        inner.insert(key, value);
    root.insert(group, PlistValue(inner));
    return root;
}

QString units(int count, const QString& unit = QStringLiteral("a"))
{
    return unit.repeated(count);
}

class ConfigSetting : public ::testing::Test {
protected:
    QTemporaryDir temp;
    int statusOf(const Dictionary& root)
    {
        const QString file = temp.filePath("com.example.Cards.link.plist");
        EXPECT_TRUE(writePlistFile(file, PlistValue(root)));
        int status = 1;
        const std::unique_ptr<PLConfigExtAppSetting> setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(file, &status);
        EXPECT_EQ(setting != nullptr, status == 0);
        return status;
    }
    void TearDown() override { setSystemLanguageSource(nullptr); }
};

TEST_F(ConfigSetting, EveryKeyFollowsItsRule)
{
    Dictionary noInfo = validRoot();
    noInfo.remove("Info");
    Dictionary launchNotADictionary = validRoot();
    launchNotADictionary.insert("Launch", PlistValue("text"));
    const struct {
        const char* name;
        Dictionary root;
        int status;
    } cases[] = {
        {"valid", validRoot(), 0},
        {"label of 62 units", with("Launch", "Label", units(62)), 0},
        {"label of 63 units", with("Launch", "Label", units(63)), linkage::kTooLong},
        {"label of 31 emoji (62 units)", with("Launch", "Label", units(31, QString::fromUtf8("😀"))), 0},
        {"label of 32 emoji (64 units)", with("Launch", "Label", units(32, QString::fromUtf8("😀"))), linkage::kTooLong},
        {"label not a string", with("Launch", "Label", PlistValue(1)), linkage::kWrongType},
        {"description of 128", with("Launch", "Description", units(128)), 0},
        {"description of 129", with("Launch", "Description", units(129)), linkage::kTooLong},
        {"icon not a string", with("Launch", "Icon", PlistValue(true)), linkage::kWrongType},
        {"app path not a string", with("Launch", "AppPath", PlistValue(Dictionary{})), linkage::kWrongType},
        {"data format not a number", with("Launch", "CardDataFileFormat", PlistValue("1")), linkage::kWrongType},
        {"data option not a number", with("Launch", "CardDataFileOption", PlistValue("1")), linkage::kWrongType},
        {"image format not a number", with("Launch", "CardImageFileFormat", PlistValue("2")), linkage::kWrongType},
        {"a language label not a string", with("Languages", "French", PlistValue(Dictionary{{"Label", PlistValue(3)}})), linkage::kWrongType},
        {"a language not a dictionary", with("Languages", "German", PlistValue("Karten")), linkage::kWrongType},
        {"an unknown language is ignored", with("Languages", "Klingon", PlistValue(5)), 0},
        {"app setting not a number", with("Application", "AppSetting", PlistValue("yes")), linkage::kWrongType},
        {"setting program of 1024 bytes", with("Application", "SettingExe", "/" + units(1023)), 0},
        {"setting program of 1025 bytes", with("Application", "SettingExe", "/" + units(1024)), linkage::kPathTooLong},
        {"setting program of 1024 bytes in 512 letters", with("Application", "SettingExe", units(512, QString::fromUtf8("é"))), 0},
        {"setting program of 1026 bytes in 513 letters", with("Application", "SettingExe", units(513, QString::fromUtf8("é"))), linkage::kPathTooLong},
        {"no Info group", noInfo, linkage::kBlank},
        {"no file version", with("Info", "FileVersion", PlistValue()), linkage::kBlank},
        {"file version as text", with("Info", "FileVersion", PlistValue("3")), linkage::kWrongType},
        {"a group that is not a dictionary", launchNotADictionary, linkage::kWrongType},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusOf(c.root), c.status) << c.name;
    EXPECT_EQ(PLConfigExtAppSetting::newCfgExtAppSettingWith(QStringLiteral(" "), nullptr), nullptr);
}

TEST_F(ConfigSetting, LanguageNames)
{
    const QList<QPair<QString, QString>> table{
        {"en-US", "English"}, {"fr_CA", "French"}, {"JA", "Japanese"}, {"ja-JP", "Japanese"}, {"de", "German"},
        {"es", "Spanish"}, {"it", "Italian"}, {"pt-BR", "Portuguese"}, {"ru", "Russian"}, {"ko-KR", "Korean"},
        {"zh-Hans", "zh-CN"}, {"zh-Hans-CN", "zh-CN"}, {"zh_CN", "zh-CN"}, {"zh-Hant", "zh-TW"}, {"zh-TW", "zh-TW"},
        {"nl", "English"}, {"", "English"},
    };
    for (const auto& [code, name] : table)
        EXPECT_EQ(ConvertLanguageString(code), name) << code.toStdString();
}

TEST_F(ConfigSetting, LabelsAndDescriptionsOfTheUsersLanguage)
{
    ASSERT_EQ(statusOf(validRoot()), 0);
    PLConfigExtAppSetting setting(temp.filePath("com.example.Cards.link.plist"));
    ASSERT_EQ(setting.parse(), 0);
    setSystemLanguageSource([] { return QStringLiteral("zh-Hans-CN"); });
    EXPECT_EQ(setting.languagesInfoValueForKey("Label").toString(), QString::fromUtf8("名片"));
    EXPECT_EQ(setting.description(), QString::fromUtf8("中文"));
    setSystemLanguageSource([] { return QStringLiteral("ja_JP"); });
    EXPECT_EQ(setting.languagesInfoValueForKey("Label").toString(), QString::fromUtf8("名刺"));
    EXPECT_EQ(setting.description(), QStringLiteral("Hands cards over"));
    setSystemLanguageSource([] { return QString(); });
    EXPECT_TRUE(setting.languagesInfoValueForKey("Label").isNull());
    EXPECT_FALSE(setting.isExistsAppSetting()) << "no setting program named";
    EXPECT_EQ(setting.launchInfoValueForKey("CardDataFileFormat").toInteger(), -1);
}

} // namespace
