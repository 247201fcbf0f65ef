// Cancel while the service works on a batch or on a single card: the service makes the records and
// answers only after the user pressed Cancel. The upload waits for that answer, its Cancel saying
// that the cancel is under way, takes back what it made, and only then do the results say that
// nothing of the cards was kept.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

#include <QPushButton>

namespace {

TEST_F(UploadWindows, ACancelledUploadWaitsForTheCallInFlightAndTakesBackWhatItMade)
{
    const QString cancelled = "The upload was cancelled before this card was complete; nothing of it was kept.";
    const struct {
        bool lead;
        bool together; // the same-way box: a batch with its progress window, else the current card alone
        int heldCall; // counted from the upload: 1 the Accounts or Leads, 2 the Contacts after them
        QStringList journalTail;
        QStringList rows;
        const char* hostFile;
    } cases[] = {
        {false, true, 1, {"create Account x2", "delete x2", "logout"},
         {"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Failed|The last name is empty.", "3|Gamma|Cy Jones|Failed|" + cancelled},
         "101,-2\r\n102,-2\r\n103,-2"},
        {false, true, 2, {"create Account x2", "create Contact x2", "delete x2", "logout"},
         {"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Failed|The last name is empty.", "3|Gamma|Cy Jones|Failed|" + cancelled},
         "101,-2\r\n102,-2\r\n103,-2"},
        {true, true, 1, {"create Lead x2", "delete x2", "logout"},
         {"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Failed|The last name is empty.", "3|Gamma|Cy Jones|Failed|" + cancelled},
         "101,-2\r\n102,-2\r\n103,-2"},
        {false, false, 2, {"create Account x1", "create Contact x1", "delete x1", "logout"},
         {"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Not uploaded|", "3|Gamma|Cy Jones|Not uploaded|"},
         "101,-2\r\n102,1\r\n103,1"},
        {true, false, 1, {"create Lead x1", "delete x1", "logout"},
         {"1|Acme|Ann Smith|Failed|" + cancelled, "2|Beta|Bo|Not uploaded|", "3|Gamma|Cy Jones|Not uploaded|"},
         "101,-2\r\n102,1\r\n103,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.lead ? "lead" : "account") << (c.together ? " batch" : " single") << ", held call " << c.heldCall);
        FakeCrmService service;
        PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        settings.setValue(QStringLiteral("LoginServerURL"), PlistValue(service.baseUrl()));
        ASSERT_TRUE(settings.synchronize());

        WindowDriver driver;
        logIn(driver);
        driver.then("_uploadView", [&](QWidget* window) {
            WindowDriver::tick(window, c.lead ? "_leadUploadRadioBtn" : "_acUploadRadioBtn");
            WindowDriver::tick(window, "_sameMethodUploadCheckBtn", c.together);
            service.holdAnswerOfRequest(int(service.requests().size()) + c.heldCall);
            WindowDriver::press(window, "_uploadBtn");
        });
        // A batch is cancelled in its progress window, a single card in the upload window itself.
        const char* const cancelButton = c.together ? "_uploadCancel" : "_cancelBtn";
        bool cancelTaken = false;
        QString cancelSays;
        driver.then(
            c.together ? "_progressView" : "_uploadView",
            [&](QWidget* window) {
                WindowDriver::press(window, cancelButton);
                const auto* cancel = WindowDriver::child<QPushButton>(window, cancelButton);
                cancelTaken = !cancel->isEnabled();
                cancelSays = cancel->text();
                service.releaseHeldAnswer();
            },
            [&](QWidget*) { return service.heldRequestArrived(); });
        QStringList rows;
        readResults(driver, rows);

        QFile::remove(resultFile());
        EXPECT_EQ(module.upload(cardFile(threeCards), true), 10000);
        EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
        EXPECT_TRUE(cancelTaken);
        EXPECT_EQ(cancelSays.toStdString(), "Cancelling…") << "while the service holds its answer";
        EXPECT_EQ(rows.join('\n').toStdString(), c.rows.join('\n').toStdString());
        QStringList records;
        for (const FakeCrmRecord& record : service.records())
            records.append(record.type);
        EXPECT_TRUE(records.isEmpty()) << records.join(',').toStdString();
        const QStringList journal = service.journal();
        EXPECT_EQ(journal.mid(journal.size() - c.journalTail.size()).join(',').toStdString(), c.journalTail.join(',').toStdString());
        QFile result(resultFile());
        ASSERT_TRUE(result.open(QIODevice::ReadOnly));
        EXPECT_EQ(result.readAll(), utf16WithMark(QString("#card-id,result\r\n") + c.hostFile));
        EXPECT_TRUE(driver.alerts().isEmpty()) << driver.alerts().join('\n').toStdString();
    }
}

}
