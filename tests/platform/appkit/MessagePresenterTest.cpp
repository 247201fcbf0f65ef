#include "platform/appkit/dialogs/DialogMessagePresenter.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>

namespace {

QMessageBox* openBox()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    }
    for (QWidget* w : QApplication::allWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == title)
            return b;
    return nullptr;
}

// Polls every 10 ms until `step` answers true; after a minute (a safety net against a hang only)
// the box is closed.
void whileShown(std::function<bool()> step)
{
    auto* timer = new QTimer;
    auto* started = new QElapsedTimer;
    started->start();
    QObject::connect(timer, &QTimer::timeout, [timer, started, step] {
        if (step() || started->elapsed() > 60000) {
            if (QMessageBox* box = openBox(); box && started->elapsed() > 60000)
                box->reject();
            timer->deleteLater();
            delete started;
            timer->stop();
        }
    });
    timer->start(10);
}

bool spinUntil(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

TEST(DialogMessagePresenter, SheetOnVisibleWindowHoldsDelayedCallsUntilAnswered)
{
    QMainWindow window;
    window.show();
    bool performed = false;
    bool performedWhileShown = true;
    Qt::WindowModality modality = Qt::NonModal;
    QString shownText;
    Scheduler::shared().performAfterDelay(nullptr, "load", 0, [&] { performed = true; });
    whileShown([&] {
        QMessageBox* box = openBox();
        if (!box)
            return false;
        modality = box->windowModality();
        shownText = box->informativeText();
        performedWhileShown = performed;
        buttonTitled(box, "No")->click();
        return true;
    });
    AlertRequest request{&window, "Pelmora", "<b>50%</b> & more", {"Yes", "No"}};
    const int code = DialogMessagePresenter().runModal(request);
    EXPECT_EQ(code, kAlertSecondButtonReturn);
    EXPECT_EQ(modality, Qt::WindowModal);
    EXPECT_EQ(shownText, "<b>50%</b> & more");
    EXPECT_FALSE(performedWhileShown);
    EXPECT_FALSE(performed) << "the held call waits for the event loop";
    EXPECT_TRUE(spinUntil([&] { return performed; }));
}

TEST(DialogMessagePresenter, HiddenWindowGivesApplicationModalAlert)
{
    QMainWindow hidden;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* parent = &hidden;
    whileShown([&] {
        QMessageBox* box = openBox();
        if (!box)
            return false;
        modality = box->windowModality();
        parent = box->parentWidget();
        box->buttons().first()->click();
        return true;
    });
    EXPECT_EQ(DialogMessagePresenter().runModal({&hidden, "Pelmora", "text", {}}), kAlertFirstButtonReturn);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(parent, nullptr);
}

TEST(DialogMessagePresenter, WaitingCallFromWorkerIsNotHeldByModalRun)
{
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> workerDone{false};
    QThread* worker = QThread::create([&] {
        Scheduler::performOnMainThreadAndWait([&] { ranOnMain = QThread::currentThread() == qApp->thread(); });
        workerDone = true;
    });
    whileShown([&] {
        QMessageBox* box = openBox();
        if (!box)
            return false;
        if (!worker->isRunning() && !workerDone)
            worker->start();
        if (!workerDone)
            return false;
        box->buttons().first()->click();
        return true;
    });
    DialogMessagePresenter().runModal({nullptr, "Pelmora", "text", {}});
    worker->wait();
    delete worker;
    EXPECT_TRUE(workerDone);
    EXPECT_TRUE(ranOnMain);
}

TEST(DialogMessagePresenter, DelegateFormReturnsAtOnceAndReportsTheAnswer)
{
    QMainWindow window;
    window.show();
    int answer = 0;
    bool performed = false;
    DialogMessagePresenter().beginSheet({&window, "Pelmora", "text", {"OK", "Cancel"}, true}, [&](int code) { answer = code; });
    EXPECT_EQ(ModalScope::depth(), 0);
    QMessageBox* box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    Scheduler::shared().performAfterDelay(nullptr, "tick", 0, [&] { performed = true; });
    EXPECT_TRUE(spinUntil([&] { return performed; })) << "a sheet of the delegate form is no modal run";
    buttonTitled(box, "OK")->click();
    EXPECT_TRUE(spinUntil([&] { return answer != 0; }));
    EXPECT_EQ(answer, kAlertFirstButtonReturn);
}

TEST(DialogMessagePresenter, ReportsCarryTheApplicationsIconAndQuestionsAQuestionIcon)
{
    QPixmap mark(16, 16);
    mark.fill(Qt::green);
    QApplication::setWindowIcon(QIcon(mark));
    struct Shown {
        QMessageBox::Icon icon = QMessageBox::Warning;
        QColor corner;
    };
    auto show = [](bool question) {
        Shown shown;
        whileShown([&] {
            QMessageBox* box = openBox();
            if (!box)
                return false;
            shown.icon = box->icon();
            if (!box->iconPixmap().isNull())
                shown.corner = box->iconPixmap().toImage().pixelColor(0, 0);
            box->buttons().first()->click();
            return true;
        });
        AlertRequest request{nullptr, "Pelmora", "The password was changed.", {}};
        request.question = question;
        DialogMessagePresenter().runModal(request);
        return shown;
    };
    const Shown report = show(false);
    EXPECT_EQ(report.icon, QMessageBox::NoIcon) << "no warning sign on a report";
    EXPECT_EQ(report.corner, QColor(Qt::green)) << "the application's icon";
    EXPECT_EQ(show(true).icon, QMessageBox::Question);
    QApplication::setWindowIcon(QIcon());
}

// A sentence reads on a line or two, not in a narrow column; a short text keeps its own width.
TEST(DialogMessagePresenter, ASentenceIsNotWrappedIntoANarrowColumn)
{
    QMainWindow window;
    window.show();
    const auto shownLabel = [&](const QString& text) {
        DialogMessagePresenter().beginSheet({&window, "Pelmora", text, {}}, {});
        QMessageBox* box = openBox();
        EXPECT_NE(box, nullptr);
        auto* label = box ? box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")) : nullptr;
        EXPECT_NE(label, nullptr);
        return std::pair(box, label);
    };
    const auto [box, label] = shownLabel(
        QStringLiteral("There is not enough free disk space. Free some space on the disk that holds the database and try again."));
    ASSERT_TRUE(label);
    const QFontMetrics metrics = label->fontMetrics();
    EXPECT_GE(label->width(), 50 * metrics.averageCharWidth());
    const int oneLine = label->heightForWidth(QWIDGETSIZE_MAX);
    EXPECT_LE(label->heightForWidth(label->width()), oneLine + metrics.lineSpacing()) << "at most two lines";
    box->close();

    const auto [shortBox, shortLabel] = shownLabel(QStringLiteral("Done."));
    ASSERT_TRUE(shortLabel);
    EXPECT_LE(shortLabel->minimumWidth(), shortLabel->fontMetrics().horizontalAdvance(QStringLiteral("Done.")));
    shortBox->close();
}
