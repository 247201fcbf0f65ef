// Setting plists opened with the application are installed into the user's Extension folder;
// at start-up pending copies replace older files and applications found nowhere are dropped.
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLExtAppController.h"
#include "platform/foundation/PlistFile.h"
#include "tests/support/workspace/SmallVolume.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Dictionary = PlistValue::Dictionary;
using namespace extappkey;

class Install : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QMap<QByteArray, QByteArray> saved;
    QString folder;

    void SetUp() override
    {
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME"})
            saved.insert(name, qgetenv(name));
        qputenv("XDG_DATA_HOME", QFile::encodeName(temp.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(temp.filePath("machine")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(temp.filePath("config")));
        QDir().mkpath(temp.filePath("config"));
        folder = PLConfigExtAppList::defaultExtAppExtensionFolder(true);
    }
    void TearDown() override
    {
        for (auto it = saved.begin(); it != saved.end(); ++it)
            qputenv(it.key().constData(), it.value());
    }
    QString setting(const QString& name, const PlistValue& version)
    {
        const QString path = temp.filePath(name);
        EXPECT_TRUE(writePlistFile(path, PlistValue(Dictionary{{"Info", PlistValue(Dictionary{{"FileVersion", version}})}})));
        return path;
    }
    QString installApp(const QString& id)
    {
        QDir().mkpath(temp.filePath("machine/applications"));
        const QString path = temp.filePath("machine/applications/" + id + ".desktop");
        QFile entry(path);
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=x\nExec=x %F\n");
        return path;
    }
    QStringList installed() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
};

TEST_F(Install, APlistIsInstalledAndASecondOneWaitsForTheNextStart)
{
    EXPECT_EQ(PLExtAppController::installExtAppLnkConfigFile(setting("com.example.Cards.first.plist", PlistValue(1))),
              folder + "com.example.Cards.first.plist");
    EXPECT_EQ(PLExtAppController::installExtAppLnkConfigFile(setting("com.example.Cards.second.plist", PlistValue(2))),
              folder + "com.example.Cards.second.plist.bak");
    EXPECT_EQ(installed(), (QStringList{"com.example.Cards.first.plist", "com.example.Cards.second.plist.bak"}));
    PLExtAppController::cleanOldCfgFileIfNewOneExists();
    EXPECT_EQ(installed(), QStringList{"com.example.Cards.second.plist"});
}

TEST_F(Install, BadPlistsAreRefused)
{
    const QString binary = temp.filePath("com.example.Bin.x.plist");
    ASSERT_TRUE(writePlistFile(binary, PlistValue(Dictionary{{"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(1)}})}}), PlistFormat::Binary));
    EXPECT_FALSE(PLExtAppController::installExtAppLnkConfigFile(binary).isEmpty()) << "binary property lists are read";

    QFile truncated(temp.filePath("com.example.Cut.x.plist"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write("<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>Info</key><dict><key>FileVer");
    truncated.close();
    QFile huge(temp.filePath("com.example.Huge.x.plist"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(QByteArray(10 * 1024 * 1024, 'x'));
    huge.close();
    const QString cases[] = {
        setting("com.example.Zero.x.plist", PlistValue(0)), setting("noname.plist", PlistValue(1)),
        setting("com.example.Text.x.plist", PlistValue("1")), truncated.fileName(), huge.fileName(),
        setting(QString::fromUtf8("com.example.Ünïcode.x.txt"), PlistValue(1)), QString(),
    };
    for (const QString& path : cases)
        EXPECT_TRUE(PLExtAppController::installExtAppLnkConfigFile(path).isEmpty()) << path.toStdString();
    EXPECT_EQ(installed(), QStringList{"com.example.Bin.x.plist"});
}

TEST_F(Install, ApplicationsFoundNowhereAreDropped)
{
    QDir().mkpath(folder);
    const QString kept = installApp("com.example.Kept");
    installApp("com.example.Moved");
    const QString keptPlist = setting("x", PlistValue(1));
    for (const char* name : {"com.example.Gone.link.plist", "com.example.Gone.old.plist", "com.example.Kept.link.plist", "com.example.Moved.link.plist"})
        QFile::copy(keptPlist, folder + name);
    PlistValue::Array rows{
        PlistValue(PLPreferenceExtApp::newExtAppInfoConfigedDic(2, "1", kept, "com.example.Kept", "", folder + "com.example.Kept.link.plist", std::nullopt)),
        PlistValue(PLPreferenceExtApp::newExtAppInfoConfigedDic(2, "2", temp.filePath("gone/app"), "com.example.Gone", "",
                                                                folder + "com.example.Gone.link.plist", std::nullopt)),
        PlistValue(PLPreferenceExtApp::newExtAppInfoConfigedDic(2, "3", temp.filePath("old/com.example.Moved.desktop"), "com.example.Moved", "",
                                                                folder + "com.example.Moved.link.plist", std::nullopt)),
    };
    ASSERT_TRUE(writePlistFile(PLPreferenceExtApp::defaultPreferenceFilePath(), PlistValue(Dictionary{{"Application List", PlistValue(rows)}})));
    EXPECT_TRUE(PLExtAppController::cleanCfgFileIfAppUnInstalled());
    EXPECT_EQ(installed(), (QStringList{"com.example.Kept.link.plist", "com.example.Moved.link.plist"}));
    PlistValue preference;
    ASSERT_TRUE(readPlistFile(PLPreferenceExtApp::defaultPreferenceFilePath(), preference));
    EXPECT_EQ(preference.value("Application List").toArray().size(), 2);
    EXPECT_FALSE(PLExtAppController::cleanCfgFileIfAppUnInstalled()) << "nothing more to drop";
}

} // namespace

// A full disk under the Extension folder: the install fails and the installed file stays whole.
TEST_F(Install, AFullDiskKeepsTheInstalledPlist)
{
    SmallVolume volume(1, folder);
    SKIP_WITHOUT_VOLUME(volume);
    const auto padded = [](int version) {
        return PlistValue(Dictionary{{"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(version)}})},
                                     {"Padding", PlistValue(QString(200000, QLatin1Char('p')))}});
    };
    ASSERT_TRUE(writePlistFile(folder + "com.example.Cards.first.plist", padded(1)));
    const QString second = temp.filePath("com.example.Cards.first.plist");
    ASSERT_TRUE(writePlistFile(second, padded(2)));
    volume.fill(64 * 1024);
    EXPECT_TRUE(PLExtAppController::installExtAppLnkConfigFile(second).isEmpty());
    PLExtAppController::cleanOldCfgFileIfNewOneExists();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{".filler", "com.example.Cards.first.plist"}));
    PlistValue kept;
    ASSERT_TRUE(readPlistFile(folder + "com.example.Cards.first.plist", kept));
    EXPECT_EQ(kept.value("Info").value("FileVersion").toInteger(), 1);
}
