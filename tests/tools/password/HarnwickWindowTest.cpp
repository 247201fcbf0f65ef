#include "platform/foundation/Bundle.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/PlistFile.h"
#include "tests/support/appkit/AccessibleNames.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/dbtools/ScriptedToolServices.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tools/dbtools/DbToolCommon.h"
#include "tools/dbtools/HelpPage.h"
#include "tools/dbtools/ToolMessages.h"
#include "tools/password/HWDatabaseController.h"
#include "tools/password/HWMainWindowController.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <unistd.h>

namespace {

using W = HWMainWindowController;

class HarnwickWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = env.path() + QStringLiteral("/db.cxdb");
        ASSERT_TRUE(TestDatabase::create(folder, {.cards = 3}));
        cfg = folder + QStringLiteral("/Pelmora.CFG");
        env.setDBPathPreference(folder);
    }
    void writeCfg(const QString& password) const
    {
        QFile file(cfg);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(DbToolCommon::getMD5String(password).toUtf8());
    }
    QByteArray cfgBytes() const
    {
        QFile file(cfg);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    static QString message(int number, const QVariantList& args = {})
    {
        return ToolMessages::errorText(number, ToolVariant::Harnwick, args);
    }
    std::unique_ptr<W> window()
    {
        auto w = std::make_unique<W>();
        w->applicationDidFinishLaunching();
        return w;
    }
    // Enabled state of the cells add, change, delete, then of the fields current, new, repeat.
    static QString states(const W& w)
    {
        QString s;
        for (int tag : {1, 2, 3})
            s += w._operationBtn->button(tag)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        s += QLatin1Char('/');
        for (const QLineEdit* field : {w._oldPwdTextField, w._newPwdTextField, w._verifyPwdTextField})
            s += field->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    static void fill(W& w, const QString& current, const QString& fresh, const QString& repeat)
    {
        w._oldPwdTextField->setText(current);
        w._newPwdTextField->setText(fresh);
        w._verifyPwdTextField->setText(repeat);
    }
    static QString fields(const W& w)
    {
        return w._oldPwdTextField->text() + QLatin1Char('|') + w._newPwdTextField->text() + QLatin1Char('|')
            + w._verifyPwdTextField->text();
    }
    ToolTestEnvironment env{QStringLiteral("Harnwick")};
    ScriptedMessagePresenter presenter;
    ScriptedToolServices services;
    QString folder;
    QString cfg;
};

TEST_F(HarnwickWindow, EveryControlHasAName)
{
    W c;
    EXPECT_EQ(controlsWithoutName(c.window()), QStringList());
}

TEST_F(HarnwickWindow, HelpButtonOpensItsPageOfTheStagedBook)
{
    FakeWorkspace workspace;
    const QString stage = qEnvironmentVariable("PELMORA_STAGE_DIR");
    HelpPage::setApplicationFolder(stage);
    W c;
    c.window()->findChild<QPushButton*>(QStringLiteral("helpBtn"))->click();
    HelpPage::setApplicationFolder(QString());
    ASSERT_EQ(workspace.openedUrls.size(), 1);
    const QString page = workspace.openedUrls[0].toLocalFile();
    EXPECT_EQ(page, stage + QStringLiteral("/Resources/Pelmora/Pelmora Help/db_pass_ope.html"));
    EXPECT_TRUE(QFileInfo(page).isFile());
}

TEST_F(HarnwickWindow, CellsFieldsAndFirstResponderFollowThePasswordState)
{
    auto w = window();
    EXPECT_EQ(w->_dbPathTextField->text(), folder);
    EXPECT_EQ(w->_operationBtn->checkedId(), W::kAddPassword);
    EXPECT_EQ(states(*w), QStringLiteral("100/011"));
    EXPECT_TRUE(w->_executeBtn->isEnabled());
    EXPECT_EQ(w->firstResponder(), w->_newPwdTextField);

    writeCfg(QStringLiteral("abc"));
    auto protectedDb = window();
    EXPECT_EQ(protectedDb->_operationBtn->checkedId(), W::kChangePassword);
    EXPECT_EQ(states(*protectedDb), QStringLiteral("011/111"));
    EXPECT_EQ(protectedDb->firstResponder(), protectedDb->_oldPwdTextField);

    protectedDb->_newPwdTextField->setText(QStringLiteral("typed"));
    protectedDb->_operationBtn->button(W::kDeletePassword)->click();
    EXPECT_EQ(protectedDb->operationType(), W::kDeletePassword);
    EXPECT_EQ(states(*protectedDb), QStringLiteral("011/100"));
    EXPECT_EQ(fields(*protectedDb), QStringLiteral("||"));
    protectedDb->_oldPwdTextField->setText(QStringLiteral("kept"));
    protectedDb->_operationBtn->button(W::kDeletePassword)->click();
    EXPECT_EQ(protectedDb->_oldPwdTextField->text(), QStringLiteral("kept"));

    env.setDBPathPreference(QString());
    auto blank = window();
    EXPECT_EQ(blank->_operationBtn->checkedId(), -1);
    EXPECT_EQ(states(*blank), QStringLiteral("000/000"));
    EXPECT_FALSE(blank->_executeBtn->isEnabled());
    EXPECT_EQ(blank->firstResponder(), blank->_btnSelectPLDB);
}

TEST_F(HarnwickWindow, ChoosingFolders)
{
    env.setDBPathPreference(QString());
    auto w = window();
    services.chosen = {folder};
    w->doSelectDBFilePath();
    EXPECT_EQ(services.startFolders, QStringList{env.path() + QStringLiteral("/home/Documents")});
    EXPECT_EQ(w->_dbPathTextField->text(), folder);
    EXPECT_EQ(states(*w), QStringLiteral("100/011"));

    // Only database folders are taken: a plain folder (even one holding a store) is not.
    const QString plain = env.folder(QStringLiteral("plain"));
    ASSERT_TRUE(QFile::copy(folder + QStringLiteral("/Pelmora1.sqldb"), plain + QStringLiteral("/Pelmora1.sqldb")));
    services.chosen = {plain};
    w->doSelectDBFilePath();
    EXPECT_EQ(w->_dbPathTextField->text(), folder);

    // The same folder named another way changes nothing, not even the fields.
    w->_newPwdTextField->setText(QStringLiteral("typed"));
    w->onSelectDBFilePath({QUrl::fromLocalFile(folder + QStringLiteral("/"))});
    w->onSelectDBFilePath({QUrl::fromLocalFile(env.path() + QStringLiteral("/home/../db.cxdb"))});
    EXPECT_EQ(w->_newPwdTextField->text(), QStringLiteral("typed"));
    EXPECT_EQ(w->_dbPathTextField->text(), folder);

    // A name differing in case is another folder here.
    const QString other = env.path() + QStringLiteral("/DB.cxdb");
    ASSERT_TRUE(TestDatabase::create(other, {.cards = 1}));
    QFile otherCfg(other + QStringLiteral("/Pelmora.CFG"));
    ASSERT_TRUE(otherCfg.open(QIODevice::WriteOnly));
    otherCfg.close();
    w->onSelectDBFilePath({QUrl::fromLocalFile(other)});
    EXPECT_EQ(w->_dbPathTextField->text(), other);
    EXPECT_EQ(w->_operationBtn->checkedId(), W::kChangePassword);
    EXPECT_EQ(fields(*w), QStringLiteral("||"));
}

TEST_F(HarnwickWindow, FieldRules)
{
    const QString semicolon = QStringLiteral(";");
    const QString accent = QString::fromUtf16(u"\u00E9");
    const struct {
        const char* name;
        int operation;
        QString current, fresh, repeat;
        QString message;
        QString fieldsAfter;
    } cases[] = {
        {"add, repeat empty", W::kAddPassword, "", "abc", "", message(302), "|abc|"},
        {"add, new illegal", W::kAddPassword, "", "a;b", "ab" + accent, message(306, {semicolon}), "||"},
        {"add, repeat illegal", W::kAddPassword, "", "ab", "ab" + accent, message(306, {accent}), "||"},
        {"add, differ", W::kAddPassword, "", "abc", "abd", message(304), "||"},
        {"add, 17 characters cut to 16", W::kAddPassword, "", QString(17, QLatin1Char('a')), QString(16, QLatin1Char('a')), QString(), ""},
        {"change, current empty", W::kChangePassword, "", "n", "n", message(303), "|n|n"},
        {"change, new empty", W::kChangePassword, "c", "", "n", message(302), "c||n"},
        {"change, illegal current and new", W::kChangePassword, "c;", "n" + accent, "n", message(306, {semicolon}), "||"},
        {"change, illegal repeat only", W::kChangePassword, "c", "n", "n;", message(306, {semicolon}), "c||"},
        {"change, differ", W::kChangePassword, "c", "n", "m", message(304), "c||"},
        {"delete, current empty", W::kDeletePassword, "", "", "", message(303), "||"},
        {"delete, illegal current", W::kDeletePassword, "a;b", "", "", message(306, {semicolon}), "||"},
    };
    writeCfg(QStringLiteral("abc"));
    for (const auto& c : cases) {
        auto w = window();
        w->_operationBtn->button(c.operation)->setEnabled(true);
        w->_operationBtn->button(c.operation)->click();
        fill(*w, c.current, c.fresh, c.repeat);
        presenter.clear();
        const bool valid = w->validateBeforeDoExecute();
        EXPECT_EQ(valid, c.message.isEmpty()) << c.name;
        EXPECT_EQ(presenter.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.name;
        if (!c.fieldsAfter.isEmpty()) {
            EXPECT_EQ(fields(*w), c.fieldsAfter) << c.name;
        }
    }
}

TEST_F(HarnwickWindow, AddChangeAndDeleteThroughTheWindow)
{
    auto w = window();
    fill(*w, QString(), QStringLiteral("abc"), QStringLiteral("abc"));
    w->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(301)});
    EXPECT_EQ(cfgBytes(), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(w->_operationBtn->checkedId(), W::kChangePassword);
    EXPECT_EQ(states(*w), QStringLiteral("011/111"));
    EXPECT_EQ(fields(*w), QStringLiteral("||"));

    presenter.clear();
    fill(*w, QStringLiteral("wrong"), QStringLiteral("new"), QStringLiteral("new"));
    w->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(305)});
    EXPECT_EQ(fields(*w), QStringLiteral("||"));
    EXPECT_EQ(cfgBytes(), QByteArray("900150983cd24fb0d6963f7d28e17f72"));

    presenter.clear();
    fill(*w, QStringLiteral("abc"), QStringLiteral("new"), QStringLiteral("new"));
    w->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(301)});
    EXPECT_EQ(QString::fromUtf8(cfgBytes()), DbToolCommon::getMD5String(QStringLiteral("new")));

    // Delete answered NO: only the current password is emptied.
    w->_operationBtn->button(W::kDeletePassword)->click();
    presenter.clear();
    presenter.queueAnswer(kAlertSecondButtonReturn);
    fill(*w, QStringLiteral("new"), QString(), QString());
    w->doExecuteBtn();
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown().first().request.buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    EXPECT_EQ(fields(*w), QStringLiteral("||"));
    EXPECT_EQ(w->operationType(), W::kDeletePassword);
    EXPECT_TRUE(QFile::exists(cfg));

    presenter.clear();
    fill(*w, QStringLiteral("new"), QString(), QString());
    w->doExecuteBtn();
    EXPECT_EQ(presenter.texts().last(), message(301));
    EXPECT_FALSE(QFile::exists(cfg));
    EXPECT_EQ(w->_operationBtn->checkedId(), W::kAddPassword);
    EXPECT_EQ(states(*w), QStringLiteral("100/011"));
}

TEST_F(HarnwickWindow, RefusalsWriteNothing)
{
    const QString newer = env.path() + QStringLiteral("/newer.cxdb");
    ASSERT_TRUE(TestDatabase::create(newer, {.cards = 1, .databaseVersion = 3}));
    auto w = window();
    w->onSelectDBFilePath({QUrl::fromLocalFile(newer)});
    fill(*w, QString(), QStringLiteral("abc"), QStringLiteral("abc"));
    w->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(208)});
    EXPECT_FALSE(QFile::exists(newer + QStringLiteral("/Pelmora.CFG")));

    int held = -1;
    ASSERT_EQ(DatabaseLock::acquire(folder, &held), DatabaseLock::Result::Locked);
    auto inUse = window();
    presenter.clear();
    fill(*inUse, QString(), QStringLiteral("abc"), QStringLiteral("abc"));
    inUse->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(203)});
    EXPECT_FALSE(QFile::exists(cfg));
    EXPECT_EQ(inUse->firstResponder(), inUse->_executeBtn);
    DatabaseLock::release(held);

    presenter.clear();
    const QString plain = env.folder(QStringLiteral("plain.cxdb"));
    inUse->onSelectDBFilePath({QUrl::fromLocalFile(plain)});
    fill(*inUse, QString(), QStringLiteral("abc"), QStringLiteral("abc"));
    inUse->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(201)});
    EXPECT_FALSE(QFile::exists(plain + QStringLiteral("/Pelmora.CFG")));
}

// A lock that will not let go once the password file was written.
class StuckLockController : public HWDatabaseController {
public:
    int _unlock() override
    {
        const int released = HWDatabaseController::_unlock();
        return passwordFileChanged() ? 101 : released;
    }
};

TEST_F(HarnwickWindow, LockWarningAfterAWriteStillReportsTheChange)
{
    W w(std::make_unique<StuckLockController>());
    w.applicationDidFinishLaunching();
    fill(w, QString(), QStringLiteral("abc"), QStringLiteral("abc"));
    w.doExecuteBtn();
    EXPECT_EQ(presenter.texts(), (QStringList{message(101), message(301)}));
    EXPECT_EQ(cfgBytes(), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(w._operationBtn->checkedId(), W::kChangePassword);

    presenter.clear();
    fill(w, QStringLiteral("wrong"), QStringLiteral("new"), QStringLiteral("new"));
    w.doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(305)});
}

TEST_F(HarnwickWindow, LockReleaseFailuresAfterAWriteAreReported)
{
    static const DatabaseLock::SystemCalls unlockFails{[](int) { return -1; }, ::close};
    static const DatabaseLock::SystemCalls closeFails{[](int fd) { return flock(fd, LOCK_UN); }, [](int fd) {
        ::close(fd);
        return -1;
    }};
    const std::pair<const DatabaseLock::SystemCalls*, int> cases[] = {{&unlockFails, 101}, {&closeFails, 102}};
    for (const auto& [calls, number] : cases) {
        QFile::remove(cfg);
        presenter.clear();
        auto w = window();
        fill(*w, QString(), QStringLiteral("abc"), QStringLiteral("abc"));
        DatabaseLock::setSystemCalls(calls);
        w->doExecuteBtn();
        DatabaseLock::setSystemCalls(nullptr);
        EXPECT_EQ(presenter.texts(), (QStringList{message(number), message(301)})) << number;
        EXPECT_EQ(cfgBytes(), QByteArray("900150983cd24fb0d6963f7d28e17f72")) << number;
    }
}

TEST_F(HarnwickWindow, MissingDeletionQuestionCountsAsNo)
{
    PlistValue table;
    ASSERT_TRUE(readPlistFile(QString::fromLocal8Bit(qgetenv("PELMORA_SOURCE_DIR")) + QStringLiteral("/resources/Harnwick/en/Localizable.plist"), table));
    table.remove(W::kDeleteQuestionKey);
    ASSERT_TRUE(writePlistFile(env.folder(QStringLiteral("bundle/en")) + QStringLiteral("/Localizable.plist"), table));
    Bundle::setMain(env.path() + QStringLiteral("/bundle"));

    writeCfg(QStringLiteral("abc"));
    auto w = window();
    w->_operationBtn->button(W::kDeletePassword)->click();
    fill(*w, QStringLiteral("abc"), QString(), QString());
    w->doExecuteBtn();
    EXPECT_EQ(presenter.texts(), QStringList{message(2)});
    EXPECT_TRUE(QFile::exists(cfg));
}

} // namespace
