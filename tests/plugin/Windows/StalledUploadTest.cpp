// A batch the service never answers: the progress window's cancel ends the call at once, takes back
// the records the batch had already made, and the results say that the upload was cancelled.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

#include <QElapsedTimer>

namespace {

constexpr int kStallMs = 60000;

TEST_F(UploadWindows, CancellingABatchTheServiceHoldsEndsItWithoutHalfMadeCards)
{
    const struct {
        int stalledCall;  // counted from the upload: 1 the Accounts, 2 the Contacts after them
        QStringList journalTail;
        int returnCode;  // the answer of the last call decides: the cancelled one, or the rollback's
    } cases[] = {
        {1, {"create Account x2", "logout"}, 10001},
        {2, {"create Account x2", "create Contact x2", "delete x2", "logout"}, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stalledCall);
        FakeCrmService service;
        PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        settings.setValue(QStringLiteral("LoginServerURL"), PlistValue(service.baseUrl()));
        ASSERT_TRUE(settings.synchronize());

        WindowDriver driver;
        logIn(driver);
        size_t before = 0;
        driver.then("_uploadView", [&](QWidget* window) {
            WindowDriver::tick(window, "_acUploadRadioBtn");
            WindowDriver::tick(window, "_sameMethodUploadCheckBtn");
            before = service.requests().size();
            // Were the service to answer after all, the cards would fail otherwise than cancelled.
            FakeCrmReply stall = FakeCrmService::faultReply("sf:UNKNOWN_EXCEPTION", "answered after the stall");
            stall.delayMs = kStallMs;
            service.scriptReply(int(before) + c.stalledCall, stall);
            WindowDriver::press(window, "_uploadBtn");
        });
        driver.then("_progressView", [](QWidget* window) { WindowDriver::press(window, "_uploadCancel"); },
            [&](QWidget*) { return service.requests().size() >= before + size_t(c.stalledCall); });
        QStringList rows;
        driver.then("_resultView", [&](QWidget* window) {
            rows = resultRows(window);
            WindowDriver::press(window, "_OKButton");
        });

        QFile::remove(resultFile());
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(module.upload(cardFile(threeCards), true), c.returnCode);
        // A safety net only: the cancel does not wait for the held answer.
        EXPECT_LT(clock.elapsed(), kStallMs);
        EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
        const QString cancelled = "The upload was cancelled before this card was complete; nothing of it was kept.";
        EXPECT_EQ(rows, (QStringList{"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Failed|The last name is empty.",
                            "3|Gamma|Cy Jones|Failed|" + cancelled}));
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
