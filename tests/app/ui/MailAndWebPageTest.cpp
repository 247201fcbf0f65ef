// Mail and web page commands: the URLs made from card text (a table of ordinary, blank and
// hostile values), and the toolbar items handing them to the desktop through the window.
#include "app/ui/logic/CardUrls.h"
#include "app/ui/logic/ToolbarItems.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QAction>

namespace {

TEST(CardUrls, MailUrlTakesEveryAddressOfTheFieldsEachEncoded)
{
    struct Case {
        const char* what;
        QStringList fields;
        const char* url; // empty: no URL
    } cases[] = {
        {"one", {"ann@example.org"}, "mailto:ann@example.org"},
        {"several, trimmed, blanks left out",
         {" ann@example.org ", "", "  ", "bo.kim+cards@mail.example.co.jp"},
         "mailto:ann@example.org,bo.kim%2Bcards@mail.example.co.jp"},
        {"an apostrophe", {"o'brien@example.com"}, "mailto:o%27brien@example.com"},
        {"an ampersand and a percent sign", {"r&d@example.com", "100%@example.com"}, "mailto:r%26d@example.com,100%25@example.com"},
        {"two addresses in one field", {"ann@example.org, bo@example.org"}, "mailto:ann@example.org,bo@example.org"},
        {"separated by semicolons and line breaks",
         {"ann@example.org;bo@example.org\ncy@example.org"},
         "mailto:ann@example.org,bo@example.org,cy@example.org"},
        {"words without an address left out", {"Mail: ann@example.org (office)"}, "mailto:ann@example.org"},
        {"none", {"", " ", "no address"}, ""},
        {"a header smuggled in stays in the address",
         {"ann@example.org?bcc=eve@evil.example"},
         "mailto:ann@example.org%3Fbcc%3Deve@evil.example"},
        {"a parameter stays in the address", {"ann@example.org&body=hi"}, "mailto:ann@example.org%26body%3Dhi"},
        {"a header line loses its name", {"ann@example.org\r\nBcc: eve@evil.example"}, "mailto:ann@example.org,eve@evil.example"},
        {"a fragment stays in the address", {"ann@example.org#x"}, "mailto:ann@example.org%23x"},
        {"letters beyond ASCII", {"ünal@exämple.de"}, "mailto:%C3%BCnal@ex%C3%A4mple.de"},
    };
    for (const Case& c : cases) {
        const QUrl url = CardUrls::mailUrl(c.fields);
        EXPECT_EQ(QString::fromLatin1(url.toEncoded()), QString::fromUtf8(c.url)) << c.what;
        if (!url.isEmpty()) {
            EXPECT_TRUE(url.isValid()) << c.what;
            EXPECT_FALSE(url.hasQuery()) << c.what;
            EXPECT_FALSE(url.hasFragment()) << c.what;
        }
    }
}

TEST(CardUrls, WebPageUrlGetsItsSchemeAndNeedsAHost)
{
    struct Case {
        const char* address;
        const char* url; // empty: no URL
    } cases[] = {
        {"www.example.org", "http://www.example.org"},
        {"  www.example.org/about  ", "http://www.example.org/about"},
        {"HTTPS://Example.org/Path", "https://example.org/Path"},
        {"http://example.org/a b", "http://example.org/a%20b"},
        {"例え.jp", "http://xn--r8jz45g.jp"},
        {"javascript:alert(1)", ""},
        {"", ""},
        {"http://", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromLatin1(CardUrls::webPageUrl(QString::fromUtf8(c.address)).toEncoded()), QString::fromLatin1(c.url)) << c.address;
}

class MailAndWebPage : public ImagePaneFixture {
protected:
    FakeWorkspace workspace;
    QAction* item(const char* identifier) { return window->toolbarItem(QString::fromLatin1(identifier)); }
};

TEST_F(MailAndWebPage, ToolbarItemsOpenTheSelectedCardsAddresses)
{
    writeScanner(QStringLiteral("a.pdf"), 1);
    writeScanner(QStringLiteral("b.pdf"), 1);
    writeScanner(QStringLiteral("c.pdf"), 1);
    addCard(QStringLiteral("A"), {{QStringLiteral("face_Image_File"), QStringLiteral("a.pdf")},
                                  {QStringLiteral("e_Mail"), QStringLiteral(" ann@example.org ")},
                                  {QStringLiteral("web_Page_Address"), QStringLiteral("www.example.org")}});
    addCard(QStringLiteral("B"),
            {{QStringLiteral("face_Image_File"), QStringLiteral("b.pdf")},
             {QStringLiteral("e_Mail"), QStringLiteral("o'brien@example.com; eve@example.org?bcc=all@example.org")}});
    addCard(QStringLiteral("C"),
            {{QStringLiteral("face_Image_File"), QStringLiteral("c.pdf")}, {QStringLiteral("e_Mail"), QStringLiteral("see the back")}});
    QAction* mail = item(ToolbarItems::kMail);
    QAction* web = item(ToolbarItems::kExplorer);

    select({QStringLiteral("C")});
    EXPECT_FALSE(mail->isEnabled()) << "no address in the field";
    select({QStringLiteral("B")});
    ASSERT_TRUE(mail->isEnabled());
    EXPECT_FALSE(web->isEnabled());
    mail->trigger();
    select({QStringLiteral("A"), QStringLiteral("C")});
    ASSERT_TRUE(mail->isEnabled());
    mail->trigger();
    select({QStringLiteral("A")});
    web->trigger();
    EXPECT_EQ(workspace.openedUrls,
              (QList<QUrl>{QUrl::fromEncoded("mailto:o%27brien@example.com,eve@example.org%3Fbcc%3Dall@example.org"),
                           QUrl(QStringLiteral("mailto:ann@example.org")), QUrl(QStringLiteral("http://www.example.org"))}));
    EXPECT_TRUE(presenter.texts().isEmpty());

    // An address typed away after the item was enabled: the command says so.
    select({QStringLiteral("C")});
    mail->setEnabled(true);
    mail->trigger();
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E45")});
    // A desktop without a handler: message 45.
    workspace.openUrlSucceeds = false;
    select({QStringLiteral("A")});
    web->trigger();
    EXPECT_EQ(presenter.texts().size(), 2);
}

} // namespace
