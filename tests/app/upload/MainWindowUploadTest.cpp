// The upload as the user starts it: two cards selected in the main window, File ▸ Upload, the
// plug-in's Log In window in front and taking what is typed, then the upload and result windows,
// against the fake service; the login saved in the private keyring fills the next upload's login.
#include "app/core/PLAppController.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "app/ui/PLMainMenu.h"
#include "platform/keychain/GenericPasswordStore.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/crm/FakeCrmService.h"
#include "tests/support/pluginwindows/WindowDriver.h"

#include <QAction>
#include <QDateTime>
#include <QDirIterator>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace {

const QString kPassword = QStringLiteral(" Unmistakable-Pa55 "); // blanks are part of it
const QString kUser = QStringLiteral("ann@example.com");

class MainWindowUpload : public ImagePaneFixture {
protected:
    FakeCrmService fake;
    std::unique_ptr<PLAppController> delegate;
    std::unique_ptr<PLMainMenu> menu;

    void SetUp() override
    {
        ImagePaneFixture::SetUp();
        PLSalesforceClientController::setApplicationFolder(qEnvironmentVariable("PELMORA_STAGE_DIR"));
        PreferenceDomain plugin(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        plugin.setValue(QStringLiteral("LoginServerURL"), PlistValue(fake.baseUrl()));
        ASSERT_TRUE(plugin.synchronize());
        fake.setCredentials(kUser, kPassword);
        delegate = std::make_unique<PLAppController>(window.get(), openDatabase, PLAppServices{}, Bundle::main());
        menu = std::make_unique<PLMainMenu>(*window, *delegate);
        // The front images are missing: the host makes their placeholders, which go up as attachments.
        addCard(QStringLiteral("card-a"),
                {{QStringLiteral("full_Name"), QStringLiteral("Ann Smith")},
                 {QStringLiteral("family_Name"), QStringLiteral("Smith")},
                 {QStringLiteral("first_Name"), QStringLiteral("Ann")},
                 {QStringLiteral("company"), QStringLiteral("Acme")},
                 {QStringLiteral("face_Image_File"), QStringLiteral("card-a.pdf")},
                 {QStringLiteral("accept_Date"), QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC)}});
        addCard(QStringLiteral("card-b"),
                {{QStringLiteral("full_Name"), QStringLiteral("Cy Jones")},
                 {QStringLiteral("family_Name"), QStringLiteral("Jones")},
                 {QStringLiteral("first_Name"), QStringLiteral("Cy")},
                 {QStringLiteral("company"), QStringLiteral("Gamma")},
                 {QStringLiteral("face_Image_File"), QStringLiteral("card-b.pdf")},
                 {QStringLiteral("accept_Date"), QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC)}});
    }
    void TearDown() override
    {
        menu.reset();
        delegate.reset();
        PLSalesforceClientController::setApplicationFolder(QString());
        ImagePaneFixture::TearDown();
    }

    // File ▸ Upload, as the menu runs it once opened; returns when the plug-in has returned.
    void upload()
    {
        for (QAction* top : window->window()->menuBar()->actions()) {
            QMenu* m = top->menu();
            for (QAction* item : m ? m->actions() : QList<QAction*>()) {
                if (item->objectName() != QLatin1String("onCloudConnect"))
                    continue;
                emit m->aboutToShow();
                ASSERT_TRUE(item->isEnabled());
                item->trigger();
                return;
            }
        }
        FAIL() << "no upload item";
    }

    // `field` of every record of `type` the fake holds, in the order they were made.
    QStringList valuesOf(const QString& type, const QString& field) const
    {
        QStringList values;
        for (const FakeCrmRecord& record : fake.records()) {
            if (record.type == type)
                values.append(field == QLatin1String("Id") ? record.id : record.value(field));
        }
        return values;
    }

    // Files under the private home that hold `text` in UTF-8.
    static QStringList filesHolding(const QString& text)
    {
        QStringList found;
        QDirIterator files(QDir::homePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text.toUtf8()))
                found.append(file.fileName());
        }
        return found;
    }
};

TEST_F(MainWindowUpload, TheLoginTakesTypedTextAndTheCardsGoUpWithTheirImages)
{
    ASSERT_EQ(GenericPasswordStore::remove(QStringLiteral("Quendrel")), kKeychainSuccess);
    select({QStringLiteral("card-a"), QStringLiteral("card-b")});
    WindowDriver driver;
    // The host's own box is up alone while it prepares the hand-off. Were it in front of the plug-in's
    // windows, only Escape on it would free them.
    bool hostBoxInFront = false;
    driver.always("_wndProcessing", [&](QWidget* box) {
        // A box already closed but not yet deleted is not in front of anything.
        if (!box->isVisible())
            return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        if (std::none_of(windows.begin(), windows.end(), [box](const QWidget* other) {
                return other != box && other->isVisible() && other->windowModality() != Qt::NonModal;
            }))
            return;
        hostBoxInFront = true;
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QStringList atLogin;
    driver.then("_loginView", [&](QWidget* login) {
        // The window the user faces, nothing of the host in front of it.
        atLogin.append(QApplication::activeModalWidget() == login ? "active modal" : "not the active modal window");
        atLogin.append(QApplication::activeWindow() == login ? "active" : "not active");
        auto* user = login->findChild<QLineEdit*>(QStringLiteral("_userNameField"));
        auto* password = login->findChild<QLineEdit*>(QStringLiteral("_passwordField"));
        atLogin.append(QApplication::focusWidget() == user ? "focus on user" : "focus elsewhere");
        const QPoint centre = login->frameGeometry().center() - window->window()->frameGeometry().center();
        const bool centred = std::abs(centre.x()) <= 2 && std::abs(centre.y()) <= 2;
        atLogin.append(centred ? QStringLiteral("centred") : QStringLiteral("off-centre by %1,%2").arg(centre.x()).arg(centre.y()));
        QTest::keyClicks(user, kUser);
        QTest::keyClick(user, Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), kPassword);
        atLogin.append(user->text() + "|" + password->text());
        WindowDriver::tick(login, "_saveKeychain");
        QTest::keyClick(password, Qt::Key_Return);
    });
    driver.then(
        "_uploadView",
        [](QWidget* upload) {
            WindowDriver::tick(upload, "_acUploadRadioBtn");
            WindowDriver::tick(upload, "_sameMethodUploadCheckBtn");
            WindowDriver::press(upload, "_uploadBtn");
        },
        WindowDriver::enabled("_uploadBtn"));
    QStringList rows;
    driver.then("_resultView", [&](QWidget* result) {
        auto* table = result->findChild<QTableWidget*>(QStringLiteral("_resultList"));
        for (int row = 0; table && row < table->rowCount(); ++row)
            rows.append(table->item(row, 2)->text() + "|" + table->item(row, 3)->text());
        WindowDriver::press(result, "_OKButton");
    });

    upload();
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_FALSE(hostBoxInFront);
    EXPECT_EQ(atLogin.join(',').toStdString(), ("active modal,active,focus on user,centred," + kUser + "|" + kPassword).toStdString());
    // In the list's order (by name, descending).
    EXPECT_EQ(rows.join(',').toStdString(), "Cy Jones|Uploaded,Ann Smith|Uploaded");
    EXPECT_EQ(valuesOf("Account", "Name").join(',').toStdString(), "Gamma,Acme");
    EXPECT_EQ(valuesOf("Contact", "LastName").join(',').toStdString(), "Jones,Smith");
    // One card image each, on its contact.
    EXPECT_EQ(valuesOf("Attachment", "ParentId"), valuesOf("Contact", "Id"));
    EXPECT_TRUE(driver.alerts().isEmpty()) << driver.alerts().join('\n').toStdString();

    // The login is in the keyring and nowhere on disk; the next upload logs in with it unasked.
    std::vector<GenericPasswordItem> stored;
    ASSERT_EQ(GenericPasswordStore::find(QStringLiteral("Quendrel"), stored), kKeychainSuccess);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored[0].account.startsWith(kUser));
    EXPECT_EQ(stored[0].data, (kPassword + "\t").toUtf8());
    EXPECT_EQ(filesHolding(kPassword.trimmed()), QStringList());

    WindowDriver again;
    // Both cards are on the service now: none is ticked to go again, so the results follow.
    again.then("_uploadCardsView", [](QWidget* cards) { WindowDriver::press(cards, "_OKButton"); });
    again.then("_resultView", [](QWidget* result) { WindowDriver::press(result, "_OKButton"); });
    const int logins = int(fake.journal().count(QStringLiteral("login")));
    upload();
    EXPECT_TRUE(again.finished()) << again.handled().join(',').toStdString();
    EXPECT_FALSE(again.handled().contains("_loginView"));
    EXPECT_EQ(fake.journal().count(QStringLiteral("login")), logins + 1);
}

// Run with --no-service: no Secret Service answers on the session bus.
class WithoutKeyring : public MainWindowUpload {};

TEST_F(WithoutKeyring, TheUserIsToldTheLoginWasNotSaved)
{
    select({QStringLiteral("card-a")});
    WindowDriver driver;
    driver.then("_loginView", [](QWidget* login) {
        QTest::keyClicks(login->findChild<QLineEdit*>(QStringLiteral("_userNameField")), kUser);
        QTest::keyClicks(login->findChild<QLineEdit*>(QStringLiteral("_passwordField")), kPassword);
        WindowDriver::tick(login, "_saveKeychain");
        WindowDriver::press(login, "_OKButton");
    });
    driver.then(
        "_uploadView", [](QWidget* upload) { WindowDriver::press(upload, "_cancelBtn"); }, WindowDriver::enabled("_cancelBtn"));
    driver.then("_resultView", [](QWidget* result) { WindowDriver::press(result, "_OKButton"); });

    upload();
    EXPECT_TRUE(driver.finished()) << driver.handled().join(',').toStdString();
    EXPECT_EQ(driver.alerts().join('\n').toStdString(),
              "The saved login could not be read from the keyring.\n"
              "The login could not be saved: no keyring (Secret Service) is available on this desktop. Nothing was saved.");
    EXPECT_EQ(filesHolding(kPassword.trimmed()), QStringList());
}
}
