#include "app/core/windows/PLProgressWindowController.h"

#include "platform/appkit/Scheduler.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

using Info = QVariantMap;

struct StopFlag : PLProgressModalDelegate {
    std::atomic<bool> stop{false};
    int answers = 0;
};

void setStop(PLProgressModalDelegate* delegate, bool confirmed)
{
    auto* flag = static_cast<StopFlag*>(delegate);
    ++flag->answers;
    flag->stop = confirmed;
}

PLProgressWindowController& sheet()
{
    return *PLProgressWindowController::sharedController();
}

void onMain(std::function<void()> call)
{
    Scheduler::performOnMainThreadAndWait(std::move(call));
}

TEST(ProgressWindow, PercentAndHint)
{
    struct Case {
        QVariant max, finished;
        double percent;
    };
    const Case cases[] = {
        {0u, 5u, 0},
        {10u, 9u, 90},
        {3u, 1u, 100.0 / 3},
        {QStringLiteral("10"), 9u, 0}, // a text is no number
        {QVariant(), 9u, 0},
        {qulonglong(20000), qulonglong(6000), 30},
    };
    for (const Case& c : cases) {
        Info info{{kProgressInfoMaxCount, c.max}, {kProgressInfoFinishedCount, c.finished}};
        EXPECT_DOUBLE_EQ(PLProgressWindowController::percentOf(info), c.percent) << c.max.toString().toStdString();
    }
    TestBundle bundle({}, {{QStringLiteral("IDS_MSG_ProgressHint"), PlistValue(QStringLiteral("%d%%"))}});
    sheet().refreshProgress({{kProgressInfoMaxCount, 10u}, {kProgressInfoFinishedCount, 9u}, {kProgressInfoMessage, QStringLiteral("m")}});
    EXPECT_EQ(sheet().progressHint()->text(), QStringLiteral("90%"));
    EXPECT_EQ(sheet().progressBar()->value(), 90);
    EXPECT_EQ(sheet().progressMessage()->text(), QStringLiteral("m"));
}

TEST(ProgressWindow, DeterminateAndSpinningIndicators)
{
    sheet().startIndicator({{kProgressInfoMessage, QStringLiteral("busy")}});
    EXPECT_EQ(sheet().progressBar()->maximum(), 0); // spinning
    EXPECT_TRUE(sheet().cancelButton()->isEnabled());
    EXPECT_EQ(sheet().progressMessage()->text(), QStringLiteral("busy"));
    sheet().stopIndicator({});
    EXPECT_FALSE(sheet().cancelButton()->isEnabled());
    EXPECT_EQ(sheet().progressMessage()->text(), QString());

    // A determinate flag of the wrong type counts as missing.
    sheet().startIndicator({{kProgressInfoIndicatorIsDeterminate, 1}});
    EXPECT_EQ(sheet().progressBar()->maximum(), 0);
    sheet().startIndicator({{kProgressInfoIndicatorIsDeterminate, true}, {kProgressInfoMessage, 7}});
    EXPECT_EQ(sheet().progressBar()->maximum(), 100);
    EXPECT_EQ(sheet().progressBar()->value(), 0);
    EXPECT_EQ(sheet().progressMessage()->text(), QString());
    sheet().stopIndicator({});
}

// The worker polls until told to stop; the Cancel button is pressed from inside the run.
TEST(ProgressWindow, CancelDeclinedThenConfirmed)
{
    TestBundle bundle({}, {{QStringLiteral("IDS_MSG_ConfirmCancelOperation"), PlistValue(QStringLiteral("Stop?"))}});
    QMainWindow window;
    window.show();
    ScriptedMessagePresenter presenter;
    presenter.queueAnswer(kAlertSecondButtonReturn); // No: go on
    presenter.queueAnswer(kAlertFirstButtonReturn);  // Yes: stop
    StopFlag flag;
    int polls = 0;
    bool enabledAfterDecline = false;
    bool wasSheet = false;
    sheet().startModalIndicatorForWindow(&window, &flag, [&] {
        onMain([&] {
            wasSheet = sheet().window()->parentWidget() == &window && sheet().window()->isVisible();
            sheet().startIndicator({{kProgressInfoIndicatorIsDeterminate, true}});
        });
        while (!flag.stop && polls < 100) {
            ++polls;
            onMain([&] {
                if (polls == 2 || (polls == 4 && enabledAfterDecline))
                    sheet().cancelButton()->click();
                sheet().checkIsNeedToConfirmCancelOperation();
                if (polls == 2)
                    enabledAfterDecline = sheet().cancelButton()->isEnabled();
            });
        }
        onMain([&] { sheet().endModalIndicator(); });
    }, setStop);
    EXPECT_TRUE(wasSheet);
    EXPECT_TRUE(enabledAfterDecline);
    EXPECT_EQ(polls, 4);
    EXPECT_EQ(flag.answers, 2);
    EXPECT_TRUE(flag.stop);
    ASSERT_EQ(presenter.shown().size(), 2);
    EXPECT_FALSE(sheet().isRunning());
    EXPECT_FALSE(sheet().window()->isVisible());
    EXPECT_EQ(sheet().modalDelegate(), nullptr);
}

TEST(ProgressWindow, HiddenWindowRunsApplicationModal)
{
    QMainWindow hidden;
    Qt::WindowModality modality = Qt::NonModal;
    bool ran = false;
    sheet().startModalIndicatorForWindow(&hidden, nullptr, [&] {
        onMain([&] { modality = sheet().window()->windowModality(); });
        ran = true;
        onMain([&] { sheet().endModalIndicator(); });
    }, nullptr);
    EXPECT_TRUE(ran);
    EXPECT_EQ(modality, Qt::ApplicationModal);
}

// An operation that throws, or forgets to end the sheet, still ends the run.
TEST(ProgressWindow, AlwaysEnds)
{
    sheet().startModalIndicatorForWindow(nullptr, nullptr, [] { throw std::runtime_error("broken"); }, nullptr);
    sheet().startModalIndicatorForWindow(nullptr, nullptr, [] {}, nullptr);
    EXPECT_FALSE(sheet().isRunning());
}

} // namespace
