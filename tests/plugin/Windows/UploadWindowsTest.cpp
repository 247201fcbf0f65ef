// The plug-in's windows driven through the real entry against the fake service, as a user drives
// them: the login window, the upload window, the result window, and the account settings of the
// settings-only call. Each run starts the plug-in as the host does and checks what the service
// holds afterwards and the files the run leaves.
#include "tests/plugin/Windows/UploadWindowsFixture.h"
#include "tests/support/pdf/TestPdf.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QUrl>

namespace {

TEST_F(UploadWindows, SameWayUploadsEveryCardAndTheHostFileTellsEachOutcome)
{
    WindowDriver driver;
    logIn(driver);
    QString cardIndex;
    driver.then("_uploadView", [&](QWidget* window) {
        cardIndex = WindowDriver::textOf(window, "_cardIndex");
        WindowDriver::child<QComboBox>(window, "_leadSourceComboBox")->setCurrentText("Web");
        WindowDriver::tick(window, "_sameMethodUploadCheckBtn");
        WindowDriver::press(window, "_uploadBtn");
    });
    QString summary;
    QStringList rows;
    driver.then("_resultView", [&](QWidget* window) {
        summary = WindowDriver::textOf(window, "_msgField");
        rows = resultRows(window);
        WindowDriver::press(window, "_OKButton");
    });

    std::vector<CardFixture> withImages = threeCards;
    for (CardFixture& card : withImages) {
        card.imageUrl = QUrl::fromLocalFile(temp.filePath("handoff/" + card.id + ".pdf")).toString();
        QDir().mkpath(temp.filePath("handoff"));
        ASSERT_TRUE(testpdf::writePdf(temp.filePath("handoff/" + card.id + ".pdf"), testpdf::scannerDocument(1, "Brevix Pelmora")));
    }
    const QString cards = cardFile(withImages);
    EXPECT_EQ(module.upload(cards, true), 10000);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(cardIndex, "Card 1 of 3");
    EXPECT_EQ(leads(), (QStringList{"Smith/Acme/Web", "Jones/Gamma/Web"}));
    int attachments = 0;
    for (const FakeCrmRecord& record : fake.records())
        attachments += record.type == "Attachment";
    EXPECT_EQ(attachments, 2);
    EXPECT_EQ(summary, "Some cards could not be uploaded.");
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("1|Acme|Ann Smith|Uploaded|")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith("2|Beta|Bo|Failed|")) << rows[1].toStdString();
    QFile result(resultFile());
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), utf16WithMark("#card-id,result\r\n101,0\r\n102,-2\r\n103,0"));
    EXPECT_FALSE(QFileInfo::exists(cards)) << "the card file goes once its cards are read";
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("handoff"))) << "and the card images after the run";
    EXPECT_TRUE(driver.alerts().isEmpty()) << driver.alerts().join('\n').toStdString();
}

TEST_F(UploadWindows, AStoredLoginSkipsTheLoginWindowAndCardsGoOneByOne)
{
    // The blanks belong to the password: it is stored and sent exactly as typed.
    fake.setCredentials("user@example.com", " se cret ");
    WindowDriver settings;
    settings.then("_accountSettingView", [](QWidget* window) {
        WindowDriver::type(window, "_userNameField", " user@example.com ");
        WindowDriver::type(window, "_passwordField", " se cret ");
        WindowDriver::press(window, "_OKButton");
    });
    EXPECT_EQ(module.settingsOnly(), 0);
    EXPECT_TRUE(settings.finished());
    EXPECT_TRUE(fake.journal().isEmpty()) << "the settings alone never reach the service";

    WindowDriver driver;
    QStringList shown;
    driver.then("_uploadView", [&](QWidget* window) {
        WindowDriver::tick(window, "_acUploadRadioBtn");
        WindowDriver::press(window, "_uploadBtn");
    });
    driver.then("_uploadView", [&](QWidget* window) {
        shown.append(WindowDriver::textOf(window, "_cardIndex") + " " + WindowDriver::textOf(window, "_fullNameLabel"));
        WindowDriver::press(window, "_skipBtn");
    }, WindowDriver::enabled("_skipBtn"));
    driver.then("_uploadView", [&](QWidget* window) {
        shown.append(WindowDriver::textOf(window, "_cardIndex") + " " + WindowDriver::textOf(window, "_fullNameLabel"));
        WindowDriver::press(window, "_uploadBtn");
    }, WindowDriver::enabled("_uploadBtn"));
    QStringList rows;
    driver.then("_resultView", [&](QWidget* window) {
        rows = resultRows(window);
        WindowDriver::press(window, "_OKButton");
    });

    EXPECT_EQ(module.upload(cardFile(threeCards)), 10000);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_FALSE(driver.handled().contains("_loginView"));
    EXPECT_EQ(shown, (QStringList{"Card 2 of 3 Bo", "Card 3 of 3 Cy Jones"}));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("1|Acme|Ann Smith|Uploaded|")) << rows[0].toStdString();
    EXPECT_EQ(rows[1], "2|Beta|Bo|Not uploaded|");
    EXPECT_TRUE(rows[2].startsWith("3|Gamma|Cy Jones|Uploaded|")) << rows[2].toStdString();
    QStringList contacts;
    for (const FakeCrmRecord& record : fake.records()) {
        if (record.type == "Contact")
            contacts.append(record.value("LastName"));
    }
    EXPECT_EQ(contacts, (QStringList{"Smith", "Jones"}));
    EXPECT_FALSE(QFileInfo::exists(resultFile())) << "the host did not ask for its result file";
}

TEST_F(UploadWindows, ARefusedLoginIsRetriedWithTheTypedValuesAndAnUnstorableOneStillUploads)
{
    const QString longName = QString(10000, 'u') + "@example.com";
    fake.setCredentials(longName, "se\tcret");
    WindowDriver driver;
    logIn(driver, longName, "wrong");
    QString message;
    int keptName = 0;
    driver.then("_loginView", [&](QWidget* window) {
        message = WindowDriver::textOf(window, "_msgField");
        keptName = WindowDriver::child<QLineEdit>(window, "_userNameField")->text().size();
        WindowDriver::type(window, "_passwordField", "se\tcret");
        WindowDriver::tick(window, "_saveKeychain");
        WindowDriver::press(window, "_OKButton");
    });
    driver.then("_uploadView", [](QWidget* window) { WindowDriver::press(window, "_cancelBtn"); });
    QStringList rows;
    driver.then("_resultView", [&](QWidget* window) {
        rows = resultRows(window);
        WindowDriver::press(window, "_OKButton");
    });

    EXPECT_EQ(module.upload(cardFile({threeCards[0]})), 10000);
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(message, "The user name, password or security token is not correct.");
    EXPECT_EQ(keptName, longName.size());
    ASSERT_EQ(driver.alerts().size(), 1) << "the run goes on";
    EXPECT_TRUE(driver.alerts()[0].startsWith("The login could not be saved")) << driver.alerts()[0].toStdString();
    EXPECT_EQ(rows, QStringList{"1|Acme|Ann Smith|Not uploaded|"});
    EXPECT_TRUE(leads().isEmpty());
}

TEST_F(UploadWindows, CancellingTheLoginEndsTheRunAndDropsTheCardFile)
{
    WindowDriver driver;
    driver.then("_loginView", [](QWidget* window) { WindowDriver::press(window, "_cancelButton"); });
    const QString cards = cardFile(threeCards);
    EXPECT_EQ(module.upload(cards), 10001);
    EXPECT_TRUE(driver.finished());
    EXPECT_FALSE(QFileInfo::exists(cards));
    EXPECT_TRUE(fake.journal().isEmpty());
}

}
