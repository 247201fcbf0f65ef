// A create the service carried out but whose answer broke off: the card is said to have failed and
// that the service may hold a record of it; uploading the card again, in the same run or a later one,
// first looks for that record and files the card with it instead of making a second one.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

namespace {

const char* const kMayBeKept = "The service may have kept a record of this card; uploading the card again first looks for it.";

TEST_F(UploadWindows, ACardWhoseAnswerBrokeOffIsLookedForWhenItIsUploadedAgain)
{
    WindowDriver driver;
    logIn(driver);
    driver.then("_uploadView", [&](QWidget* window) {
        fake.garbleAnswerOfRequest(int(fake.requests().size()) + 1);
        WindowDriver::press(window, "_uploadBtn");
    });
    int firstTry = 0;
    driver.then(
        "_uploadView",
        [&](QWidget* window) {
            firstTry = int(fake.requests().size());
            WindowDriver::press(window, "_uploadBtn");
        },
        WindowDriver::enabled("_uploadBtn"));
    driver.then(
        "_uploadView", [](QWidget* window) { WindowDriver::press(window, "_cancelBtn"); },
        [](QWidget* window) { return WindowDriver::textOf(window, "_cardIndex") == "Card 2 of 3"; });
    QStringList rows;
    readResults(driver, rows);

    EXPECT_EQ(module.upload(cardFile(threeCards)), 10000);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    ASSERT_EQ(driver.alerts().size(), 1) << driver.alerts().join('\n').toStdString();
    EXPECT_TRUE(driver.alerts()[0].endsWith("The service may have kept a record of this card. Uploading it again first looks for "
                                            "that record, so that none is made twice."))
        << driver.alerts()[0].toStdString();
    EXPECT_EQ(leads().join(",").toStdString(), "Smith/Acme/Phone Inquiry");
    EXPECT_EQ(fake.journal().mid(firstTry).join(',').toStdString(), "query Lead,logout");
    EXPECT_EQ(rows.join('\n').toStdString(), "1|Acme|Ann Smith|Uploaded|Filed as a Lead.\n"
                                             "2|Beta|Bo|Not uploaded|\n"
                                             "3|Gamma|Cy Jones|Not uploaded|");
}

// A batch whose first create lost its answer, then the same cards in a later upload: the Leads are
// found by the check of the cards already on the service and may be ticked to go again; the Accounts
// are found before any is made. Either way each card has one record of the kind.
TEST_F(UploadWindows, ABatchWhoseAnswerBrokeOffIsLookedForInTheNextUpload)
{
    const struct {
        bool lead;
        QString lookup;
        QString secondRun;
        std::map<QString, int> records;
    } cases[] = {
        {true, "query Lead", "query Lead,logout", {{"Lead", 2}}},
        {false, "query Account", "query Account,create Contact x2", {{"Account", 2}, {"Contact", 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lead ? "leads" : "accounts");
        FakeCrmService service;
        PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        settings.setValue(QStringLiteral("LoginServerURL"), PlistValue(service.baseUrl()));
        ASSERT_TRUE(settings.synchronize());
        auto upload = [&](WindowDriver& driver) {
            driver.then("_uploadView", [&](QWidget* window) {
                WindowDriver::tick(window, c.lead ? "_leadUploadRadioBtn" : "_acUploadRadioBtn");
                WindowDriver::tick(window, "_sameMethodUploadCheckBtn");
                WindowDriver::press(window, "_uploadBtn");
            });
        };
        QStringList rows;

        WindowDriver first;
        logIn(first);
        upload(first);
        readResults(first, rows);
        // The login, the labels and the check of the cards come before the first create.
        service.garbleAnswerOfRequest(7);
        module.upload(cardFile(threeCards));
        EXPECT_TRUE(first.finished()) << first.handled().join(',').toStdString();
        const QString failed = QString("Failed|The card could not be uploaded. ") + kMayBeKept;
        EXPECT_EQ(rows.join('\n').toStdString(), QStringList({"1|Acme|Ann Smith|" + failed, "2|Beta|Bo|Failed|The last name is empty.",
                                                              "3|Gamma|Cy Jones|" + failed})
                                                     .join('\n')
                                                     .toStdString());

        WindowDriver second;
        logIn(second);
        if (c.lead) {
            second.then("_uploadCardsView", [](QWidget* window) {
                WindowDriver::tick(window, "_selectAllCheckBtn");
                WindowDriver::press(window, "_OKButton");
            });
        }
        upload(second);
        readResults(second, rows);
        const int before = int(service.requests().size());
        EXPECT_EQ(module.upload(cardFile(threeCards)), 10000);
        EXPECT_TRUE(second.finished()) << second.handled().join(',').toStdString();
        ASSERT_EQ(rows.size(), 3);
        EXPECT_TRUE(rows[0].startsWith("1|Acme|Ann Smith|Uploaded|")) << rows[0].toStdString();
        EXPECT_TRUE(rows[2].startsWith("3|Gamma|Cy Jones|Uploaded|")) << rows[2].toStdString();
        const QStringList journal = service.journal().mid(before);
        const qsizetype lookup = journal.indexOf(c.lookup, journal.indexOf("query Lead") + 1);
        EXPECT_EQ(journal.mid(lookup, 2).join(',').toStdString(), c.secondRun.toStdString()) << journal.join(',').toStdString();
        std::map<QString, int> records;
        for (const FakeCrmRecord& record : service.records())
            ++records[record.type];
        EXPECT_EQ(records, c.records);
    }
}

}
