#include "TestBundle.h"

#include "app/core/PLMessage.h"
#include "platform/appkit/ApplicationWindow.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

PlistValue::Dictionary messageTable()
{
    return {
        {"IDS_MSG_ERR_0001", "Error one."},
        {"IDS_MSG_ERR_0005", "Cannot open %@ (%d files)."},
        {"IDS_MSG_ERR_0006", ""},
        {"IDS_MSG_ERR_0014", "Message text missing."},
        {"IDS_MSG_ERR_0999", "Last error."},
        {"IDS_MSG_ASK", "Delete %d cards from %@?"},
        {"IDS_MSG_EMPTY", ""},
        {"IDS_BUTTON_MSG_OK", "OK"},
        {"IDS_BUTTON_MSG_CANCEL", "Cancel"},
        {"IDS_BUTTON_MSG_YES", "Yes"},
        {"IDS_BUTTON_MSG_NO", "No"},
        {"IDS_BUTTON_MSG_RETRY", "Retry"},
        {"IDS_BUTTON_MSG_READ", "Read"},
        {"IDS_BUTTON_MSG_CONTINUE", "Continue"},
    };
}

struct PLMessageFixture : ::testing::Test {
    TestBundle bundle{{}, messageTable()};
    ScriptedMessagePresenter presenter;
    QWidget window;

    const ScriptedMessagePresenter::Shown& last() const { return presenter.shown().last(); }
};

} // namespace

TEST_F(PLMessageFixture, ErrorTextRules)
{
    const struct {
        int number;
        const char* text;
    } cases[] = {
        {1, "Error one."},
        {999, "Last error."},
        {0, "Undefined Err:   0"},
        {1000, "Undefined Err:1000"},
        {-5, "Undefined Err:  -5"},
        {2, "No Resource"},
        {6, "Undefined Err:   6"},
        {123456, "Undefined Err:123456"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PLMessage::errorText(c.number), QString::fromLatin1(c.text)) << c.number;
    EXPECT_EQ(PLMessage::errorText(5, {QStringLiteral("100% <b>&"), 3}), "Cannot open 100% <b>& (3 files).");
    EXPECT_EQ(PLMessage::errorText(5), "Cannot open (null) (0 files).") << "missing arguments never crash";
}

TEST_F(PLMessageFixture, ModalErrorShowsTextAndAnswersOne)
{
    EXPECT_EQ(PLMessage::ShowPLErrorMessage(5, QStringLiteral("Inbox"), 2), 1);
    EXPECT_EQ(last().request.informativeText, "Cannot open Inbox (2 files).");
    EXPECT_EQ(last().request.title, "Pelmora");
    EXPECT_EQ(last().request.buttons, QStringList{"OK"});
    EXPECT_EQ(last().request.window, nullptr);
    EXPECT_TRUE(last().waited);
    EXPECT_FALSE(last().request.question) << "a report carries the application's icon";
}

TEST_F(PLMessageFixture, ErrorSheetUsesWindowThenMainWindowThenModal)
{
    EXPECT_EQ(PLMessage::ShowPLErrorMessageBySheet(&window, 1), 1);
    EXPECT_EQ(last().request.window, &window);
    EXPECT_TRUE(last().request.buttons.isEmpty()) << "the platform's single OK button";

    QWidget mainWindow;
    setApplicationMainWindow(&mainWindow);
    EXPECT_EQ(PLMessage::ShowPLErrorMessageBySheet(nullptr, 1), 1);
    EXPECT_EQ(last().request.window, &mainWindow);
    setApplicationMainWindow(nullptr);

    EXPECT_EQ(PLMessage::ShowPLErrorMessageBySheet(nullptr, 1000), 1);
    EXPECT_EQ(last().request.window, nullptr);
    EXPECT_EQ(last().request.buttons, QStringList{"OK"}) << "fell back to the modal alert";
    EXPECT_EQ(last().request.informativeText, "Undefined Err:1000");
}

TEST_F(PLMessageFixture, ErrorDelegateSheetReturnsAtOnce)
{
    int result = -99;
    PLMessage::ShowPLErrorMessageAlertSheet(&window, [&](int code, void*) { result = code; }, 2);
    EXPECT_EQ(result, -99);
    EXPECT_FALSE(last().waited);
    EXPECT_EQ(last().request.informativeText, "No Resource");
    presenter.answerSheets();
    EXPECT_EQ(result, 1);
}

TEST_F(PLMessageFixture, ModalQuestionButtonsAndResults)
{
    const struct {
        int defaultCode;
        int alternateCode;
        const char* otherTitle;
        int answer;
        QStringList buttons;
        int result;
    } cases[] = {
        {2, 3, "", kAlertFirstButtonReturn, {"Yes", "No"}, 1},
        {6, 1, "", kAlertSecondButtonReturn, {"Continue", "Cancel"}, 0},
        {5, 5, "", kAlertFirstButtonReturn, {"Read", "Cancel"}, 1},
        {0, 4, "Later", kAlertThirdButtonReturn, {"OK", "Retry", "Later"}, -1},
        {7, -1, "", kAlertFirstButtonReturn, {"OK", "Cancel"}, 1},
    };
    for (const auto& c : cases) {
        presenter.queueAnswer(c.answer);
        EXPECT_EQ(PLMessage::ShowPLInfoMessage("IDS_MSG_ASK", c.defaultCode, c.alternateCode, c.otherTitle, 3, QStringLiteral("Inbox")), c.result);
        EXPECT_EQ(last().request.buttons, c.buttons) << c.defaultCode << "/" << c.alternateCode;
        EXPECT_EQ(last().request.informativeText, "Delete 3 cards from Inbox?");
        EXPECT_TRUE(last().request.question);
    }
}

TEST_F(PLMessageFixture, QuestionWithoutTextShowsErrorFourteen)
{
    for (const char* key : {"IDS_MSG_MISSING", "IDS_MSG_EMPTY", ""}) {
        presenter.clear();
        EXPECT_EQ(PLMessage::ShowPLInfoMessage(key, 2, 3, QString()), 1) << key;
        ASSERT_EQ(presenter.shown().size(), 1);
        EXPECT_EQ(last().request.informativeText, "Message text missing.");
        EXPECT_EQ(last().request.window, nullptr);

        EXPECT_EQ(PLMessage::ShowPLInfoMessageBySheet(&window, key, 2, 3, QString()), 1);
        EXPECT_EQ(last().request.informativeText, "Message text missing.");
        EXPECT_EQ(last().request.window, &window) << "as a sheet on the same window";

        bool called = false;
        EXPECT_EQ(PLMessage::ShowPLInfoMessageAlertSheet(&window, [&](int, void*) { called = true; }, {}, nullptr, key, 2, 3, QString()), -50);
        EXPECT_TRUE(last().waited) << "error 14 is shown modally";
        EXPECT_EQ(last().request.window, nullptr);
        presenter.answerSheets();
        EXPECT_FALSE(called);
    }
}

TEST_F(PLMessageFixture, WaitingQuestionSheetKnowsCodesUpToFour)
{
    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_EQ(PLMessage::ShowPLInfoMessageBySheet(&window, "IDS_MSG_ASK", 4, 4, "ignored", 1, "A"), 0);
    EXPECT_EQ(last().request.buttons, QStringList({"Retry", "Retry"}));
    EXPECT_EQ(last().request.window, &window);

    presenter.queueAnswer(kAlertFirstButtonReturn);
    EXPECT_EQ(PLMessage::ShowPLInfoMessageBySheet(&window, "IDS_MSG_ASK", 5, 6, QString(), 1, "A"), 1);
    EXPECT_EQ(last().request.buttons, QStringList({"OK", "Cancel"}));

    // No window and no main window: the modal question, with the other title.
    presenter.queueAnswer(kAlertThirdButtonReturn);
    EXPECT_EQ(PLMessage::ShowPLInfoMessageBySheet(nullptr, "IDS_MSG_ASK", 6, 1, "Later", 1, "A"), -1);
    EXPECT_EQ(last().request.buttons, QStringList({"Continue", "Cancel", "Later"}));
    EXPECT_EQ(last().request.window, nullptr);
}

TEST_F(PLMessageFixture, DelegateQuestionSheetKnowsCodesUpToThree)
{
    int context = 7;
    QList<QPair<QString, int>> calls;
    const int started = PLMessage::ShowPLInfoMessageAlertSheet(
        &window, [&](int code, void* info) { calls.append({"end", code + *static_cast<int*>(info) * 10}); },
        [&](int code, void* info) { calls.append({"dismiss", code + *static_cast<int*>(info) * 10}); }, &context,
        "IDS_MSG_ASK", 3, 4, "never shown", 2, "B");
    EXPECT_EQ(started, 0);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_FALSE(last().waited);
    EXPECT_EQ(last().request.buttons, QStringList({"No", "Cancel"}));
    EXPECT_TRUE(last().request.question);
    presenter.queueAnswer(kAlertSecondButtonReturn);
    presenter.answerSheets();
    EXPECT_EQ(calls, (QList<QPair<QString, int>>{{"end", 71}, {"dismiss", 71}})) << "first button answered: 1 plus context";
}

TEST_F(PLMessageFixture, EndHandlerMapping)
{
    EXPECT_EQ(PLMessage::alertDidEnd(kAlertFirstButtonReturn), 1);
    EXPECT_EQ(PLMessage::alertDidEnd(kAlertSecondButtonReturn), 0);
    EXPECT_EQ(PLMessage::alertDidEnd(kAlertThirdButtonReturn), kAlertThirdButtonReturn);
    EXPECT_EQ(PLMessage::alertDidEnd(-1000), -1000);
}

TEST(PLMessage, MalformedStringTableGivesNoResource)
{
    TestBundle bundle;
    bundle.writeRaw(QStringLiteral("en/Localizable.plist"), "<plist><dict><key>IDS_MSG_ERR_0001</key><string>x");
    ScriptedMessagePresenter presenter;
    EXPECT_EQ(PLMessage::ShowPLErrorMessage(1), 1);
    EXPECT_EQ(presenter.texts(), QStringList{"No Resource"});
    EXPECT_EQ(presenter.shown().last().request.buttons, QStringList{"IDS_BUTTON_MSG_OK"}) << "a missing button text shows its key";
    EXPECT_EQ(PLMessage::ShowPLInfoMessage("IDS_MSG_ASK", 0, 1, QString()), 1);
    EXPECT_EQ(presenter.texts().last(), "No Resource") << "error 14 itself has no text";
}
