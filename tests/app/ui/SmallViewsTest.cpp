// The link message panel and the small views of the main window, offscreen.
#include "app/ui/PLLinkMessageController.h"
#include "app/ui/views/PLLinkTextView.h"
#include "app/ui/views/PLScrollView.h"
#include "app/ui/views/PLSplitView.h"
#include "platform/foundation/NotificationCenter.h"
#include "tests/app/core/TestBundle.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Recorder {
    QStringList names;
    Recorder()
    {
        for (const char* name : {kShowButtonNotification, kHideButtonNotification, kSetButtonPosNotification, kSplitViewWillResizeNotification,
                                 kSplitViewDidResizeNotification})
            NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(name), [this](const Notification& n) { names.append(n.name); });
    }
    ~Recorder() { NotificationCenter::defaultCenter().removeObserver(this); }
};

} // namespace

TEST(LinkMessagePanel, ShowsTheTextWithoutMarkupAndReturnChoosesTheDefaultButton)
{
    TestBundle bundle;
    QWidget window;
    PLLinkMessageController controller(&window);
    EXPECT_EQ(controller.runMessageWindowWithTitle(QStringLiteral("T"), QString(), QStringLiteral("A"), {}, {}, 0, {}, false), -2);

    QString shown;
    QTimer::singleShot(0, [&] {
        auto* text = controller.window()->findChild<PLLinkTextView*>(QStringLiteral("_textView"));
        shown = text->toPlainText();
        QTest::keyClick(text, Qt::Key_Return);
    });
    const int answer = controller.runMessageWindowWithTitle(QStringLiteral("Title"), QStringLiteral("Read <help anchor=\"db\">the help</help>."),
                                                            QStringLiteral("One"), QStringLiteral("Two"), {}, 1, {}, false);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(shown, QStringLiteral("Read the help."));
    EXPECT_EQ(controller.anchors().value(QStringLiteral("5/8")), QStringLiteral("db"));
    EXPECT_TRUE(controller.window()->findChild<QPushButton*>(QStringLiteral("_thirdButton"))->isHidden());

    // No button titles: one OK button, which Return chooses.
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(controller.window()->findChild<QPushButton*>(QStringLiteral("_secondButton"))->isHidden());
        QTest::keyClick(controller.window()->findChild<PLLinkTextView*>(QStringLiteral("_textView")), Qt::Key_Enter);
    });
    EXPECT_EQ(controller.runMessageWindowWithTitle({}, QStringLiteral("plain"), {}, {}, {}, 2, {}, false), 0);
    EXPECT_EQ(controller.getCheckBoxState(), 0);
}

TEST(SmallViews, ImageScrollViewIsSilentWhileHiddenAndSplitViewAnnouncesItsSize)
{
    QWidget window;
    auto* scroll = new PLScrollView(&window);
    auto* split = new PLSplitView2(Qt::Horizontal, &window);
    window.resize(300, 200);
    window.show();
    Recorder recorder;
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(scroll, &enter);
    QCoreApplication::sendEvent(scroll, &leave);
    scroll->resize(120, 80);
    EXPECT_EQ(recorder.names, (QStringList{kShowButtonNotification, kHideButtonNotification, kSetButtonPosNotification}));

    recorder.names.clear();
    scroll->hide();
    QCoreApplication::sendEvent(scroll, &enter);
    scroll->resize(60, 40);
    scroll->framechanged();
    EXPECT_TRUE(recorder.names.isEmpty());

    split->resize(150, 90);
    EXPECT_EQ(recorder.names, (QStringList{kSplitViewWillResizeNotification, kSplitViewDidResizeNotification}));
}
