// Mail and web page commands: the URLs made from card text (a table of ordinary, blank and
// hostile values), and the toolbar items handing them to the desktop through the window.
#include "app/ui/logic/CardUrls.h"
#include "app/ui/logic/ToolbarItems.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QAction>

namespace {

TEST(CardUrls, MailUrlTakesOnlyPlainAddressesEachEncoded)
{
    struct Case {
        const char* what;
        QStringList addresses;
        const char* url; // empty: no URL
    } cases[] = {
        {"one", {"ann@example.org"}, "mailto:ann@example.org"},
        {"several, trimmed, blanks left out", {" ann@example.org ", "", "  ", "bo.kim+cards@mail.example.co.jp"},
         "mailto:ann@example.org,bo.kim%2Bcards@mail.example.co.jp"},
        {"none", {"", " "}, ""},
        {"a header smuggled in", {"ann@example.org?bcc=eve@evil.example"}, ""},
        {"a second recipient", {"ann@example.org,eve@evil.example"}, ""},
        {"a line break", {"ann@example.org\r\nBcc: eve@evil.example"}, ""},
        {"a parameter", {"ann@example.org&body=hi"}, ""},
        {"spaces inside", {"ann smith@example.org"}, ""},
        {"no domain", {"ann@"}, ""},
        {"no dot in the domain", {"ann@localhost"}, ""},
        {"two at signs", {"ann@b@example.org"}, ""},
        {"a hostile value beside a good one", {"x@y.z?subject=1", "ann@example.org"}, "mailto:ann@example.org"},
        {"letters beyond ASCII", {"ünal@exämple.de"}, "mailto:%C3%BCnal@ex%C3%A4mple.de"},
    };
    for (const Case& c : cases) {
        const QUrl url = CardUrls::mailUrl(c.addresses);
        EXPECT_EQ(QString::fromLatin1(url.toEncoded()), QString::fromLatin1(c.url)) << c.what;
        if (!url.isEmpty()) {
            EXPECT_TRUE(url.isValid()) << c.what;
            EXPECT_TRUE(url.query().isEmpty()) << c.what;
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
    addCard(QStringLiteral("A"), {{QStringLiteral("face_Image_File"), QStringLiteral("a.pdf")},
                                  {QStringLiteral("e_Mail"), QStringLiteral(" ann@example.org ")},
                                  {QStringLiteral("web_Page_Address"), QStringLiteral("www.example.org")}});
    addCard(QStringLiteral("B"), {{QStringLiteral("face_Image_File"), QStringLiteral("b.pdf")},
                                  {QStringLiteral("e_Mail"), QStringLiteral("eve@example.org?bcc=all@example.org")}});
    QAction* mail = item(ToolbarItems::kMail);
    QAction* web = item(ToolbarItems::kExplorer);

    select({QStringLiteral("B")});
    EXPECT_TRUE(mail->isEnabled()); // the item looks at the text only; the command refuses it
    EXPECT_FALSE(web->isEnabled());
    mail->trigger();
    web->trigger();
    EXPECT_TRUE(workspace.openedUrls.isEmpty());

    select({QStringLiteral("A"), QStringLiteral("B")});
    ASSERT_TRUE(mail->isEnabled());
    mail->trigger();
    select({QStringLiteral("A")});
    web->trigger();
    EXPECT_EQ(workspace.openedUrls, (QList<QUrl>{QUrl(QStringLiteral("mailto:ann@example.org")), QUrl(QStringLiteral("http://www.example.org"))}));

    // A desktop without a handler: message 45.
    workspace.openUrlSucceeds = false;
    web->trigger();
    EXPECT_EQ(presenter.texts().size(), 1);
}

} // namespace
