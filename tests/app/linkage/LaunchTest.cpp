// Handing cards to linked applications: the controller's rows, the packages each kind of
// application receives, hostile Exec lines, applications that are gone or fail to start, setting
// programs and the link test, and the messages of the linkage statuses.
#include "app/core/PLMessage.h"
#include "app/export/PLExporter.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/linkage/PLExtAppController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Dictionary = PlistValue::Dictionary;
using namespace extappkey;

class Launch : public ::testing::Test {
protected:
    QTemporaryDir temp;
    FakeWorkspace workspace;
    ScriptedMessagePresenter presenter;
    QMap<QByteArray, QByteArray> savedEnvironment;

    void SetUp() override
    {
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "TMPDIR"})
            savedEnvironment.insert(name, qgetenv(name));
        // Packages handed over stay for their application: they go into this test's own folder.
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(temp.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(temp.filePath("machine")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(temp.filePath("config")));
        qputenv("XDG_DOCUMENTS_DIR", QFile::encodeName(temp.filePath("Documents")));
        QDir().mkpath(temp.filePath("config"));
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
        workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), QString(), quint64(1) << 40};
        PLExtAppController::resetSharedController();
    }
    void TearDown() override
    {
        PLExtAppController::resetSharedController();
        for (auto it = savedEnvironment.begin(); it != savedEnvironment.end(); ++it)
            qputenv(it.key().constData(), it.value());
    }
    QString program(const QString& name)
    {
        const QString path = temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return path;
    }
    // A registered application: its desktop entry with `exec` and its setting plist in the
    // user's Extension folder.
    QString registerApp(const QString& id, const QByteArray& exec, const Dictionary& launch, const Dictionary& application = {})
    {
        QDir().mkpath(temp.filePath("machine/applications"));
        const QString entryPath = temp.filePath("machine/applications/" + id + ".desktop");
        QFile entry(entryPath);
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nIcon=" + program("icon.png").toUtf8() + "\nExec=" + exec + "\n");
        const QString folder = PLConfigExtAppList::defaultExtAppExtensionFolder(true);
        QDir().mkpath(folder);
        EXPECT_TRUE(writePlistFile(folder + id + ".link.plist", PlistValue(Dictionary{
            {"Launch", PlistValue(launch)}, {"Application", PlistValue(application)},
            {"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(1)}})}})));
        return entryPath;
    }
    static QList<CardDict> cards()
    {
        return {CardDict{{"full_Name", "Anna Berg"}, {"company", "Nordlicht"}}, CardDict{{"full_Name", "Ben Ode"}}};
    }
    PLExtAppController& controller()
    {
        PLExtAppController* shared = PLExtAppController::sharedController();
        EXPECT_NE(shared, nullptr);
        return *shared;
    }
    QString idOf(const QString& bundleOrName)
    {
        for (const PLPreferenceExtApp::Row& row : controller().preferenceExtAppObject()->extAppInfoList()) {
            if (row.value(kBundle).toString() == bundleOrName || row.value(kName).toString() == bundleOrName)
                return row.value(kID).toString();
        }
        return QString();
    }
};

TEST_F(Launch, RegisteredApplicationsAndThePlugInAreListed)
{
    registerApp("com.example.Zeta", "zeta %F", {{"Label", PlistValue("Zeta Cards")}, {"Description", PlistValue("Z")}});
    registerApp("com.example.Alpha", "alpha %F", {{"Label", PlistValue("Alpha Cards")}});
    PLExtAppController& shared = controller();
    shared.updateExtAppInfoFormList();
    QList<PLExtAppInfoForm> forms = shared.extAppInfoFormList();
    ASSERT_EQ(forms.size(), 3);
    EXPECT_EQ(forms[0].appName, QStringLiteral("Alpha Cards"));
    EXPECT_EQ(forms[1].appName, QStringLiteral("Zeta Cards"));
    EXPECT_EQ(forms[1].appDescription, QStringLiteral("Z"));
    EXPECT_EQ(forms[2].appType, 3);
    EXPECT_TRUE(forms[2].hasAppSettings);

    // The stored order is the order of the forms given; the shown flag comes from them.
    std::swap(forms[0], forms[1]);
    forms[0].isSelect = false;
    ASSERT_EQ(shared.savePreferenceBy(forms), 0);
    PLExtAppController::resetSharedController();
    controller().updateExtAppInfoFormList();
    const QList<PLExtAppInfoForm> reread = controller().extAppInfoFormList();
    ASSERT_EQ(reread.size(), 3);
    EXPECT_EQ(reread[0].appName, QStringLiteral("Zeta Cards"));
    EXPECT_FALSE(reread[0].isSelect);
}

TEST_F(Launch, EachKindReceivesItsPackage)
{
    registerApp("com.example.Cards", "\"cards viewer\" --open %F",
                {{"CardDataFileFormat", PlistValue(1)}, {"CardDataFileOption", PlistValue(1)}, {"CardImageFileFormat", PlistValue(0)}});
    PLExtAppController& shared = controller();
    ASSERT_EQ(shared.launchExtApp(idOf("com.example.Cards"), cards()), 0);
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_EQ(workspace.launches[0].first, QStringLiteral("cards viewer"));
    const QStringList arguments = workspace.launches[0].second;
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[0], QStringLiteral("--open"));
    EXPECT_EQ(QFileInfo(arguments[1]).fileName(), QStringLiteral("ExportResult.plist"));
    EXPECT_TRUE(arguments[1].startsWith(PLExporter::defaultExtentionTempDir()));
    PlistValue result;
    ASSERT_TRUE(readPlistFile(arguments[1], result));
    EXPECT_EQ(result.value("FILES").toArray().size(), 2);   // one ContactXML file per card

    // The user's own application: one vCard file with all cards, under the documents folder.
    PLExtAppInfoForm own;
    own.appLocation = program("own-viewer");
    own.appName = QStringLiteral("Own");
    own.exportFileType = 2;
    own.isSelect = true;
    ASSERT_EQ(shared.addOrUpdExtAppInfoWith(&own), 0);
    EXPECT_EQ(own.appID.size(), 36);
    ASSERT_EQ(shared.launchExtApp(own.appID, cards()), 0);
    ASSERT_EQ(workspace.launches.size(), 2);
    EXPECT_EQ(workspace.launches[1].first, own.appLocation);
    ASSERT_EQ(workspace.launches[1].second.size(), 1);
    const QString vcards = workspace.launches[1].second[0];
    EXPECT_TRUE(vcards.startsWith(temp.filePath("Documents/Pelmora/Temp/")));
    QFile file(vcards);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("BEGIN:VCARD"), 2);

    // The plug-in's row does nothing here; an unknown identifier is -2.
    EXPECT_EQ(shared.launchExtApp(idOf(kPluginBundleIdentifier), cards()), 0);
    EXPECT_EQ(shared.launchExtApp(QStringLiteral("unknown"), cards()), -2);
    EXPECT_EQ(workspace.launches.size(), 2);
}

TEST_F(Launch, NothingButTheNamedProgramIsStarted)
{
    const QByteArray hostile[] = {"viewer %F ; rm -rf /", "viewer `touch pwned` %F", "viewer $(touch pwned) %F", "viewer %F | sh"};
    int n = 0;
    for (const QByteArray& exec : hostile) {
        const QString id = QStringLiteral("com.example.Hostile%1").arg(n++);
        registerApp(id, exec, {{"CardDataFileFormat", PlistValue(2)}});
    }
    PLExtAppController& shared = controller();
    const auto packages = [] { return QDir(PLExporter::defaultExtentionTempDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
    const qsizetype before = packages();
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(shared.launchExtApp(idOf(QStringLiteral("com.example.Hostile%1").arg(i)), cards()), -3006) << hostile[i].constData();
    EXPECT_TRUE(workspace.launches.isEmpty());
    EXPECT_EQ(packages(), before) << "every package that was not handed over is removed";
}

TEST_F(Launch, ApplicationsThatAreGoneElsewhereOrFailing)
{
    const QString entry = registerApp("com.example.Cards", "viewer %F", {{"CardDataFileFormat", PlistValue(2)}});
    PLExtAppController& shared = controller();
    const QString id = idOf("com.example.Cards");

    workspace.launchSucceeds = false;
    EXPECT_EQ(shared.launchExtApp(id, cards()), -3006);
    workspace.launchSucceeds = true;
    workspace.launches.clear();

    workspace.volume->fileSystemType = QStringLiteral("nfs");
    EXPECT_EQ(shared.launchExtApp(id, cards()), -3006);
    workspace.volume->fileSystemType = QStringLiteral("ext4");

    QFile::remove(entry);
    EXPECT_EQ(shared.launchExtApp(id, cards()), -3001);
    EXPECT_TRUE(workspace.launches.isEmpty());

    // Nameless cards only: asked, then nothing.
    EXPECT_EQ(shared.launchExtApp(id, {CardDict{{"full_Name", " "}}}), 0);
    EXPECT_EQ(presenter.shown().size(), 1);
}

TEST_F(Launch, SettingProgramsAndTheLinkTest)
{
    const QString setting = program("cards-setting");
    registerApp("com.example.Set", "viewer %F", {}, {{"AppSetting", PlistValue(true)}, {"SettingExe", PlistValue(setting)}});
    registerApp("com.example.NoSet", "viewer %F", {}, {{"AppSetting", PlistValue(true)}, {"SettingExe", PlistValue(temp.filePath("gone"))}});
    PLExtAppController& shared = controller();
    ASSERT_EQ(shared.launchExtAppSetting(idOf("com.example.Set")), 0);
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_EQ(workspace.launches[0].first, setting);
    EXPECT_EQ(shared.launchExtAppSetting(idOf("com.example.NoSet")), -3001);
    workspace.launchSucceeds = false;
    EXPECT_EQ(shared.launchExtAppSetting(idOf("com.example.Set")), -3007);
    workspace.launchSucceeds = true;
    EXPECT_EQ(shared.launchExtAppSetting(idOf(kPluginBundleIdentifier)), 0);
    workspace.launches.clear();

    PLExtAppInfoForm form;
    form.appLocation = program("tester");
    form.exportFileType = 1;
    ASSERT_EQ(shared.launchExtAppForTesting(&form), 0);
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_EQ(workspace.launches[0].first, form.appLocation);
    EXPECT_EQ(QFileInfo(workspace.launches[0].second.value(0)).fileName(), QStringLiteral("DataFile1.xml"));
    EXPECT_EQ(shared.launchExtAppForTesting(nullptr), -1);
}

TEST_F(Launch, StatusesBecomeMessages)
{
    PLExtAppController& shared = controller();
    QWidget window;
    const struct {
        int code;
        const char* operation;
        int message;
    } cases[] = {
        {-2, "IDS_MSG_OPERATION_LAUNCH_EXTAPP", 118}, {-1001, "IDS_MSG_OPERATION_LAUNCH_EXTAPP", 11},
        {-4001, "IDS_MSG_OPERATION_LAUNCH_EXTAPP", 122}, {-3001, "IDS_MSG_OPERATION_LAUNCH_EXTAPP", 127},
        {-3007, "IDS_MSG_OPERATION_LAUNCH_EXTAPP_SETTING", 121}, {-3008, "IDS_MSG_OPERATION_ADD_EXTAPP", 123},
        {-2005, "IDS_MSG_OPERATION_LAUNCH_EXTAPP", 121},
    };
    for (const auto& c : cases) {
        presenter.clear();
        EXPECT_TRUE(shared.handleError(c.code, false, &window, QLatin1String(c.operation))) << c.code;
        ASSERT_EQ(presenter.texts().size(), 1) << c.code;
        EXPECT_TRUE(presenter.texts()[0].startsWith(PLMessage::errorText(c.message).left(12))) << c.code;
    }
    EXPECT_FALSE(shared.handleError(0, false, &window, QStringLiteral("IDS_MSG_OPERATION_LAUNCH_EXTAPP")));
    EXPECT_FALSE(shared.handleError(-2, false, nullptr, QStringLiteral("IDS_MSG_OPERATION_LAUNCH_EXTAPP")));
}

} // namespace
