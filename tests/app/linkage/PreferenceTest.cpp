// The user's linkage preference: rows checked by their kind and normalised on reading, the
// limits of 10 own and 50 registered applications, adding and updating rows, and their names.
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLPreferenceExtApp.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

using Row = PLPreferenceExtApp::Row;
using namespace extappkey;

class Preference : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QByteArray savedHome;
    QByteArray savedDirs;

    void SetUp() override
    {
        savedHome = qgetenv("XDG_DATA_HOME");
        savedDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", QFile::encodeName(temp.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(temp.filePath("machine")));
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedHome);
        qputenv("XDG_DATA_DIRS", savedDirs);
    }
    QString file() const { return temp.filePath("linkage.plist"); }
    // A registered application: its desktop entry and its setting plist.
    QString registerApp(const QString& id, const QString& label = QString())
    {
        QDir().mkpath(temp.filePath("machine/applications"));
        QFile entry(temp.filePath("machine/applications/" + id + ".desktop"));
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Entry " + id.toUtf8() + "\nExec=/bin/true %F\n");
        const QString plist = temp.filePath(id + ".link.plist");
        PlistValue::Dictionary launch;
        if (!label.isEmpty())
            launch.insert("Label", PlistValue(label));
        EXPECT_TRUE(writePlistFile(plist, PlistValue(PlistValue::Dictionary{
            {"Launch", PlistValue(launch)}, {"Info", PlistValue(PlistValue::Dictionary{{"FileVersion", PlistValue(1)}})}})));
        return plist;
    }
    static Row customized(const QString& name, const QString& location = QStringLiteral("/usr/bin/true"))
    {
        return PLPreferenceExtApp::newExtAppInfoCustomizedDic(1, QUuid::createUuid().toString(QUuid::WithoutBraces), location, name, "desc", 1, true);
    }
};

TEST_F(Preference, RowsAreCheckedAndNormalisedOnReading)
{
    PlistValue::Array rows;
    for (int i = 0; i < 12; ++i)
        rows.append(PlistValue(customized(QStringLiteral("App %1").arg(i))));
    Row longOne = customized(QString(70, QLatin1Char('n')));
    longOne.insert(kDescription, PlistValue(QString(300, QLatin1Char('d'))));
    longOne.insert(kExportFileType, PlistValue(5));
    longOne.remove(kIsDisplay);
    rows.prepend(PlistValue(longOne));
    Row kindFour = customized("four");
    kindFour.insert(kKind, PlistValue(4));
    Row kindText = customized("text");
    kindText.insert(kKind, PlistValue("1"));
    Row noLocation = customized("nowhere", QString());
    rows.prepend(PlistValue(kindFour));
    rows.prepend(PlistValue(kindText));
    rows.prepend(PlistValue(noLocation));
    rows.prepend(PlistValue(PLPreferenceExtApp::newExtAppInfoPredefinedDic(3, "PLUGIN", "/opt/Bundles/Quendrel.bundle", kPluginBundleIdentifier, kPluginBundleIdentifier)));
    ASSERT_TRUE(writePlistFile(file(), PlistValue(PlistValue::Dictionary{{"Application List", PlistValue(rows)}, {"Other", PlistValue("kept")}})));

    PLPreferenceExtApp preference(file());
    ASSERT_EQ(preference.parse(), 0);
    const QList<Row> read = preference.extAppInfoList();
    ASSERT_EQ(read.size(), 11);   // the plug-in and the first ten of the user's own
    EXPECT_EQ(preference.countOfAppsGroupWithKind().value(1), 10);
    const Row first = read[1];
    EXPECT_EQ(first.value(kName).toString().size(), 62);
    EXPECT_EQ(first.value(kDescription).toString().size(), 256);
    EXPECT_EQ(first.value(kExportFileType).toInteger(), 2);
    EXPECT_TRUE(first.value(kIsDisplay).toBool());
    EXPECT_EQ(read.last().value(kName).toString(), QStringLiteral("App 8"));

    EXPECT_EQ(preference.displayNameForApp(0), QStringLiteral("Salesforce"));
    EXPECT_TRUE(preference.isExistsAppSettingsAtIndex(0));
    EXPECT_TRUE(preference.isExistsAppSettingsAtIndex(1));
    EXPECT_FALSE(preference.isExistsAppSettingsAtIndex(99));

    ASSERT_EQ(preference.save(), 0);
    PlistValue saved;
    ASSERT_TRUE(readPlistFile(file(), saved));
    EXPECT_EQ(saved.value("Other").toString(), QStringLiteral("kept"));
    EXPECT_EQ(saved.value("Application List").toArray().size(), 11);
}

TEST_F(Preference, AddingAndUpdatingRows)
{
    PLPreferenceExtApp preference(file());
    EXPECT_EQ(preference.parse(), linkage::kMissing);
    QString firstID;
    ASSERT_EQ(preference.addOrUpdExtAppInfo(customized("First"), true, &firstID), 0);
    EXPECT_EQ(firstID.size(), 36);
    EXPECT_EQ(preference.valueForKeyAtIndex(kID, 0).toString(), firstID);

    Row update = *preference.extAppInfoByID(firstID);
    update.insert(kName, PlistValue("Renamed"));
    update.insert(kExportFileType, PlistValue(7));
    ASSERT_EQ(preference.addOrUpdExtAppInfo(update, true, nullptr), 0);
    EXPECT_EQ(preference.extAppInfoList().size(), 1);
    EXPECT_EQ(preference.valueForKeyByID(kName, firstID).toString(), QStringLiteral("Renamed"));
    EXPECT_EQ(preference.valueForKeyByID(kExportFileType, firstID).toInteger(), 2);

    for (int i = 2; i <= 10; ++i)
        ASSERT_EQ(preference.addOrUpdExtAppInfo(customized(QString::number(i)), false, nullptr), 0);
    EXPECT_EQ(preference.addOrUpdExtAppInfo(customized("11"), false, nullptr), -3008);

    // A registered application already listed is updated in place, and found where it now is.
    const QString plist = registerApp("com.example.Cards", "Card Label");
    const Row configed = PLPreferenceExtApp::newExtAppInfoConfigedDic(2, QString(), temp.filePath("moved/com.example.Cards.desktop"),
                                                                      "com.example.Cards", "d", plist, std::nullopt);
    ASSERT_EQ(preference.addOrUpdExtAppInfo(configed, true, nullptr), 0);
    ASSERT_EQ(preference.addOrUpdExtAppInfo(configed, true, nullptr), 0);
    EXPECT_EQ(preference.countOfAppsGroupWithKind().value(2), 1);
    EXPECT_EQ(preference.valueForKeyAtIndex(kLocation, 0).toString(), temp.filePath("machine/applications/com.example.Cards.desktop"));
    EXPECT_EQ(preference.displayNameForApp(0), QStringLiteral("Card Label"));

    EXPECT_EQ(preference.removeExtAppInfoByID(QStringLiteral("none")), -3004);
    EXPECT_EQ(preference.removeExtAppInfoByID(firstID), 0);
    EXPECT_EQ(preference.removeExtAppInfoAtIndex(99), -2);
    EXPECT_EQ(preference.indexOfInfoIdenticalTo(firstID), PLPreferenceExtApp::kNotFound);
}

TEST_F(Preference, AtMostFiftyRegisteredApplications)
{
    PLPreferenceExtApp preference(file());
    for (int i = 0; i < 51; ++i) {
        const QString id = QStringLiteral("com.example.app%1").arg(i);
        const Row row = PLPreferenceExtApp::newExtAppInfoConfigedDic(2, QString(), QString(), id, QString(), registerApp(id), std::nullopt);
        EXPECT_EQ(preference.addOrUpdExtAppInfo(row, false, nullptr), i < 50 ? 0 : -3008) << i;
    }
    // A row whose application is gone cannot be added.
    const Row gone = PLPreferenceExtApp::newExtAppInfoConfigedDic(2, QString(), QString(), "com.example.gone", QString(),
                                                                  temp.filePath("none.plist"), std::nullopt);
    PLPreferenceExtApp fresh(file());
    EXPECT_NE(fresh.addOrUpdExtAppInfo(gone, false, nullptr), 0);
    EXPECT_FALSE(fresh.isExistsExtAppInfo());
}

} // namespace
