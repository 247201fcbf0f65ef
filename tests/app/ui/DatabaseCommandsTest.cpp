#include "app/core/DatabasePassword.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/core/windows/PLPasswordController.h"
#include "app/core/PLAppController.h"
#include "app/core/PLDatabaseCommands.h"
#include "app/core/PLDatabasePanels.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/PLMergeHost.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/cardstores/CardStoreFixtures.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>

namespace {

namespace F = CardStoreFixtures;

class ScriptedPanels : public PLDatabasePanels {
public:
    std::deque<QString> answers;
    QList<Request> requests;

    ScriptedPanels() { setCurrent(this); }
    ~ScriptedPanels() override { setCurrent(nullptr); }
    QString runSavePanel(const Request& request) override { return next(request); }
    QString runOpenPanel(const Request& request) override { return next(request); }

private:
    QString next(const Request& request)
    {
        requests.append(request);
        if (answers.empty())
            return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

PlistValue::Dictionary texts()
{
    PlistValue::Dictionary strings;
    for (int number : {12, 13, 17, 20, 34, 48, 56, 135, 220, 222})
        strings.insert(QStringLiteral("IDS_MSG_ERR_%1").arg(number, 4, 10, QLatin1Char('0')), PlistValue(QStringLiteral("E%1").arg(number)));
    strings.insert(QStringLiteral("IDS_MSG_ERR_0220"), PlistValue(QStringLiteral("E220 %@")));
    strings.insert(QStringLiteral("IDS_MAINWINDOW_DETABASE_PATH"), PlistValue(QStringLiteral("Database")));
    return strings;
}

// A main window whose switch fails, to show what the commands do then.
class RefusingMainWindow : public PLMainWindowController {
public:
    using PLMainWindowController::PLMainWindowController;
    ManagedObjectContext* newDB(const QString&) override { return nullptr; }
};

class DatabaseCommands : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{}, texts()};
    ScriptedMessagePresenter presenter;
    ScriptedPanels panels;
    QString current;
    OpenDatabase openDatabase;

    void SetUp() override
    {
        // Selecting a card without a front image writes its placeholder from the card template.
        QFile templateFile(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora/Original.pdf"));
        ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
        bundle.writeRaw(QStringLiteral("Original.pdf"), templateFile.readAll());
        PreferenceDomain::setStandardDomain(QStringLiteral("test.commands"), temp.filePath(QStringLiteral("prefs")));
        qputenv("XDG_DOCUMENTS_DIR", temp.filePath(QStringLiteral("Documents")).toUtf8());
        current = makeDatabase(QStringLiteral("Current.cxdb"));
        openDatabase.choose(current);
    }
    void TearDown() override { qunsetenv("XDG_DOCUMENTS_DIR"); }
    QString makeDatabase(const QString& name)
    {
        const QString folder = temp.filePath(name);
        QDir().mkpath(folder + QStringLiteral("/Images"));
        EXPECT_TRUE(F::writeStore(folder + QStringLiteral("/Pelmora1.sqldb"), true, 2, F::numberedCards(3, QStringLiteral("1"))));
        return folder;
    }
    static QString dbPath() { return PreferenceDomain::standard().value(QStringLiteral("DB path")).toString(); }
    // Runs the queued command the panel handed over.
    static void runQueued() { QCoreApplication::processEvents(); }
};

TEST_F(DatabaseCommands, MainWindowOpensSeedsAndLocksTheDatabase)
{
    PLMainWindowController window(openDatabase);
    ManagedObjectContext* seen = nullptr;
    QObject::connect(&window, &PLMainWindowController::managedObjectContextChanged, [&](ManagedObjectContext* c) { seen = c; });
    window.initDB();
    ASSERT_NE(window.managedObjectContext(), nullptr);
    EXPECT_EQ(seen, window.managedObjectContext());
    EXPECT_EQ(window.dbPathField()->text(), QStringLiteral("Database : ") + current);
    EXPECT_EQ(window.dbPathField()->toolTip(), window.dbPathField()->text());
    EXPECT_EQ(DatabaseLock::probe(current), DatabaseLock::Result::InUse);
    const F::StoreContents contents = F::readStore(current + QStringLiteral("/Pelmora1.sqldb"));
    EXPECT_EQ(contents.folderCount, 3); // the store had its folders: nothing added
    EXPECT_EQ(contents.versionValues.size(), 1);

    // A store that cannot be opened keeps the old database open and locked.
    const QString broken = temp.filePath(QStringLiteral("Broken.cxdb"));
    QDir().mkpath(broken);
    QFile garbage(broken + QStringLiteral("/Pelmora1.sqldb"));
    garbage.open(QIODevice::WriteOnly);
    garbage.write(QByteArray(2048, 'x'));
    garbage.close();
    ManagedObjectContext* before = window.managedObjectContext();
    EXPECT_EQ(window.newDB(broken), nullptr);
    EXPECT_EQ(window.managedObjectContext(), before);
    EXPECT_EQ(g_strCurDBPath, current);
    EXPECT_EQ(DatabaseLock::probe(current), DatabaseLock::Result::InUse);

    window.closeDatabase();
    EXPECT_EQ(seen, nullptr);
    EXPECT_EQ(DatabaseLock::probe(current), DatabaseLock::Result::Locked);
}

TEST_F(DatabaseCommands, RefusalsLeaveTheOpenDatabase)
{
    PLMainWindowController window(openDatabase);
    window.initDB();
    PLDatabaseCommands commands(openDatabase, window);
    const QString held = makeDatabase(QStringLiteral("Held.cxdb"));
    int holder = -1;
    ASSERT_EQ(DatabaseLock::acquire(held, &holder), DatabaseLock::Result::Locked);
    const QString longPath = temp.filePath(QString(240, QLatin1Char('a')) + QLatin1Char('/') + QString(250, QLatin1Char('b')) + QStringLiteral(".cxdb"));
    QDir().mkpath(QFileInfo(longPath).absolutePath());
    const QString broken = temp.filePath(QStringLiteral("Broken.cxdb"));
    QDir().mkpath(broken);
    QFile garbage(broken + QStringLiteral("/Pelmora1.sqldb"));
    garbage.open(QIODevice::WriteOnly);
    garbage.write(QByteArray(2048, 'x'));
    garbage.close();
    QFile::link(current, temp.filePath(QStringLiteral("Link.cxdb")));
    // A database whose lock file is a link to a file of someone else's.
    const QString linked = makeDatabase(QStringLiteral("Linked.cxdb"));
    QFile other(temp.filePath(QStringLiteral("other")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    ASSERT_TRUE(QFile::link(other.fileName(), linked + QStringLiteral("/.PLLock.pllk")));

    struct Case {
        const char* name;
        std::function<void()> command;
        QStringList texts;
    };
    const Case cases[] = {
        {"new: the open database", [&] { commands.doNewDB(current); }, {QStringLiteral("E13")}},
        {"open: the open database", [&] { commands.doOpenDB(current); }, {}},
        {"back up: the open database", [&] { commands.doBackupDB(current); }, {QStringLiteral("E34")}},
        {"back up: the open database through a link", [&] { commands.doBackupDB(temp.filePath(QStringLiteral("Link.cxdb"))); }, {QStringLiteral("E34")}},
        {"new: inside the open database", [&] { commands.doNewDB(current + QStringLiteral("/Current.cxdb")); }, {QStringLiteral("E34")}},
        {"new: in a folder of the open database", [&] { commands.doNewDB(current + QStringLiteral("/Images/New.cxdb")); }, {QStringLiteral("E34")}},
        {"new: inside another database", [&] { commands.doNewDB(held + QStringLiteral("/New.cxdb")); }, {QStringLiteral("E34")}},
        {"back up: inside another database", [&] { commands.doBackupDB(held + QStringLiteral("/Images/Copy.cxdb")); }, {QStringLiteral("E34")}},
        {"back up: inside the open database", [&] { commands.doBackupDB(current + QStringLiteral("/Images/Copy.cxdb")); }, {QStringLiteral("E34")}},
        {"back up: over a folder holding the open database", [&] { commands.doBackupDB(temp.path()); }, {QStringLiteral("E34")}},
        {"new: store path too long", [&] { commands.doNewDB(longPath); }, {QStringLiteral("E222")}},
        {"back up: store path too long", [&] { commands.doBackupDB(longPath); }, {QStringLiteral("E222")}},
        {"new: lock held", [&] { commands.doNewDB(held); }, {QStringLiteral("E17")}},
        {"open: lock held", [&] { commands.doOpenDB(held); }, {QStringLiteral("E17")}},
        {"back up: lock held", [&] { commands.doBackupDB(held); }, {QStringLiteral("E17")}},
        {"new: lock file a link", [&] { commands.doNewDB(linked); }, {QStringLiteral("E12")}},
        {"open: lock file a link", [&] { commands.doOpenDB(linked); }, {QStringLiteral("E12")}},
        {"back up: lock file a link", [&] { commands.doBackupDB(linked); }, {QStringLiteral("E12")}},
        {"open: a store that cannot be opened", [&] { commands.doOpenDB(broken); }, {QStringLiteral("E12")}},
    };
    const auto snapshot = F::snapshotFolder(current);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        presenter.clear();
        c.command();
        EXPECT_EQ(presenter.texts(), c.texts);
        EXPECT_EQ(g_strCurDBPath, current);
        EXPECT_NE(window.managedObjectContext(), nullptr);
        EXPECT_EQ(DatabaseLock::probe(current), DatabaseLock::Result::InUse);
        EXPECT_EQ(F::snapshotFolder(current), snapshot);
    }
    EXPECT_FALSE(QFileInfo::exists(longPath));
    EXPECT_FALSE(QFileInfo::exists(current + QStringLiteral("/Current.cxdb")));
    EXPECT_FALSE(QFileInfo::exists(held + QStringLiteral("/New.cxdb")));
    EXPECT_TRUE(dbPath().isEmpty());
    DatabaseLock::release(holder);
}

TEST_F(DatabaseCommands, SavePanelTakesTheProposedDatabaseFolderWithoutEnteringIt)
{
    PLDatabasePanels::setCurrent(nullptr);
    DialogDatabasePanels dialogs;
    PLDatabasePanels::Request request;
    request.directory = temp.path();
    request.name = QStringLiteral("Current.cxdb");
    request.allowedTypes = {QStringLiteral("cxdb")};
    int accepts = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        // Accepting the proposed name, as the user would; a dialog still open after that entered the folder.
        if (accepts < 2) {
            ++accepts;
            QMetaObject::invokeMethod(dialog, "accept");
        } else {
            dialog->reject();
        }
    });
    poll.start(20);
    const QString chosen = dialogs.runSavePanel(request);
    poll.stop();
    PLDatabasePanels::setCurrent(&panels);
    EXPECT_EQ(accepts, 1);
    EXPECT_EQ(chosen, current);
}

TEST_F(DatabaseCommands, NewOpenAndBackUpSwitchAndRecordThePath)
{
    PLMainWindowController window(openDatabase);
    window.initDB();
    PLDatabaseCommands commands(openDatabase, window);

    const QString created = temp.filePath(QStringLiteral("New.cxdb"));
    panels.answers.push_back(created);
    commands.newDatabase();
    ASSERT_EQ(panels.requests.size(), 1);
    EXPECT_EQ(panels.requests.first().directory, temp.path());
    EXPECT_EQ(panels.requests.first().name, QStringLiteral("Current.cxdb"));
    runQueued();
    EXPECT_EQ(g_strCurDBPath, created);
    EXPECT_EQ(dbPath(), created);
    EXPECT_EQ(F::readStore(created + QStringLiteral("/Pelmora1.sqldb")).versionValues, QStringList{QStringLiteral("2")});
    EXPECT_EQ(DatabaseLock::probe(created), DatabaseLock::Result::InUse);
    EXPECT_EQ(DatabaseLock::probe(current), DatabaseLock::Result::Locked); // the old lock was let go
    EXPECT_EQ(PLNetDBLockController::dbOpenMode(), 2);
    // What the window serves the merge follows the switch.
    EXPECT_EQ(window.mergeHost().currentDatabasePath(), created);
    EXPECT_EQ(window.mergeHost().managedObjectContext(), window.managedObjectContext());

    // Open: an older database is migrated first, then opened.
    const QString old = temp.filePath(QStringLiteral("Old.cxdb"));
    QDir().mkpath(old);
    F::writeStore(old + QStringLiteral("/Pelmora1.sqldb"), false, 1, F::numberedCards(4, QStringLiteral("1")));
    panels.answers.push_back(old);
    commands.openDatabase();
    EXPECT_EQ(panels.requests.last().allowedTypes, (QStringList{QStringLiteral("pldb"), QStringLiteral("cxdb")}));
    runQueued();
    EXPECT_EQ(presenter.texts(), QStringList());
    EXPECT_EQ(g_strCurDBPath, old);
    EXPECT_EQ(dbPath(), old);
    EXPECT_EQ(F::readStore(old + QStringLiteral("/Pelmora1.sqldb")).versionValues, QStringList{QStringLiteral("2")});

    // Back Up over an existing folder replaces it and goes on with the copy.
    const QString backup = temp.filePath(QStringLiteral("Backup.cxdb"));
    QDir().mkpath(backup + QStringLiteral("/stale"));
    panels.answers.push_back(backup);
    commands.backupDatabase();
    runQueued();
    EXPECT_EQ(g_strCurDBPath, backup);
    EXPECT_EQ(dbPath(), backup);
    EXPECT_FALSE(QFileInfo::exists(backup + QStringLiteral("/stale")));
    EXPECT_EQ(F::readStore(backup + QStringLiteral("/Pelmora1.sqldb")).cards.size(), 4);
    EXPECT_EQ(DatabaseLock::probe(backup), DatabaseLock::Result::InUse);
    EXPECT_EQ(DatabaseLock::probe(old), DatabaseLock::Result::Locked);

    // A cancelled panel does nothing.
    commands.newDatabase();
    runQueued();
    EXPECT_EQ(g_strCurDBPath, backup);
}

TEST_F(DatabaseCommands, AFailedSwitchRemovesWhatItMade)
{
    RefusingMainWindow window(openDatabase);
    window.initDB();
    PLDatabaseCommands commands(openDatabase, window);
    const QString created = temp.filePath(QStringLiteral("New.cxdb"));
    const QString backup = temp.filePath(QStringLiteral("Backup.cxdb"));
    const QString other = makeDatabase(QStringLiteral("Other.cxdb"));
    PLNetDBLockController::setDbOpenMode(0);
    commands.doNewDB(created);
    commands.doBackupDB(backup);
    commands.doOpenDB(other);
    EXPECT_EQ(presenter.texts(), (QStringList{QStringLiteral("E20"), QStringLiteral("E34"), QStringLiteral("E12")}));
    EXPECT_EQ(PLNetDBLockController::dbOpenMode(), 0); // put back after the check had set it
    EXPECT_EQ(DatabaseLock::probe(other), DatabaseLock::Result::Locked);
    EXPECT_FALSE(QFileInfo::exists(created));
    EXPECT_FALSE(QFileInfo::exists(backup));
    EXPECT_EQ(g_strCurDBPath, current);
    EXPECT_EQ(window.dbPathField()->text(), QStringLiteral("Database : ") + current);
    EXPECT_TRUE(dbPath().isEmpty());
}

// A database with a password: a cancelled prompt leaves the open database; the right password opens it.
TEST_F(DatabaseCommands, OpenAsksForThePassword)
{
    PLMainWindowController window(openDatabase);
    window.window()->show();
    window.initDB();
    PLDatabaseCommands commands(openDatabase, window);
    const QString locked = makeDatabase(QStringLiteral("Locked.cxdb"));
    QFile file(locked + QStringLiteral("/Pelmora.CFG"));
    file.open(QIODevice::WriteOnly);
    file.write(getMD5String(QStringLiteral("pass")).toUtf8());
    file.close();

    bool sheet = false;
    QTimer::singleShot(0, [&] {
        sheet = window.passwordController().window()->parentWidget() == window.window();
        window.passwordController().doCancelClick();
    });
    commands.doOpenDB(locked);
    EXPECT_TRUE(sheet);
    EXPECT_EQ(presenter.texts(), QStringList());
    EXPECT_EQ(g_strCurDBPath, current);

    QTimer::singleShot(0, [&] {
        window.passwordController().passwordField()->setText(QStringLiteral("pass"));
        window.passwordController().okButton()->click();
    });
    commands.doOpenDB(locked);
    EXPECT_EQ(g_strCurDBPath, locked);
    EXPECT_EQ(dbPath(), locked);
}

TEST_F(DatabaseCommands, BackUpIsRefusedForAMissingDatabase)
{
    PLMainWindowController window(openDatabase);
    PLDatabaseCommands commands(openDatabase, window);
    openDatabase.choose(temp.filePath(QStringLiteral("Gone.cxdb")));
    commands.backupDatabase();
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E48")});
    EXPECT_TRUE(panels.requests.isEmpty());
}

TEST_F(DatabaseCommands, StartUpChoice)
{
    // No preference: the default folder is made with its parents and recorded.
    const QString expected = temp.filePath(QStringLiteral("Documents/Pelmora/Pelmora DB.cxdb"));
    EXPECT_EQ(PLDatabaseCommands::initDB(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_EQ(dbPath(), expected);

    // The preference names a folder that is gone.
    const QString gone = temp.filePath(QStringLiteral("Gone.cxdb"));
    PreferenceDomain::standard().setValue(QStringLiteral("DB path"), PlistValue(gone));
    EXPECT_TRUE(PLDatabaseCommands::initDB().isEmpty());
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E220 ") + gone});

    // The preference names a database in use.
    presenter.clear();
    int holder = -1;
    ASSERT_EQ(DatabaseLock::acquire(current, &holder), DatabaseLock::Result::Locked);
    PreferenceDomain::standard().setValue(QStringLiteral("DB path"), PlistValue(current));
    EXPECT_TRUE(PLDatabaseCommands::initDB().isEmpty());
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E17")});
    DatabaseLock::release(holder);
    EXPECT_EQ(PLDatabaseCommands::initDB(), current);

    // The preference names a database whose lock file is a link: it cannot be used, and nobody uses it.
    presenter.clear();
    const QString linked = makeDatabase(QStringLiteral("Linked.cxdb"));
    ASSERT_TRUE(QFile::link(temp.filePath(QStringLiteral("elsewhere")), linked + QStringLiteral("/.PLLock.pllk")));
    PreferenceDomain::standard().setValue(QStringLiteral("DB path"), PlistValue(linked));
    EXPECT_TRUE(PLDatabaseCommands::initDB().isEmpty());
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E12")});
}

} // namespace
