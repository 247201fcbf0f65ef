// Cancel while the service works on a batch: the service makes the records and answers only after
// the user pressed Cancel. The upload waits for that answer, takes back what the batch made, and
// only then do the results say that nothing of the cards was kept.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

#include <QPushButton>

namespace {

TEST_F(UploadWindows, ACancelledBatchWaitsForTheCallInFlightAndTakesBackWhatItMade)
{
    const struct {
        int heldCall; // counted from the upload: 1 the Accounts, 2 the Contacts after them
        QStringList journalTail;
    } cases[] = {
        {1, {"create Account x2", "delete x2", "logout"}},
        {2, {"create Account x2", "create Contact x2", "delete x2", "logout"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heldCall);
        FakeCrmService service;
        PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        settings.setValue(QStringLiteral("LoginServerURL"), PlistValue(service.baseUrl()));
        ASSERT_TRUE(settings.synchronize());

        WindowDriver driver;
        logIn(driver);
        driver.then("_uploadView", [&](QWidget* window) {
            WindowDriver::tick(window, "_acUploadRadioBtn");
            WindowDriver::tick(window, "_sameMethodUploadCheckBtn");
            service.holdAnswerOfRequest(int(service.requests().size()) + c.heldCall);
            WindowDriver::press(window, "_uploadBtn");
        });
        bool cancelTaken = false;
        driver.then(
            "_progressView",
            [&](QWidget* window) {
                WindowDriver::press(window, "_uploadCancel");
                cancelTaken = !WindowDriver::child<QPushButton>(window, "_uploadCancel")->isEnabled();
                service.releaseHeldAnswer();
            },
            [&](QWidget*) { return service.heldRequestArrived(); });
        QStringList rows;
        driver.then("_resultView", [&](QWidget* window) {
            rows = resultRows(window);
            WindowDriver::press(window, "_OKButton");
        });

        QFile::remove(resultFile());
        EXPECT_EQ(module.upload(cardFile(threeCards), true), 10000);
        EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
        EXPECT_TRUE(cancelTaken);
        const QString cancelled = "The upload was cancelled before this card was complete; nothing of it was kept.";
        EXPECT_EQ(rows.join('\n').toStdString(),
                  QStringList({"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Failed|The last name is empty.",
                               "3|Gamma|Cy Jones|Failed|" + cancelled})
                      .join('\n')
                      .toStdString());
        QStringList records;
        for (const FakeCrmRecord& record : service.records())
            records.append(record.type);
        EXPECT_TRUE(records.isEmpty()) << records.join(',').toStdString();
        const QStringList journal = service.journal();
        EXPECT_EQ(journal.mid(journal.size() - c.journalTail.size()), c.journalTail) << journal.join('\n').toStdString();
        QFile result(resultFile());
        ASSERT_TRUE(result.open(QIODevice::ReadOnly));
        EXPECT_EQ(result.readAll(), utf16WithMark("#card-id,result\r\n101,-2\r\n102,-2\r\n103,-2"));
        EXPECT_TRUE(driver.alerts().isEmpty()) << driver.alerts().join('\n').toStdString();
    }
}

}
