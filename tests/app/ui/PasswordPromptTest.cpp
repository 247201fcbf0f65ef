#include "app/core/DatabasePassword.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLDatabasePanels.h"
#include "app/core/windows/PLPasswordController.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/DatabaseLock.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/AccessibleNames.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

PlistValue::Dictionary texts()
{
    return {{QStringLiteral("IDS_MSG_ERR_0132"), PlistValue(QStringLiteral("E132"))},
            {QStringLiteral("IDS_MSG_ERR_0134"), PlistValue(QStringLiteral("E134"))},
            {QStringLiteral("IDS_MSG_CREATE_NEW_DB"), PlistValue(QStringLiteral("New?"))},
            {QStringLiteral("IDS_PASSWORD_PROMPT"), PlistValue(QStringLiteral("Password of this database:"))}};
}

class PasswordPrompt : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{}, texts()};
    ScriptedMessagePresenter presenter;
    QString folder;

    void SetUp() override
    {
        folder = temp.filePath(QStringLiteral("Secret.cxdb"));
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Pelmora.CFG"));
        file.open(QIODevice::WriteOnly);
        file.write(getMD5String(QStringLiteral("s3cret")).toUtf8());
    }
};

// Types each password in turn into the running prompt and presses OK; records what followed.
struct Typist {
    PLPasswordController& prompt;
    QStringList passwords;
    QList<bool> okEnabledAfter;
    QStringList fieldAfter;

    void start()
    {
        QTimer::singleShot(0, [this] { next(); });
    }
    void next()
    {
        if (passwords.isEmpty()) {
            if (prompt.window()->isVisible())
                prompt.doCancelClick();
            return;
        }
        prompt.passwordField()->setText(passwords.takeFirst());
        EXPECT_TRUE(prompt.okButton()->isEnabled());
        prompt.okButton()->click();
        okEnabledAfter.append(prompt.okButton()->isEnabled());
        fieldAfter.append(prompt.passwordField()->text());
        if (prompt.window()->isVisible())
            QTimer::singleShot(0, [this] { next(); });
    }
};

TEST_F(PasswordPrompt, RefusesBadCharactersAndWrongPasswordsThenAccepts)
{
    PLPasswordController prompt;
    prompt.setDBFilePath(folder);
    Typist typist{prompt, {QStringLiteral("semi;colon"), QStringLiteral("wrong"), QStringLiteral("s3cret")}, {}, {}};
    typist.start();
    prompt.showModalWindow();
    EXPECT_TRUE(prompt.getPwdCheckedResult());
    EXPECT_EQ(presenter.texts(), (QStringList{QStringLiteral("E134"), QStringLiteral("E132")}));
    ASSERT_EQ(presenter.shown().size(), 2);
    EXPECT_EQ(presenter.shown().first().request.window, prompt.window());
    EXPECT_EQ(typist.okEnabledAfter.mid(0, 2), (QList<bool>{false, false}));
    EXPECT_EQ(typist.fieldAfter.mid(0, 2), (QStringList{QString(), QString()}));
    EXPECT_FALSE(prompt.window()->isVisible());

    // The field takes at most 16 characters; an empty field leaves OK disabled.
    prompt.passwordField()->setText(QString(20, QLatin1Char('x')));
    EXPECT_EQ(prompt.passwordField()->text().size(), 16);
    prompt.passwordField()->clear();
    EXPECT_FALSE(prompt.okButton()->isEnabled());
}

TEST_F(PasswordPrompt, SaysWhatItAsksForAndNamesEveryControl)
{
    PLPasswordController prompt;
    prompt.setDBFilePath(folder);
    QStringList texts;
    for (const QLabel* l : prompt.window()->findChildren<QLabel*>())
        if (l->buddy() == prompt.passwordField())
            texts.append(l->text());
    EXPECT_EQ(texts, QStringList{QStringLiteral("Password of this database:")});
    EXPECT_EQ(controlsWithoutName(prompt.window()), QStringList());
}

TEST_F(PasswordPrompt, ADatabaseWithoutPasswordFileTakesAnyPassword)
{
    PLPasswordController prompt;
    prompt.setDBFilePath(temp.path());
    EXPECT_TRUE(prompt.checkPwdIsCorrect(QStringLiteral("anything")));
    prompt.setDBFilePath(folder);
    EXPECT_FALSE(prompt.checkPwdIsCorrect(QStringLiteral("S3cret")));
}

// At start-up (no window yet) a refused prompt offers a new database; declining ends the application.
TEST_F(PasswordPrompt, RefusedAtStartUpOffersANewDatabase)
{
    OpenDatabase openDatabase;
    PLMainWindowController window(openDatabase);
    int terminated = 0;
    window.setTerminate([&] { ++terminated; });
    bool lockedMeanwhile = false;
    QTimer::singleShot(0, [&] {
        lockedMeanwhile = DatabaseLock::probe(folder) == DatabaseLock::Result::InUse;
        window.passwordController().doCancelClick();
    });
    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_FALSE(window.showPwdWndAccordingToSelectedDB(folder).has_value());
    EXPECT_TRUE(lockedMeanwhile);
    EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked);
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("New?")});
    EXPECT_EQ(terminated, 1);

    // Accepting makes the folder chosen in the panel and goes on with it.
    struct OnePanel : PLDatabasePanels {
        QString answer;
        QString runSavePanel(const Request&) override { return answer; }
        QString runOpenPanel(const Request&) override { return QString(); }
    } panels;
    panels.answer = temp.filePath(QStringLiteral("Fresh.cxdb"));
    PLDatabasePanels::setCurrent(&panels);
    QTimer::singleShot(0, [&] { window.passwordController().doCancelClick(); });
    presenter.queueAnswer(kAlertFirstButtonReturn);
    EXPECT_EQ(window.showPwdWndAccordingToSelectedDB(folder), panels.answer);
    EXPECT_TRUE(QFileInfo(panels.answer).isDir());
    EXPECT_EQ(terminated, 1);
    PLDatabasePanels::setCurrent(nullptr);
}

} // namespace
