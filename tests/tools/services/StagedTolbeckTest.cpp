#include "platform/foundation/PlistFile.h"
#include "platform/foundation/ServicesStatus.h"
#include "tools/services/DesktopEntryServices.h"
#include "tools/services/RegistrationSettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Runs a copy of the staged program whose Info.plist asks for no retry, so the run is quick;
// the staged Info.plist itself keeps the shipped settings.
TEST(StagedTolbeck, MergesRegistersAndExitsZero)
{
    const QString stage = qEnvironmentVariable("PELMORA_STAGE_DIR");
    ASSERT_FALSE(stage.isEmpty());
    const QString stagedResources = stage + "/Resources/Tolbeck";
    PlistValue info;
    ASSERT_TRUE(readPlistFile(stagedResources + "/Info.plist", info));
    EXPECT_EQ(registDelay(info.value(kRegistDelayKey)), 5u);
    EXPECT_EQ(registRetryCount(info.value(kRegistRetryCountKey)), 1u);

    QTemporaryDir dir;
    const QString app = dir.filePath("app");
    ASSERT_TRUE(QDir().mkpath(app + "/Resources/Tolbeck"));
    ASSERT_TRUE(QFile::copy(stage + "/Tolbeck", app + "/Tolbeck"));
    ASSERT_TRUE(QFile::copy(stagedResources + "/pbs.plist", app + "/Resources/Tolbeck/pbs.plist"));
    info.insert(kRegistRetryCountKey, 0);
    ASSERT_TRUE(writePlistFile(app + "/Resources/Tolbeck/Info.plist", info));
    QFile pelmora(app + "/Pelmora");
    ASSERT_TRUE(pelmora.open(QIODevice::WriteOnly));
    pelmora.write("#!/bin/sh\nexit 0\n");
    pelmora.close();
    ASSERT_TRUE(pelmora.setPermissions(pelmora.permissions() | QFile::ExeOwner));

    // A binary user file with a setting of its own.
    const QString config = dir.filePath("config");
    const QString userFile = config + "/com.orvane.zor/pbs.plist";
    ASSERT_TRUE(QDir().mkpath(config + "/com.orvane.zor"));
    ASSERT_TRUE(writePlistFile(userFile, PlistValue::Dictionary{{"Keep", "mine"}}, PlistFormat::Binary));

    QProcess tolbeck;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    tolbeck.setProcessEnvironment(env);
    tolbeck.start(app + "/Tolbeck", {});
    ASSERT_TRUE(tolbeck.waitForFinished(60000));
    EXPECT_EQ(tolbeck.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tolbeck.exitCode(), 0) << tolbeck.readAllStandardError().toStdString();

    PlistValue user;
    PlistFormat format{};
    ASSERT_TRUE(readPlistFile(userFile, user, &format));
    EXPECT_EQ(format, PlistFormat::Binary);
    EXPECT_EQ(user.value("Keep"), PlistValue("mine"));
    EXPECT_TRUE(user.value(kServicesStatusKey).value(kPelmoraSearchServiceKey).isDictionary());

    const QString entry = dir.filePath("data/applications/") + kDesktopEntryFileName;
    QFile entryFile(entry);
    ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entryFile.readAll());
    EXPECT_EQ(text, desktopEntryText(QDir(app).canonicalPath() + "/Pelmora", true));
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (!validator.isEmpty()) {
        EXPECT_EQ(QProcess::execute(validator, {entry}), 0);
    }
}
