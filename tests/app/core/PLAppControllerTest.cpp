#include "app/core/PLAppController.h"

#include "TestBundle.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/support/appkit/ManualClock.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class FakeHost : public PLMainWindowHost {
public:
    WindowHandle windowHandle() const override { return {}; }
    WindowHandle databaseWindow() override { return {}; }
    bool isWindowVisible() const override { return visible; }
    bool isWindowMiniaturized() const override { return false; }
    bool hasAttachedSheet() const override { return sheet; }
    ManagedObjectContext* managedObjectContext() override
    {
        if (!storeOpen)
            return nullptr;
        if (!context)
            context = ManagedObjectContext::open(CardStore::currentModel(), storeDir.filePath("store.sqldb"));
        return context.get();
    }
    void initDB() override { ++initDBCalls; }
    ManagedObjectContext* newDB(const QString& folder) override
    {
        if (!newDBResult || database->switchTo(folder) != OpenDatabase::Result::Opened)
            return nullptr;
        return database->context();
    }
    void setCurrentOpenedDBPath() override {}
    void saveSelectedFolderAndSelectedCard() override {}
    void saveAction() override {}
    void setClearBtnStatus() override {}
    std::optional<QString> showPwdWndAccordingToSelectedDB(const QString& path) override
    {
        ++passwordPrompts;
        if (!passwordGiven && onRefused)
            onRefused();
        return passwordGiven ? std::optional<QString>(path) : std::nullopt;
    }
    bool migrateDatabaseIfNeeded(bool, const QString&, QString*) override
    {
        ++migrations;
        return migrationResult;
    }
    void showActiveWindow() override
    {
        ++activeWindowShown;
        visible = true;
    }
    void SetWindowsize() override {}
    void showWindow() override
    {
        ++windowShown;
        visible = true;
    }
    void closeWindow() override { visible = false; }
    void activateWindow() override { ++activations; }
    bool isImageProcessing() const override { return false; }
    bool isSyncing() const override { return syncing; }
    void endFolderNameEditing() override { ++folderEditsEnded; }
    void searchText(const QString& text) override { searched = text; }
    int scanData(const QStringList& paths, int inputType, QStringList* imported) override
    {
        scans.append({paths, inputType});
        if (imported)
            *imported = paths;
        return 0;
    }

    QTemporaryDir storeDir;
    std::unique_ptr<ManagedObjectContext> context;
    OpenDatabase* database = nullptr;
    bool visible = false;
    bool sheet = false;
    bool storeOpen = true;
    bool syncing = false;
    bool newDBResult = true;
    bool passwordGiven = true;
    bool migrationResult = true;
    int initDBCalls = 0, passwordPrompts = 0, migrations = 0, activeWindowShown = 0, windowShown = 0, folderEditsEnded = 0,
        activations = 0;
    QString searched;
    QList<PLOpenFilesPair> scans;
    std::function<void()> onRefused; // the window's quit after a refused prompt at start-up
};

// Every message text is "E<number>"; questions show their key.
PlistValue::Dictionary messageTexts()
{
    PlistValue::Dictionary texts;
    for (int n : {11, 12, 14, 15, 16, 17, 48, 56, 101, 125, 219, 226, 227, 228, 229, 230, 236, 239, 241, 242, 243, 245, 246})
        texts.insert(QStringLiteral("IDS_MSG_ERR_%1").arg(n, 4, 10, QLatin1Char('0')), QStringLiteral("E%1").arg(n));
    for (const char* key : {"IDS_MSG_CONFIRM_0226", "IDS_MSG_CONFIRM_0227", "IDS_MSG_CONFIRM_0228", "IDS_MSG_CONFIRM_0229",
                            "IDS_MSG_CONFIRM_0230", "IDS_MSG_CONFIRM_0242", "IDS_MSG_CONFIRM_0243", "IDS_MSG_CONFIRM_0245",
                            "IDS_MSG_CONFIRM_0246"})
        texts.insert(QString::fromLatin1(key), QString::fromLatin1(key));
    return texts;
}

class AppControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        PreferenceDomain::setStandardDomain(QStringLiteral("com.orvane.zor.Pelmora"));
        Scheduler::shared().setClock(&clock);
        database = files.filePath(QStringLiteral("Test.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        host.database = &openDatabase;
    }
    void TearDown() override
    {
        controller.reset();
        Scheduler::shared().setClock(nullptr);
    }

    PLAppController& make(const PlistValue::Dictionary& info = {})
    {
        bundle = std::make_unique<TestBundle>(info, messageTexts());
        PLAppServices services;
        services.CheckPDF = [](const QString&) { return 3; };
        services.checkAddedFiles = [this](const QString& path) { return checkResults.value(QFileInfo(path).suffix() == "jpg" ? "jpg" : "pdf", 0); };
        services.ConvertJPEGToPDF = [this](const QString& jpeg, QString* pdf) {
            *pdf = jpeg + ".pdf";
            return convertOk;
        };
        services.divideMultiPagePDF = [this](const QString& pdf, bool* ok) {
            *ok = splitOk;
            return std::optional<QStringList>(QStringList{pdf + "_1.pdf", pdf + "_2.pdf"});
        };
        services.initDB = [this] { return chosenDatabase; };
        services.terminate = [this] { ++terminations; };
        controller = std::make_unique<PLAppController>(&host, openDatabase, services, Bundle::main());
        return *controller;
    }

    QString makeFile(const QString& name, qint64 size = 100)
    {
        QFile file(files.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.resize(size);
        return file.fileName();
    }

    QTemporaryDir config, files;
    QString database;
    QString chosenDatabase;
    ManualClock clock;
    ScriptedMessagePresenter messages;
    OpenDatabase openDatabase;
    FakeHost host;
    std::unique_ptr<TestBundle> bundle;
    std::unique_ptr<PLAppController> controller;
    QMap<QString, int> checkResults;
    bool convertOk = true;
    bool splitOk = true;
    int terminations = 0;
};

} // namespace

TEST(AppControllerSender, InputTypeByTheEndingOfTheSenderName)
{
    const std::pair<const char*, int> cases[] = {
        {"Brevix Manager", 1}, {"X Lanterly", 1}, {"Lanterly", 1}, {"Brevix Tessary", 2}, {"Finder", 5},
        {"Dock", 5}, {"CoreServicesUIAgent", 5}, {"chromium", 99}, {"", 99}, {"Brevix Manager helper", 99},
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(PLAppController::checkInputType(QString::fromUtf8(name)), type) << name;
}

TEST_F(AppControllerTest, InfoPlistSwitches)
{
    struct Case {
        PlistValue diskSize;
        uint64_t bytes;
    };
    const Case cases[] = {{PlistValue(), 524288}, {PlistValue(-1), 524288}, {PlistValue("x"), 524288}, {PlistValue(2048), 2097152}};
    for (const Case& c : cases) {
        PlistValue::Dictionary info{{"PLSyncOSJudge", "str"}};
        if (!c.diskSize.isNull())
            info.insert("PLDiskSize", c.diskSize);
        make(info);
        EXPECT_EQ(g_lDiskSize, c.bytes);
        EXPECT_TRUE(g_bSyncOSJudge);
    }
    make({{"PLSyncOSJudge", 0}});
    EXPECT_FALSE(g_bSyncOSJudge);
}

TEST_F(AppControllerTest, LeavingTheActiveStateEndsAFolderNameEdit)
{
    make();
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    ASSERT_TRUE(app);
    emit app->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(host.folderEditsEnded, 0) << "never active: nothing to resign";
    emit app->applicationStateChanged(Qt::ApplicationActive);
    emit app->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(host.folderEditsEnded, 1);
    emit app->applicationStateChanged(Qt::ApplicationHidden);
    EXPECT_EQ(host.folderEditsEnded, 1) << "once per activation";
}

TEST_F(AppControllerTest, DefaultDatabasePathFollowsTheDocumentsFolder)
{
    qputenv("XDG_DOCUMENTS_DIR", "/home/someone/Papers");
    EXPECT_EQ(PLAppController::defaultDBPath(), "/home/someone/Papers/Pelmora/Pelmora DB.cxdb");
    qunsetenv("XDG_DOCUMENTS_DIR");
}

TEST_F(AppControllerTest, LaunchWithoutPendingFilesShowsTheWindowLater)
{
    chosenDatabase = database;
    auto& app = make();
    app.applicationDidFinishLaunching();
    EXPECT_EQ(g_strCurDBPath, database);
    EXPECT_EQ(host.activeWindowShown, 0);
    clock.advance(299);
    EXPECT_EQ(host.activeWindowShown, 0);
    clock.advance(1);
    EXPECT_EQ(host.activeWindowShown, 1);
    EXPECT_FALSE(app.isOperationRunning());
}

TEST_F(AppControllerTest, PasswordCancelledAtLaunchKeepsThePreviousPathAndShowsNothing)
{
    chosenDatabase = database;
    QFile cfg(database + "/Pelmora.CFG");
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write("900150983cd24fb0d6963f7d28e17f72");
    cfg.close();
    host.passwordGiven = false;
    auto& app = make();
    app.applicationDidFinishLaunching();
    clock.advance(1000);
    EXPECT_EQ(host.passwordPrompts, 1);
    EXPECT_TRUE(g_strCurDBPath.isEmpty());
    EXPECT_EQ(host.activeWindowShown + host.windowShown, 0);
    EXPECT_EQ(host.migrations, 0);
    EXPECT_FALSE(app.isOperationRunning());
}

// A protected folder handed over before launch ended and refused there must not open behind the
// prompt when the launch then picks the same folder from the preference; a quit asked for during
// the refusal ends the launch sequence.
TEST_F(AppControllerTest, RefusedPasswordNeverLeavesTheDatabaseOpen)
{
    QFile cfg(database + "/Pelmora.CFG");
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write("900150983cd24fb0d6963f7d28e17f72");
    cfg.close();
    chosenDatabase = database;
    host.passwordGiven = false;
    auto& app = make();
    app.applicationOpenFiles({database}, "Finder");
    app.applicationDidFinishLaunching();
    clock.advance(1000);
    EXPECT_EQ(host.passwordPrompts, 2);
    EXPECT_TRUE(g_strCurDBPath.isEmpty());
    EXPECT_EQ(host.migrations, 0);
    EXPECT_EQ(host.activeWindowShown + host.windowShown, 0);

    // Declining a new database in place of the refused one quits: nothing of the launch follows.
    host.passwordPrompts = 0;
    host.onRefused = [&] { controller->terminate(); };
    auto& again = make();
    again.applicationOpenFiles({database}, "Finder");
    again.applicationDidFinishLaunching();
    clock.advance(1000);
    EXPECT_EQ(host.passwordPrompts, 1);
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(g_strCurDBPath.isEmpty());
    EXPECT_EQ(host.activeWindowShown + host.windowShown + host.migrations, 0);
}

TEST_F(AppControllerTest, MigrationDeclinedKeepsPendingScannerFiles)
{
    for (bool display : {true, false}) {
        PreferenceDomain::standard().setValue("General display items", display);
        chosenDatabase = database;
        host.migrationResult = false;
        host.scans.clear();
        host.windowShown = 0;
        host.activations = 0;
        host.visible = false;
        host.migrationResult = false;
        messages.clear();
        terminations = 0;
        const QString scan = makeFile("scan.pdf");
        auto& app = make({{"Delete Import Images", true}});
        app.applicationOpenFiles({scan}, "Brevix Manager");
        app.applicationDidFinishLaunching();
        clock.advance(1000);
        EXPECT_EQ(messages.texts(), QStringList{"E101"});
        EXPECT_TRUE(QFile::exists(scan)) << "a scan that was not imported is kept";
        EXPECT_TRUE(host.scans.isEmpty());
        EXPECT_EQ(terminations, display ? 0 : 1);
        EXPECT_EQ(host.windowShown, display ? 1 : 0);
        EXPECT_EQ(host.activations, display ? 1 : 0) << "the window is brought to the front through the host";
        openDatabase.choose(QString());
    }
}

TEST_F(AppControllerTest, PendingFilesAreLoadedAfterTheWindowShowsAndImportedScansDeleted)
{
    chosenDatabase = database;
    const QString scan = makeFile("scan.pdf");
    auto& app = make();
    app.applicationOpenFiles({scan}, "Brevix Manager");
    app.applicationDidFinishLaunching();
    EXPECT_EQ(host.activeWindowShown, 1);
    EXPECT_TRUE(host.scans.isEmpty());
    clock.advance(0);
    ASSERT_EQ(host.scans.size(), 1);
    EXPECT_EQ(host.scans.first().inputType, 1);
    EXPECT_FALSE(QFile::exists(scan));
}

TEST_F(AppControllerTest, HiddenModeQuitsAfterTheLastPendingLoad)
{
    PreferenceDomain::standard().setValue("General display items", false);
    chosenDatabase = database;
    auto& app = make();
    app.applicationOpenFiles({makeFile("a.pdf")}, "Brevix Manager");
    app.applicationOpenFiles({makeFile("b.pdf")}, "Brevix Manager");
    app.applicationDidFinishLaunching();
    EXPECT_TRUE(app.isHideAppLoading());
    EXPECT_EQ(host.initDBCalls, 1);
    EXPECT_EQ(host.scans.size(), 1);
    EXPECT_EQ(terminations, 0);
    clock.advance(999);
    EXPECT_EQ(terminations, 0);
    clock.advance(1);
    EXPECT_EQ(host.scans.size(), 2);
    EXPECT_EQ(terminations, 1) << "the quit due after the first load comes once the second has run";
    EXPECT_EQ(app.loadCount(), 0);
}

TEST_F(AppControllerTest, ScannerFilesMustBeCardPdfs)
{
    chosenDatabase = database;
    auto& app = make();
    app.applicationDidFinishLaunching();
    app.applicationOpenFiles({makeFile("a.pdf"), makeFile("b.jpg")}, "Brevix Manager");
    clock.advance(1000);
    EXPECT_TRUE(messages.texts().contains("E15"));
    EXPECT_TRUE(host.scans.isEmpty());
}

TEST_F(AppControllerTest, NoStoreRefusesFilesWithoutDeletingScans)
{
    chosenDatabase = database;
    auto& app = make();
    app.applicationDidFinishLaunching();
    host.storeOpen = false;
    const QString scan = makeFile("a.pdf");
    app.applicationOpenFiles({scan}, "Brevix Manager");
    app.applicationOpenFiles({makeFile("b.pdf")}, "Finder");
    EXPECT_EQ(messages.texts(), (QStringList{"E101", "E241"}));
    EXPECT_TRUE(QFile::exists(scan));
}

TEST_F(AppControllerTest, LockedDatabaseFolderIsRefused)
{
    chosenDatabase = database;
    auto& app = make();
    app.applicationDidFinishLaunching();
    int fd = -1;
    ASSERT_EQ(DatabaseLock::acquire(database, &fd), DatabaseLock::Result::Locked);
    openDatabase.choose(QString());
    app.applicationOpenFiles({database}, "Finder");
    DatabaseLock::release(fd);
    EXPECT_EQ(messages.texts(), QStringList{"E17"});
    EXPECT_EQ(host.migrations, 1) << "only the launch migrated";
}

TEST_F(AppControllerTest, OpeningADatabaseFolderSwitchesAndRemembersIt)
{
    chosenDatabase = database;
    auto& app = make();
    app.applicationDidFinishLaunching();
    const QString other = files.filePath("Other.cxdb");
    QDir().mkpath(other);
    app.applicationOpenFiles({other}, "Finder");
    EXPECT_EQ(g_strCurDBPath, other);
    EXPECT_EQ(PreferenceDomain::standard().value("DB path").toString(), other);

    host.newDBResult = false;
    app.applicationOpenFiles({database}, "Finder");
    EXPECT_EQ(g_strCurDBPath, other) << "a database that cannot be opened leaves the old one open";
    EXPECT_EQ(messages.texts(), QStringList{"E12"});
}

TEST_F(AppControllerTest, SpaceDemandedByANormalLoad)
{
    EXPECT_EQ(PLAppController::spaceNeededForLoad({makeFile("a.jpg"), makeFile("b.pdf")}), 300u + 524288u);
}

TEST_F(AppControllerTest, StagingTable)
{
    auto& app = make();
    const QString folder = files.filePath("folder");
    QDir().mkpath(folder);

    // A folder alone.
    EXPECT_FALSE(app.prepareInputFilesToAnalyze({folder}));
    EXPECT_EQ(messages.texts().last(), "E246");

    // Two folders among files: one question, the second skipped silently.
    const QString folder2 = files.filePath("folder2");
    QDir().mkpath(folder2);
    messages.clear();
    auto staged = app.prepareInputFilesToAnalyze({makeFile("a.pdf"), folder, makeFile("b.jpg"), folder2});
    ASSERT_TRUE(staged);
    EXPECT_EQ(messages.texts(), QStringList{"IDS_MSG_CONFIRM_0246"});
    EXPECT_EQ(staged->size(), 3) << "two split pages and one converted JPEG";
    for (const QString& path : app.toBeDeletedInBackFolder())
        EXPECT_TRUE(path.startsWith(app.tempFolderPath()));

    // A bad extension alone, then each check result.
    messages.clear();
    EXPECT_FALSE(app.prepareInputFilesToAnalyze({makeFile("notes.txt")}));
    EXPECT_EQ(messages.texts().last(), "E230");
    const std::tuple<int, const char*, const char*> checks[] = {
        {-1, "pdf", "E245"}, {-2, "pdf", "E226"}, {-3, "pdf", "E227"}, {-4, "pdf", "E228"}, {-201, "pdf", "E243"}, {-201, "jpg", "E242"},
    };
    for (const auto& [result, suffix, text] : checks) {
        checkResults = {{QString::fromLatin1(suffix), result}};
        messages.clear();
        staged = app.prepareInputFilesToAnalyze({makeFile(QStringLiteral("card.%1").arg(suffix))});
        ASSERT_TRUE(staged);
        EXPECT_TRUE(staged->isEmpty()) << text;
        EXPECT_EQ(messages.texts(), QStringList{text});
    }

    // 229 warns: Read goes on, Cancel ends with what was staged.
    checkResults = {{"pdf", -5}};
    messages.clear();
    staged = app.prepareInputFilesToAnalyze({makeFile("big.pdf")});
    EXPECT_EQ(staged->size(), 2);
    messages.queueAnswer(kAlertSecondButtonReturn);
    staged = app.prepareInputFilesToAnalyze({makeFile("big.pdf")});
    EXPECT_TRUE(staged->isEmpty());

    // Conversion and split failures.
    checkResults.clear();
    convertOk = false;
    messages.clear();
    staged = app.prepareInputFilesToAnalyze({makeFile("c.jpg"), makeFile("d.pdf")});
    EXPECT_EQ(messages.texts(), QStringList{"IDS_MSG_CONFIRM_0242"});
    EXPECT_EQ(staged->size(), 2);
    splitOk = false;
    EXPECT_FALSE(app.prepareInputFilesToAnalyze({makeFile("d.pdf")}));

    app.cleanStagingFolder();
    EXPECT_FALSE(QFileInfo::exists(app.tempFolderPath()));
}

TEST_F(AppControllerTest, StagingSizeLimitIsOneGibibyte)
{
    auto& app = make();
    const qint64 half = PLAppController::kMaxStagingBytes / 2;
    // Unsupported files are never copied, so sparse files show the size rule alone.
    auto staged = app.prepareInputFilesToAnalyze({makeFile("a.txt", half), makeFile("b.txt", half)});
    ASSERT_TRUE(staged);
    EXPECT_FALSE(messages.texts().contains("E236"));
    messages.clear();
    EXPECT_FALSE(app.prepareInputFilesToAnalyze({makeFile("a.txt", half), makeFile("b.txt", half + 1)}));
    EXPECT_EQ(messages.texts(), QStringList{"E236"});
}

TEST_F(AppControllerTest, MenuValidationAndServicesSearch)
{
    auto& app = make();
    EXPECT_TRUE(app.validateMenuItem(PLAppCommand::NewDatabase));
    host.syncing = true;
    EXPECT_FALSE(app.validateMenuItem(PLAppCommand::OpenDatabase));
    EXPECT_FALSE(app.validateMenuItem(PLAppCommand::BackupDatabase));
    host.syncing = false;
    host.sheet = true;
    EXPECT_FALSE(app.validateMenuItem(PLAppCommand::OnlineUpdate));
    host.sheet = false;
    EXPECT_FALSE(app.validateMenuItem(PLAppCommand::Other));

    QString error;
    app.searchFromTextService(QStringLiteral("Yamada"), &error);
    EXPECT_EQ(host.searched, "Yamada");
    app.searchFromTextService(std::nullopt, &error);
    EXPECT_EQ(error, "pboard couldn't give string.");
}

TEST_F(AppControllerTest, ThousandsOfFilesAtOnceReachTheImportTogether)
{
    chosenDatabase = database;
    auto& app = make();
    app.applicationDidFinishLaunching();
    host.visible = true;
    QFile store(database + "/Pelmora1.sqldb");
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.close();
    QStringList paths;
    for (int i = 0; i < 2000; ++i)
        paths.append(files.filePath(QStringLiteral("card%1.pdf").arg(i)));
    app.applicationOpenFiles(paths, "Finder");
    clock.advance(0);
    ASSERT_EQ(host.scans.size(), 1);
    EXPECT_EQ(host.scans.first().paths.size(), 2000);
    EXPECT_EQ(host.scans.first().inputType, 5);
}

TEST_F(AppControllerTest, NoDatabaseAtLaunchStillShowsTheWindow)
{
    host.migrationResult = false;
    auto& app = make();
    app.applicationDidFinishLaunching();
    EXPECT_TRUE(g_strCurDBPath.isEmpty());
    EXPECT_EQ(host.windowShown, 1);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(app.isOperationRunning());
}

TEST_F(AppControllerTest, ShutdownStoresThePathTypeOnlyWhenOneWasRecorded)
{
    auto& app = make();
    g_DBPathType = -1;
    app.applicationWillTerminate();
    EXPECT_FALSE(PreferenceDomain::standard().contains("DB type"));
    g_DBPathType = 3;
    app.applicationWillTerminate();
    EXPECT_EQ(PreferenceDomain::standard().value("DB type").toInteger(), 3);
    g_DBPathType = -1;

    app.onlineUpdate();
    EXPECT_EQ(messages.texts(), QStringList{"E125"}) << "no update program is installed here";
}

// An arriving file is staged without its bytes being written again where the volume allows (a
// second name for it), else copied; either way the staged file reads as the original, and
// cleaning the staging leaves the original as it was.
TEST_F(AppControllerTest, StagedFilesReadAsTheOriginalAndLeaveItInPlace)
{
    PLAppController& app = make();
    QTemporaryDir otherVolume(QStringLiteral("/dev/shm/pelmora-test-XXXXXX"));
    QStringList folders{files.path()};
    if (otherVolume.isValid())
        folders << otherVolume.path();
    for (const QString& folder : std::as_const(folders)) {
        const QString original = folder + QStringLiteral("/card.pdf");
        QFile file(original);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4 a card");
        file.close();
        const std::optional<QStringList> staged = app.prepareInputFilesToAnalyze({original});
        ASSERT_TRUE(staged);
        const QString copy = app.toBeDeletedInBackFolder().value(0);
        ASSERT_TRUE(copy.startsWith(app.tempFolderPath())) << copy.toStdString();
        QFile stagedFile(copy);
        ASSERT_TRUE(stagedFile.open(QIODevice::ReadOnly));
        EXPECT_EQ(stagedFile.readAll(), "%PDF-1.4 a card");
        struct stat source {
        }, target{};
        ASSERT_EQ(::stat(QFile::encodeName(original).constData(), &source), 0);
        ASSERT_EQ(::stat(QFile::encodeName(copy).constData(), &target), 0);
        if (source.st_dev == target.st_dev) {
            EXPECT_EQ(source.st_ino, target.st_ino) << "the same volume: a second name, no copy";
        }
        app.cleanStagingFolder();
        EXPECT_FALSE(QFileInfo::exists(copy));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "%PDF-1.4 a card");
    }
}
