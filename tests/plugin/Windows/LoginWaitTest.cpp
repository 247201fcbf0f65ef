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

TEST_F(LoginWait, CancelOrAQuitEndsTheWaitAndTheRun)
{
    for (const bool quit : {false, true}) {
        SCOPED_TRACE(quit);
        const int requests = int(fake.requests().size());
        fake.holdAnswerOfRequest(requests + 1);
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
        EXPECT_EQ(module.upload(cards), 10001);
        EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
        EXPECT_EQ(driver.handled(), QStringList{"_waitingView"});
        EXPECT_FALSE(QFileInfo::exists(cards));
        EXPECT_EQ(fake.journal().mid(requests), QStringList{"login"}) << "nothing after the cancelled login";
        fake.releaseHeldAnswer();
        if (quit) {
            // The quit reached the application; this test program goes on.
            QTimer::singleShot(0, [] { QCoreApplication::exit(); });
            QCoreApplication::exec();
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
