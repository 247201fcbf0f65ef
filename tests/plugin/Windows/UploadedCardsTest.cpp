// The uploaded-cards window: the cards the service already holds are listed with a tick each and a
// select-all box that follows the ticks; OK sends exactly the ticked ones again, and the others are
// reported as not uploaded.
#include "tests/plugin/Windows/UploadWindowsFixture.h"

#include <QCheckBox>

namespace {

// The tick of the row showing `name`.
QTableWidgetItem* tickOf(QWidget* window, const QString& name)
{
    auto* table = WindowDriver::child<QTableWidget>(window, "tblistCtler");
    for (int row = 0; table && row < table->rowCount(); ++row) {
        if (table->item(row, 1)->text() == name)
            return table->item(row, 0);
    }
    return nullptr;
}

TEST_F(UploadWindows, OnlyTheTickedCardsOfTheServiceGoAgain)
{
    const auto field = &FakeCrmService::field;
    fake.addRecord("Contact", {field("FirstName", "Ann"), field("LastName", "Smith"), field("Email", "ann@acme.example")});
    fake.addRecord("Contact", {field("FirstName", "Cy"), field("LastName", "Jones"), field("Email", "cy@gamma.example")});
    WindowDriver driver;
    logIn(driver);
    QStringList listed;
    QStringList selectAll;
    driver.then("_uploadCardsView", [&](QWidget* window) {
        auto* table = WindowDriver::child<QTableWidget>(window, "tblistCtler");
        for (int row = 0; row < table->rowCount(); ++row)
            listed.append(table->item(row, 1)->text() + "|" + table->item(row, 2)->text());
        auto* all = WindowDriver::child<QCheckBox>(window, "_selectAllCheckBtn");
        auto note = [&] { selectAll.append(all->isChecked() ? "all" : "not all"); };
        tickOf(window, "Cy Jones")->setCheckState(Qt::Checked);
        note();
        tickOf(window, "Ann Smith")->setCheckState(Qt::Checked);
        note();
        WindowDriver::tick(window, "_selectAllCheckBtn", false);
        selectAll.append(tickOf(window, "Ann Smith")->checkState() == Qt::Unchecked
                                 && tickOf(window, "Cy Jones")->checkState() == Qt::Unchecked
                             ? "none ticked"
                             : "some ticked");
        WindowDriver::tick(window, "_selectAllCheckBtn");
        selectAll.append(tickOf(window, "Cy Jones")->checkState() == Qt::Checked ? "Cy ticked" : "Cy not ticked");
        tickOf(window, "Cy Jones")->setCheckState(Qt::Unchecked);
        note();
        WindowDriver::press(window, "_OKButton");
    });
    driver.then("_uploadView", [](QWidget* window) {
        WindowDriver::tick(window, "_acUploadRadioBtn");
        WindowDriver::tick(window, "_sameMethodUploadCheckBtn");
        WindowDriver::press(window, "_uploadBtn");
    });
    QStringList rows;
    driver.then("_resultView", [&](QWidget* window) {
        rows = resultRows(window);
        WindowDriver::press(window, "_OKButton");
    });

    EXPECT_EQ(module.upload(cardFile(threeCards)), 10000);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(listed, (QStringList{"Ann Smith|Acme", "Cy Jones|Gamma"}));
    EXPECT_EQ(selectAll, (QStringList{"not all", "all", "none ticked", "Cy ticked", "not all"}));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("1|Acme|Ann Smith|Uploaded|")) << rows[0].toStdString();
    EXPECT_EQ(rows[1], "2|Beta|Bo|Failed|The last name is empty.");
    EXPECT_TRUE(rows[2].startsWith("3|Gamma|Cy Jones|Not uploaded|")) << rows[2].toStdString();
    EXPECT_EQ(valuesOf("Contact", "LastName"), (QStringList{"Smith", "Jones", "Smith"}));
}

// Labels the service does not give in time are said to be missing in a sentence, and the run goes
// on with the labels it has.
TEST_F(UploadWindows, LabelsTheServiceDoesNotGiveAreSaidSoAndTheRunGoesOn)
{
    // Login, then the labels of Account and Contact, Lead and Campaign.
    fake.scriptReply(4, FakeCrmService::faultReply("QUERY_TIMEOUT", "too long"));
    WindowDriver driver;
    logIn(driver);
    driver.then("_uploadView", [](QWidget* window) { WindowDriver::press(window, "_cancelBtn"); });
    QStringList rows;
    readResults(driver, rows);
    module.upload(cardFile(threeCards));
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(driver.alerts().join('\n').toStdString(),
              "The field labels could not be loaded from the service. Check the network connection and try again.");
    EXPECT_EQ(rows.size(), 3);
}

}
