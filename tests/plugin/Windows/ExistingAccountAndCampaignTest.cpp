// The choices of the upload window that reach the service before the upload: the account search
// that files a card under an existing Account, and the campaign search window whose choice the
// Leads join. Driven through the real entry against the fake service.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

QStringList tableRows(QWidget* window, const char* table)
{
    QStringList rows;
    auto* view = WindowDriver::child<QTableWidget>(window, table);
    for (int row = 0; view && row < view->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < view->columnCount(); ++column)
            cells.append(view->item(row, column) ? view->item(row, column)->text() : QString());
        rows.append(cells.join('|'));
    }
    return rows;
}

void selectRow(QWidget* window, const char* table, int row)
{
    auto* view = WindowDriver::child<QTableWidget>(window, table);
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->isEnabled());
    view->selectRow(row);
}

void pressReturn(QWidget* target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(target, &press);
}

void okResult(WindowDriver& driver)
{
    driver.then("_resultView", [](QWidget* window) { WindowDriver::press(window, "_OKButton"); });
}

TEST_F(UploadWindows, CardsGoUnderExistingAccountsFoundByTheirMailDomainOrByName)
{
    const QString acme = fake.addRecord("Account", {FakeCrmService::field("Name", "Acme Corp")});
    fake.addRecord("Contact", {FakeCrmService::field("LastName", "Old"), FakeCrmService::field("Email", "old@acme.example"),
                                  FakeCrmService::field("AccountId", acme)});
    const QString beta = fake.addRecord("Account", {FakeCrmService::field("Name", "Beta Ltd")});
    const QString dealer = fake.addRecord("Account", {FakeCrmService::field("Name", "Beta Dealers")});
    // One account a page: the table holds what the service hands out page by page.
    fake.setPageSize(1);

    WindowDriver driver;
    logIn(driver);
    QStringList found;
    const auto ready = WindowDriver::enabled("_uploadBtn");
    driver.then("_uploadView", [](QWidget* window) {
        WindowDriver::tick(window, "_acUploadRadioBtn");
        WindowDriver::tick(window, "_existedACUploadRadioBtn");
    });
    driver.then("_uploadView", [&](QWidget* window) {
        found.append("auto: " + tableRows(window, "_accountTableView").join(','));
        // Nothing chosen yet: the window asks for an account and uploads nothing.
        WindowDriver::press(window, "_uploadBtn");
        selectRow(window, "_accountTableView", 0);
        WindowDriver::press(window, "_uploadBtn");
    }, ready);
    driver.then("_uploadView", [&](QWidget* window) {
        found.append(WindowDriver::textOf(window, "_cardIndex") + ": " + tableRows(window, "_accountTableView").join(','));
        WindowDriver::press(window, "_accountSearchBtn");
        WindowDriver::type(window, "_searchConditionText", "zzz");
        WindowDriver::press(window, "_accountSearchBtn");
    }, ready);
    driver.then("_uploadView", [&](QWidget* window) {
        WindowDriver::type(window, "_searchConditionText", "Beta");
        WindowDriver::press(window, "_accountSearchBtn");
    }, ready);
    driver.then("_uploadView", [&](QWidget* window) {
        found.append("Beta: " + tableRows(window, "_accountTableView").join(','));
        selectRow(window, "_accountTableView", 0);
        WindowDriver::press(window, "_uploadBtn");
    }, ready);
    okResult(driver);

    const std::vector<CardFixture> cards{
        {"201", "Ann Smith", "Smith", "Ann", "Acme", "ann@acme.example", "", ""},
        {"202", "Bo Lee", "Lee", "Bo", "Beta", "bo@nowhere.example", "", ""},
    };
    EXPECT_EQ(module.upload(cardFile(cards)), 0);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(found, (QStringList{"auto: Acme Corp", "Card 2 of 2: ", "Beta: Beta Ltd,Beta Dealers"}));
    EXPECT_TRUE(fake.journal().contains("queryMore"));
    EXPECT_EQ(driver.alerts(), (QStringList{"Choose an existing Account in the list first.", "Type a name to search for.",
                                   "No Account was found with this name."}));
    EXPECT_EQ(valuesOf("Account", "Id"), (QStringList{acme, beta, dealer})) << "no Account is made";
    EXPECT_EQ(valuesOf("Contact", "LastName"), (QStringList{"Old", "Smith", "Lee"}));
    EXPECT_EQ(valuesOf("Contact", "AccountId"), (QStringList{acme, acme, beta}));
}

TEST_F(UploadWindows, AnAccountSearchTheServiceRefusesLeavesTheWindowUsable)
{
    WindowDriver driver;
    logIn(driver);
    driver.then("_uploadView", [&](QWidget* window) {
        WindowDriver::tick(window, "_acUploadRadioBtn");
        // The card's domain search is refused by the service.
        fake.queueReply(FakeCrmService::faultReply("sf:INVALID_FIELD", "No such column 'Emial'"));
        WindowDriver::tick(window, "_existedACUploadRadioBtn");
    });
    QString afterwards;
    driver.then("_uploadView", [&](QWidget* window) {
        afterwards = tableRows(window, "_accountTableView").join(',');
        WindowDriver::tick(window, "_newACUploadRadioBtn");
        WindowDriver::press(window, "_uploadBtn");
    }, WindowDriver::enabled("_uploadBtn"));
    okResult(driver);

    EXPECT_EQ(module.upload(cardFile({threeCards[0]})), 0);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    ASSERT_EQ(driver.alerts().size(), 1);
    EXPECT_EQ(driver.alerts()[0].toStdString(), "An error occurred: sf:INVALID_FIELD: No such column 'Emial'");
    EXPECT_EQ(afterwards, "");
    EXPECT_EQ(valuesOf("Account", "Name"), QStringList{"Acme"}) << "the card still went up as a new Account";
}

TEST_F(UploadWindows, TheChosenCampaignIsKeptUntilAnotherIsChosenAndTheLeadsJoinIt)
{
    fake.addRecord("Campaign", {FakeCrmService::field("Name", "Spring Fair"), FakeCrmService::field("StartDate", "2026-04-01"),
                                   FakeCrmService::field("Type", "Trade Show"), FakeCrmService::field("Status", "Planned")});
    const QString autumn = fake.addRecord("Campaign", {FakeCrmService::field("Name", "Autumn Fair"), FakeCrmService::field("Type", "Trade Show")});
    fake.addRecord("Campaign", {FakeCrmService::field("Name", "Webinar")});

    WindowDriver driver;
    logIn(driver);
    QStringList seen;
    const auto searchReady = WindowDriver::enabled("_searchBtn");
    driver.then("_uploadView", [](QWidget* window) { WindowDriver::press(window, "_campaignSearchBtn"); });
    driver.then("_searchCampaignView", [&](QWidget* window) {
        seen.append(window->windowTitle() + " / " + WindowDriver::textOf(window, "_tableNameLabel"));
        WindowDriver::type(window, "_searchConditionText", "  nothing like it\t");
        WindowDriver::press(window, "_searchBtn");
    });
    driver.then("_searchCampaignView", [&](QWidget* window) {
        WindowDriver::type(window, "_searchConditionText", " Fair ");
        WindowDriver::press(window, "_searchBtn");
    }, searchReady);
    driver.then("_searchCampaignView", [&](QWidget* window) {
        seen.append(tableRows(window, "_campaignList").join(','));
        selectRow(window, "_campaignList", 1);
        pressReturn(WindowDriver::child<QTableWidget>(window, "_campaignList"));
    }, searchReady);
    driver.then("_uploadView", [&](QWidget* window) {
        seen.append(WindowDriver::child<QLineEdit>(window, "_campaignText")->text());
        WindowDriver::press(window, "_campaignSearchBtn");
    });
    driver.then("_searchCampaignView", [&](QWidget* window) {
        seen.append("again: " + WindowDriver::child<QLineEdit>(window, "_searchConditionText")->text() + " "
            + QString::number(tableRows(window, "_campaignList").size()));
        WindowDriver::press(window, "_cancelBtn");
    });
    driver.then("_uploadView", [&](QWidget* window) {
        seen.append(WindowDriver::child<QLineEdit>(window, "_campaignText")->text());
        WindowDriver::tick(window, "_sameMethodUploadCheckBtn");
        WindowDriver::press(window, "_uploadBtn");
    });
    okResult(driver);

    EXPECT_EQ(module.upload(cardFile({threeCards[0], threeCards[2]})), 0);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(seen, (QStringList{"Search Campaign / Campaign found:", "Spring Fair|2026-04-01||Trade Show|Planned,Autumn Fair|||Trade Show|",
                        "Autumn Fair", "again:  Fair  2", "Autumn Fair"}));
    EXPECT_EQ(driver.alerts(), QStringList{"No Campaign was found."});
    EXPECT_EQ(valuesOf("Lead", "LastName"), (QStringList{"Smith", "Jones"}));
    EXPECT_EQ(valuesOf("CampaignMember", "CampaignId"), (QStringList{autumn, autumn}));
    EXPECT_EQ(valuesOf("CampaignMember", "LeadId"), valuesOf("Lead", "Id"));
}

}
