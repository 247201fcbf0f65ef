#include "platform/foundation/DatabaseLock.h"
#include "tests/support/appkit/AccessibleNames.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/dbtools/FakeFileAttributes.h"
#include "tests/support/dbtools/ScriptedToolServices.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tools/dbtools/DbToolCommon.h"
#include "tools/dbtools/HelpPage.h"
#include "tools/dbtools/ToolMessages.h"
#include "tools/optimize/VSMainWindowController.h"
#include "tools/optimize/VSPasswordWndController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

class VostrandWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = env.path() + QStringLiteral("/Pelmora DB.cxdb");
        ASSERT_TRUE(TestDatabase::create(folder, {.cards = 50}));
        store = folder + QStringLiteral("/Pelmora1.sqldb");
        env.setDBPathPreference(folder);
    }
    static QString message(int number) { return ToolMessages::errorText(number, ToolVariant::Vostrand); }
    QStringList backups() const
    {
        return QDir(env.path()).entryList({QStringLiteral("*_bak*")}, QDir::AllEntries);
    }
    void expectIdle(const VSMainWindowController& c, bool executeEnabled)
    {
        EXPECT_EQ(c._percentageText->text(), QStringLiteral("0%"));
        EXPECT_EQ(c._progressBar->maximum(), 100);
        EXPECT_EQ(c._progressBar->value(), 0);
        EXPECT_TRUE(c._optimizeStatusText->text().isEmpty());
        EXPECT_TRUE(c._btnSelectPLDB->isEnabled());
        EXPECT_TRUE(c._btnHelp->isEnabled());
        EXPECT_EQ(c._btnExecute->isEnabled(), executeEnabled);
    }
    // Runs `step` on the password sheet once its modal run has started.
    static void onSheet(VSMainWindowController& c, std::function<void(VSPasswordWndController&)> step)
    {
        QTimer::singleShot(0, c._pwdWndController, [&c, step] { step(*c._pwdWndController); });
    }
    ToolTestEnvironment env{QStringLiteral("Vostrand")};
    ScriptedMessagePresenter presenter;
    ScriptedToolServices services;
    QString folder;
    QString store;
};

TEST_F(VostrandWindow, StartsIdleWithTheMainApplicationsDatabase)
{
    VSMainWindowController c;
    EXPECT_EQ(c._dbFilePath->text(), folder);
    expectIdle(c, true);
    EXPECT_EQ(c.window()->windowTitle(), DbToolCommon::getLocalString(QStringLiteral("IDS_WINDOW_TITLE")));

    env.setDBPathPreference(env.folder(QStringLiteral("not-a-database")));
    VSMainWindowController without;
    EXPECT_TRUE(without._dbFilePath->text().isEmpty());
    expectIdle(without, false);
}

TEST_F(VostrandWindow, EveryControlHasAName)
{
    VSMainWindowController c;
    EXPECT_EQ(controlsWithoutName(c.window()), QStringList());
    EXPECT_EQ(controlsWithoutName(c._pwdWndController), QStringList());
}

TEST_F(VostrandWindow, HelpButtonsOpenPagesOfTheStagedBook)
{
    FakeWorkspace workspace;
    const QString stage = qEnvironmentVariable("PELMORA_STAGE_DIR");
    HelpPage::setApplicationFolder(stage);
    VSMainWindowController c;
    c._btnHelp->click();
    c._pwdWndController->findChild<QPushButton*>(QStringLiteral("helpBtn"))->click();
    HelpPage::setApplicationFolder(QString());
    ASSERT_EQ(workspace.openedUrls.size(), 2);
    const QString book = stage + QStringLiteral("/Resources/Pelmora/Pelmora Help/");
    EXPECT_EQ(workspace.openedUrls[0].toLocalFile(), book + QStringLiteral("db_optimized.html"));
    EXPECT_EQ(workspace.openedUrls[1].toLocalFile(), book + QStringLiteral("db_password.html"));
    for (const QUrl& url : workspace.openedUrls)
        EXPECT_TRUE(QFileInfo(url.toLocalFile()).isFile()) << url.toString().toStdString();
}

TEST_F(VostrandWindow, SuccessfulRunFinishesUntilAnotherFolderIsChosen)
{
    VSMainWindowController c;
    c.doExecute();
    EXPECT_TRUE(presenter.shown().isEmpty()) << presenter.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(c._percentageText->text(), QStringLiteral("100%"));
    EXPECT_EQ(c._progressBar->value(), 100);
    EXPECT_EQ(c._optimizeStatusText->text(), DbToolCommon::getLocalString(QStringLiteral("IDS_MSG_PROCESS_END")));
    EXPECT_FALSE(c._btnExecute->isEnabled());
    EXPECT_TRUE(c._btnSelectPLDB->isEnabled());
    EXPECT_EQ(backups(), QStringList{QStringLiteral("Pelmora DB_bak.cxdb")});
    EXPECT_EQ(TestDatabase::cardCount(store), 50);

    services.chosen = {folder};
    c.doSelectPath();
    EXPECT_EQ(services.startFolders, QStringList{env.path()});
    expectIdle(c, true);

    c.doSelectPath();
    EXPECT_EQ(c._dbFilePath->text(), folder);
    services.chosen = {env.folder(QStringLiteral("plain"))};
    c.doSelectPath();
    EXPECT_EQ(c._dbFilePath->text(), folder) << "only a database folder is taken";
    c.onSelectPath({});
    expectIdle(c, true);
}

TEST_F(VostrandWindow, RunningStateDisablesEverything)
{
    VSMainWindowController c;
    c.refreshByProcessStatus(VSMainWindowController::kRunning);
    EXPECT_EQ(c._progressBar->maximum(), 0);
    EXPECT_EQ(c._optimizeStatusText->text(), DbToolCommon::getLocalString(QStringLiteral("IDS_MSG_PROCESS_BEGIN")));
    EXPECT_FALSE(c._btnSelectPLDB->isEnabled());
    EXPECT_FALSE(c._btnHelp->isEnabled());
    EXPECT_FALSE(c._btnExecute->isEnabled());
    c.refreshByProcessStatus(7);
    EXPECT_FALSE(c._btnSelectPLDB->isEnabled());
}

TEST_F(VostrandWindow, RefusalsShowTheirMessageAndChangeNothing)
{
    const QByteArray before = [&] {
        QFile f(store);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const QString notDatabase = env.folder(QStringLiteral("plain.cxdb"));
    const QString newer = env.path() + QStringLiteral("/newer.cxdb");
    ASSERT_TRUE(TestDatabase::create(newer, {.cards = 1, .databaseVersion = 3}));
    // Made at a short path first: SQLite itself cannot open paths this long.
    const QString deepParent = env.folder(QString(240, QLatin1Char('d')));
    const QString deep = deepParent + QLatin1Char('/') + QString(240, QLatin1Char('e')) + QStringLiteral(".cxdb");
    ASSERT_TRUE(TestDatabase::create(env.path() + QStringLiteral("/short.cxdb"), {.cards = 1}));
    ASSERT_TRUE(QDir().rename(env.path() + QStringLiteral("/short.cxdb"), deep));

    const struct {
        const char* name;
        QString path;
        std::function<void(FakeFileAttributes&)> attributes;
        int message;
    } cases[] = {
        {"blank path", QString(), {}, 101},
        {"not a database", notDatabase, {}, 101},
        {"newer database", newer, {}, 114},
        {"path too long", deep, {}, 108},
        {"read-only store", folder, [&](FakeFileAttributes& f) { f.set(store, FakeFileAttributes::ReadOnly); }, 104},
        {"read-only Images", folder, [&](FakeFileAttributes& f) { f.set(folder + QStringLiteral("/Images"), FakeFileAttributes::ReadOnly); }, 104},
        {"immutable folder", folder, [&](FakeFileAttributes& f) { f.set(folder, FakeFileAttributes::Immutable); }, 104},
        {"unexaminable Files", folder, [&](FakeFileAttributes& f) { f.set(folder + QStringLiteral("/Files"), FakeFileAttributes::NoAttributes); }, 1},
    };
    for (const auto& c : cases) {
        FakeFileAttributes fake;
        if (c.attributes)
            c.attributes(fake);
        presenter.clear();
        VSMainWindowController window;
        window._dbFilePath->setText(c.path);
        window.doExecute();
        EXPECT_EQ(presenter.texts().join(QLatin1Char('|')).toStdString(), message(c.message).toStdString()) << c.name;
        expectIdle(window, !c.path.isEmpty());
    }
    {
        FakeWorkspace workspace;
        workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), {}, 600 * 1024};
        presenter.clear();
        VSMainWindowController window;
        window.doExecute();
        EXPECT_EQ(presenter.texts(), QStringList{message(111)});
    }
    EXPECT_TRUE(backups().isEmpty());
    QFile after(store);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(VostrandWindow, DatabaseInUseGives103AndNothingIsCopied)
{
    int held = -1;
    ASSERT_EQ(DatabaseLock::acquire(folder, &held), DatabaseLock::Result::Locked);
    VSMainWindowController c;
    c.doExecute();
    EXPECT_EQ(presenter.texts(), QStringList{message(103)});
    EXPECT_TRUE(backups().isEmpty());
    expectIdle(c, true);
    DatabaseLock::release(held);
}

// A lock file that is a link makes the database unusable (104), not in use by another program.
TEST_F(VostrandWindow, LockFileThatIsALinkGives104AndNothingIsCopied)
{
    QFile::remove(DatabaseLock::lockFilePath(folder));
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("/Pelmora1.sqldb"), DatabaseLock::lockFilePath(folder)));
    VSMainWindowController c;
    c.doExecute();
    EXPECT_EQ(presenter.texts(), QStringList{message(104)});
    EXPECT_TRUE(backups().isEmpty());
    expectIdle(c, true);
}

TEST_F(VostrandWindow, FailingShellGives107AndKeepsTheBackup)
{
    VSMainWindowController c;
    c.setShellPath(QStringLiteral("/bin/false"));
    c.doExecute();
    EXPECT_EQ(presenter.texts(), QStringList{message(107)});
    EXPECT_EQ(backups(), QStringList{QStringLiteral("Pelmora DB_bak.cxdb")});
    EXPECT_EQ(c.lastBackupPath(), env.path() + QStringLiteral("/Pelmora DB_bak.cxdb"));
    expectIdle(c, true);
}

TEST_F(VostrandWindow, NotSqliteStoreGives107)
{
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a database");
    file.close();
    VSMainWindowController c;
    c.doExecute();
    EXPECT_EQ(presenter.texts(), QStringList{message(107)});
}

TEST_F(VostrandWindow, PasswordSheet)
{
    QFile cfg(folder + QStringLiteral("/Pelmora.CFG"));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(DbToolCommon::getMD5String(QStringLiteral("secret")).toUtf8());
    cfg.close();
    VSMainWindowController c;

    // Cancelled: silent, idle, nothing copied.
    onSheet(c, [](VSPasswordWndController& sheet) {
        EXPECT_FALSE(sheet._okBtn->isEnabled());
        sheet._passwordTextField->setText(QStringLiteral("x"));
        EXPECT_TRUE(sheet._okBtn->isEnabled());
        sheet.doCancelClick();
    });
    c.doExecute();
    EXPECT_TRUE(presenter.shown().isEmpty());
    EXPECT_TRUE(backups().isEmpty());
    expectIdle(c, true);

    // Wrong, then illegal characters: the sheet stays with an empty field; then cancelled.
    onSheet(c, [this](VSPasswordWndController& sheet) {
        sheet._passwordTextField->setText(QStringLiteral("wrong"));
        sheet.doOkClick();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_TRUE(sheet._passwordTextField->text().isEmpty());
        EXPECT_FALSE(sheet._okBtn->isEnabled());
        sheet._passwordTextField->setText(QString::fromUtf16(u"a;b\u00E9;"));
        sheet.doOkClick();
        EXPECT_EQ(presenter.texts(), (QStringList{message(109), ToolMessages::errorText(110, ToolVariant::Vostrand, {QString::fromUtf16(u";\u00E9")})}));
        sheet.doCancelClick();
    });
    c.doExecute();
    EXPECT_TRUE(backups().isEmpty());

    // The folder turned read-only while the sheet was up: 104, and the sheet ends without a run.
    presenter.clear();
    onSheet(c, [this](VSPasswordWndController& sheet) {
        FakeFileAttributes fake;
        fake.set(store, FakeFileAttributes::ReadOnly);
        sheet._passwordTextField->setText(QStringLiteral("secret"));
        sheet.doOkClick();
        EXPECT_FALSE(sheet.getPwdCheckedResult());
    });
    c.doExecute();
    EXPECT_EQ(presenter.texts(), QStringList{message(104)});
    EXPECT_TRUE(backups().isEmpty());

    // Correct: the run goes on.
    presenter.clear();
    onSheet(c, [](VSPasswordWndController& sheet) {
        sheet._passwordTextField->setText(QStringLiteral("secret"));
        sheet.doOkClick();
    });
    c.doExecute();
    EXPECT_TRUE(presenter.shown().isEmpty());
    EXPECT_EQ(c._percentageText->text(), QStringLiteral("100%"));
    EXPECT_EQ(backups().size(), 1);
}

TEST_F(VostrandWindow, OlderStoreIsOptimisedWithoutVersionQuery)
{
    const QString old = env.path() + QStringLiteral("/old.cxdb");
    ASSERT_TRUE(TestDatabase::create(old, {.cards = 5, .databaseVersion = 7, .storeName = QStringLiteral("Pelmora.sqldb")}));
    VSMainWindowController c;
    c.onSelectPath({QUrl::fromLocalFile(old)});
    c.doExecute();
    EXPECT_TRUE(presenter.shown().isEmpty()) << presenter.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFileInfo(env.path() + QStringLiteral("/old_bak.cxdb/Pelmora.sqldb")).isFile());
}

} // namespace
