// Setting plists found in the Extension folders: the newest file of each application, the user's
// folder merged with the machine's, the limit of 50 files, and where each application is found.
#include "app/linkage/ExtAppLocator.h"
#include "app/linkage/LinkageStatus.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "platform/foundation/PlistFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Dictionary = PlistValue::Dictionary;

class ConfigList : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QByteArray savedHome;
    QByteArray savedDirs;
    QString user;
    QString local;

    void SetUp() override
    {
        savedHome = qgetenv("XDG_DATA_HOME");
        savedDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", QFile::encodeName(temp.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(temp.filePath("machine")));
        user = PLConfigExtAppList::defaultExtAppExtensionFolder(true);
        local = PLConfigExtAppList::defaultExtAppExtensionFolder(false);
        ASSERT_EQ(user, temp.filePath("home") + "/ZOR/Brevix/Pelmora/Extension/");
        ASSERT_EQ(local, temp.filePath("machine") + "/ZOR/Brevix/Pelmora/Extension/");
        QDir().mkpath(user);
        QDir().mkpath(local);
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedHome);
        qputenv("XDG_DATA_DIRS", savedDirs);
    }
    // An installed application: a desktop entry in the machine's data folder.
    QString installApp(const QString& id, const QString& version = QString(), const QString& folder = QString())
    {
        const QString dir = folder.isEmpty() ? temp.filePath("machine/applications") : folder;
        QDir().mkpath(dir);
        const QString path = dir + "/" + id + ".desktop";
        QFile entry(path);
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=/bin/true %F\n");
        if (!version.isEmpty())
            entry.write("X-AppVersion=" + version.toUtf8() + "\n");
        return path;
    }
    QString writeSetting(const QString& folder, const QString& name, double version, const QString& appPath = QString())
    {
        Dictionary launch{{"Label", PlistValue(name)}};
        if (!appPath.isEmpty())
            launch.insert("AppPath", PlistValue(appPath));
        const QString path = folder + name;
        EXPECT_TRUE(writePlistFile(path, PlistValue(Dictionary{{"Launch", PlistValue(launch)},
                                                               {"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(version)}})}})));
        return path;
    }
    static QStringList settingNames(const PlistValue::Array& entries)
    {
        QStringList names;
        for (const PlistValue& entry : entries)
            names.append(QFileInfo(entry.value(kExtAppInfoPlistKey).toString()).fileName());
        return names;
    }
};

TEST_F(ConfigList, TheNewestFileOfEachApplicationWins)
{
    installApp("com.example.A");
    installApp("com.example.B");
    writeSetting(user, "com.example.A.one.plist", 2);
    writeSetting(user, "com.example.A.two.PLIST", 3);
    writeSetting(user, "com.example.B.x.plist", 1);
    writeSetting(user, "com.example.B.y.plist", 1);
    writeSetting(user, "com.example.C.z.plist", 1);   // not installed
    writeSetting(user, "noextensions.plist", 1);
    QFile(user + "com.example.A.notes.txt").open(QIODevice::WriteOnly);
    {
        QFile broken(user + "com.example.B.broken.plist");
        broken.open(QIODevice::WriteOnly);
        broken.write("<plist><dict>");
    }
    std::optional<PLConfigExtAppList> list = PLConfigExtAppList::create(user, PLConfigExtAppList::kModeFolder);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->parse(), 0);
    EXPECT_EQ(settingNames(list->extAppList()), (QStringList{"com.example.A.one.plist", "com.example.A.two.PLIST", "com.example.B.x.plist", "com.example.B.y.plist"}));
    EXPECT_EQ(settingNames(PLConfigExtAppList::filterOutNewestCfgExtApp(list->extAppList())),
              (QStringList{"com.example.A.two.PLIST", "com.example.B.x.plist"}));
    EXPECT_EQ(list->extAppList()[0].value(kExtAppLocationKey).toString(), temp.filePath("machine/applications/com.example.A.desktop"));
    EXPECT_FALSE(PLConfigExtAppList::create(user, 3).has_value());
    EXPECT_EQ(PLConfigExtAppList::create(temp.filePath("none"), PLConfigExtAppList::kModeFolder)->parse(), linkage::kNoList);
}

TEST_F(ConfigList, TheMachinesFileReplacesTheUsersOnlyWhenNewer)
{
    installApp("com.example.A");
    installApp("com.example.B");
    installApp("com.example.C");
    writeSetting(user, "com.example.A.link.plist", 2);
    writeSetting(local, "com.example.A.link.plist", 3);
    writeSetting(user, "com.example.B.link.plist", 2);
    writeSetting(local, "com.example.B.link.plist", 2);
    writeSetting(local, "com.example.C.link.plist", 1);
    const std::optional<PlistValue::Array> merged = PLConfigExtAppList::configedExtAppList(PLConfigExtAppList::kModeFolder);
    ASSERT_TRUE(merged);
    ASSERT_EQ(merged->size(), 3);
    EXPECT_EQ((*merged)[0].value(kExtAppInfoPlistKey).toString(), local + "com.example.A.link.plist");
    EXPECT_EQ((*merged)[1].value(kExtAppInfoPlistKey).toString(), user + "com.example.B.link.plist");
    EXPECT_EQ((*merged)[2].value(kExtAppInfoPlistKey).toString(), local + "com.example.C.link.plist");
    EXPECT_FALSE(PLConfigExtAppList::configedExtAppList(PLConfigExtAppList::kModeListFile));
}

TEST_F(ConfigList, AtMostFiftyFilesOfAFolderAreUsed)
{
    for (int i = 0; i < 60; ++i) {
        const QString id = QStringLiteral("com.example.app%1").arg(i, 2, 10, QLatin1Char('0'));
        installApp(id);
        writeSetting(user, id + ".link.plist", 1);
    }
    std::optional<PLConfigExtAppList> list = PLConfigExtAppList::create(user, PLConfigExtAppList::kModeFolder);
    ASSERT_EQ(list->parse(), 0);
    ASSERT_EQ(list->extAppList().size(), 50);
    EXPECT_EQ(settingNames(list->extAppList()).last(), QStringLiteral("com.example.app49.link.plist"));
}

TEST_F(ConfigList, WhereTheApplicationIsFound)
{
    const QString current = installApp("com.example.A", "10.0");
    const QString older = installApp("com.example.A", "9.2", temp.filePath("old"));
    const QString other = installApp("com.example.Other", QString(), temp.filePath("old"));
    const QString trashed = installApp("com.example.Gone", QString(), temp.filePath("home/Trash/files"));
    const struct {
        const char* name;
        QString bundle;
        QString recorded;
        QString location;
        int status;
    } cases[] = {
        {"the recorded entry", "com.example.A", current, current, 0},
        {"a recorded path that is gone", "com.example.A", temp.filePath("moved/com.example.A.desktop"), current, 0},
        {"an older version recorded: the newer one", "com.example.A", older, current, 0},
        {"another application's entry recorded", "com.example.A", other, current, 0},
        {"only in the Trash", "com.example.Gone", trashed, QString(), linkage::kAppNotFound},
        {"nowhere", "com.example.None", QString(), QString(), linkage::kAppNotFound},
    };
    for (const auto& c : cases) {
        const QString setting = writeSetting(user, c.bundle + ".link.plist", 1);
        Dictionary resolved;
        EXPECT_EQ(PLConfigExtAppList::validateExtAppConfig(PlistValue(PLConfigExtAppList::newExtAppDic(c.bundle, c.recorded, setting)), &resolved),
                  c.status) << c.name;
        EXPECT_EQ(resolved.value(kExtAppLocationKey).toString(), c.location) << c.name;
    }
    // The setting's own application path is taken as it is when it is that application's entry.
    Dictionary resolved;
    const QString setting = writeSetting(user, "com.example.A.own.plist", 1, older);
    EXPECT_EQ(PLConfigExtAppList::validateExtAppConfig(PlistValue(PLConfigExtAppList::newExtAppDic("com.example.A", QString(), setting)), &resolved), 0);
    EXPECT_EQ(resolved.value(kExtAppLocationKey).toString(), older);
    EXPECT_LT(compareVersions("9.2", "10.0"), 0);
    EXPECT_EQ(compareVersions("1.0", "1"), 0);
    EXPECT_TRUE(isInTrash(trashed));
}

} // namespace
