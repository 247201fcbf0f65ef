// The waiting window of the stored login: the user can end the wait (Cancel, or the application
// asked to quit), and a login server that sends a byte now and then is given up at its deadline.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {

class LoginWait : public UploadWindows {
protected:
    void SetUp() override
    {
        UploadWindows::SetUp();
        WindowDriver settings;
        settings.then("_accountSettingView", [](QWidget* window) {
            WindowDriver::type(window, "_userNameField", "user@example.com");
            WindowDriver::type(window, "_passwordField", "secret");
            WindowDriver::press(window, "_OKButton");
        });
        ASSERT_EQ(module.settingsOnly(), 0);
    }
    void TearDown() override
    {
        PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        settings.remove(QStringLiteral("TimeOut"));
        settings.synchronize();
        fake.releaseHeldAnswer();
    }
};

// The waiting window stands for the login and for the calls that follow it before the upload
// window opens (the labels, the check which cards the service holds). Whichever of them the service
// holds, the user's Cancel or a quit ends the wait without its answer and nothing is asked after it
// but the logout of the session the login opened.
TEST_F(LoginWait, CancelOrAQuitEndsTheWaitWhateverCallTheServiceHolds)
{
    const struct {
        int heldCall; // counted from the login
        QStringList journal;
    } cases[] = {
        {1, {"login"}},
        {2, {"login", "describeSObjects", "logout"}},
        {5, {"login", "describeSObjects", "describeSObjects", "describeSObjects", "query Contact", "logout"}},
    };
    for (const auto& c : cases) {
        for (const bool quit : {false, true}) {
            SCOPED_TRACE(testing::Message() << "held call " << c.heldCall << (quit ? ", quit" : ", Cancel"));
            const int requests = int(fake.requests().size());
            fake.holdAnswerOfRequest(requests + c.heldCall);
            WindowDriver driver;
            driver.then(
                "_waitingView",
                [quit](QWidget* window) {
                    if (!quit) {
                        WindowDriver::press(window, "_cancelButton");
                        return;
                    }
                    QEvent request(QEvent::Quit);
                    QCoreApplication::sendEvent(QCoreApplication::instance(), &request);
                },
                [&](QWidget*) { return fake.heldRequestArrived(); });
            const QString cards = cardFile(threeCards);
            // The held answer comes only after the run has ended: the run cannot have waited for it.
            EXPECT_EQ(module.upload(cards), 10001);
            fake.releaseHeldAnswer();
            EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
            EXPECT_EQ(driver.handled().join(',').toStdString(), "_waitingView");
            EXPECT_TRUE(driver.alerts().isEmpty()) << driver.alerts().join('\n').toStdString();
            EXPECT_FALSE(QFileInfo::exists(cards));
            EXPECT_EQ(fake.journal().mid(requests).join(',').toStdString(), c.journal.join(',').toStdString());
            if (quit) {
                // The quit reached the application; this test program goes on.
                QTimer::singleShot(0, [] { QCoreApplication::exit(); });
                QCoreApplication::exec();
            }
        }
    }
}

TEST_F(LoginWait, AServerThatTricklesItsAnswerIsGivenUpAtTheDeadline)
{
    PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
    settings.setValue(QStringLiteral("TimeOut"), PlistValue(1000));
    ASSERT_TRUE(settings.synchronize());
    FakeCrmReply trickle = FakeCrmService::faultReply("sf:UNKNOWN_EXCEPTION", QString(2000, 'x'));
    trickle.trickleMs = 100; // never idle for the one second of the time-out; 200 s in all
    fake.queueReply(trickle);
    WindowDriver driver;
    QString message;
    driver.then("_loginView", [&](QWidget* window) {
        message = WindowDriver::textOf(window, "_msgField");
        WindowDriver::press(window, "_cancelButton");
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(module.upload(cardFile(threeCards)), 10001);
    // The deadline is two seconds; the limit only guards against waiting for the whole answer.
    EXPECT_LT(clock.elapsed(), 60000);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString() << driver.alerts().join('\n').toStdString();
    EXPECT_FALSE(message.isEmpty());
}

}
