// Cards to records: the cuts with their warning keys, the address rule, and the card PDF's pages
// as attachments.
#include "plugin/Common/PdfFunctions.h"
#include "plugin/Common/SObjectConverter.h"
#include "platform/pdf/PdfDocument.h"
#include "tests/support/pdf/TestPdf.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString text(const SoapObject& record, const char* field)
{
    return record.valueForKey(QString::fromLatin1(field)).text();
}

TEST(SObjectConverter, CutsAreRecordedOnceAndNeverSplitACharacter)
{
    CardInfo card;
    card.OrganizationName = QString(256, 'o');
    card.FirstName = QString(30, 'f');
    card.MiddleName = QString(15, 'm');
    card.LastName = "Smith";
    card.Email = QString(120, 'e') + "@example.com";
    QStringList cuts;
    const auto account = SObjectConverter::CardToAccount(card, &cuts);
    const auto contact = SObjectConverter::CardToContact(card, &cuts);
    EXPECT_EQ(text(*account, "Name").size(), 255);
    EXPECT_EQ(text(*contact, "FirstName"), QString(30, 'f') + ' ' + QString(9, 'm'));
    EXPECT_EQ(text(*contact, "Email"), card.Email);
    EXPECT_EQ(cuts, (QStringList{"LTL99031", "LTL99041"}));
    SObjectConverter::CardToAccount(card, &cuts);
    EXPECT_EQ(cuts.size(), 2);

    // 39 characters and then a character outside the basic plane: the pair is not split.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(SObjectConverter::GetCuttedString(QString(39, 'x') + emoji, 40, nullptr, nullptr), QString(39, 'x'));
    EXPECT_TRUE(SObjectConverter::GetCuttedString(QString(), 40, "LTL99037", &cuts).isNull());
}

TEST(SObjectConverter, ALongPrefectureWithoutCityOrStreetGoesIntoTheStreet)
{
    struct Case {
        QString prefecture;
        QString city;
        QString number;
        QString accountStreet;
        QString contactStreet;
        QString state;
        QString cityOut;
    } const cases[] = {
        {QString(20, 'p'), "", "", QString(), QString(), QString(20, 'p'), QString()},
        {QString(21, 'p'), "", "", QString(21, 'p'), QString(21, 'p'), QString(), QString()},
        {QString(100, 'p'), "", "", QString(80, 'p'), QString(100, 'p'), QString(), QString()},
        {QString(25, 'p'), "Town", "", "", "", QString(20, 'p'), "Town"},
    };
    for (const auto& c : cases) {
        CardInfo card;
        card.Prefecture = c.prefecture;
        card.City = c.city;
        card.Number = c.number;
        const auto account = SObjectConverter::CardToAccount(card, nullptr);
        const auto contact = SObjectConverter::CardToContact(card, nullptr);
        EXPECT_EQ(text(*account, "BillingStreet"), c.accountStreet) << c.prefecture.size();
        EXPECT_EQ(text(*contact, "MailingStreet"), c.contactStreet);
        EXPECT_EQ(text(*account, "BillingState"), c.state);
        EXPECT_EQ(text(*contact, "MailingCity"), c.cityOut);
    }
}

TEST(SObjectConverter, ALeadHasItsOwnKeysAndNoDepartment)
{
    CardInfo card;
    card.LastName = QString(81, 'l');
    card.Department = "Sales";
    card.WebSite = "https://example.com";
    QStringList cuts;
    const auto lead = SObjectConverter::CardToLead(card, &cuts);
    EXPECT_EQ(text(*lead, "LastName").size(), 80);
    EXPECT_EQ(text(*lead, "Website"), card.WebSite);
    EXPECT_TRUE(lead->valueForKey("Department").isNone());
    EXPECT_EQ(cuts, QStringList{"LTL99017"});
}

class CardPdfTest : public ::testing::Test {
protected:
    QString pdf(const char* name, int pages, const std::string& creator = "Brevix Pelmora")
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(testpdf::writePdf(path, testpdf::scannerDocument(pages, creator)));
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(CardPdfTest, OurOnePageAndTwoPagePdfsBecomeOneAttachmentAPage)
{
    CardInfo card;
    card.FullName = QString(80, 'n');
    const QString baseName = QString(69, 'n');
    struct Case {
        QString path;
        int attachments;
    } const cases[] = {
        {pdf("one.pdf", 1), 1},
        {pdf("two.pdf", 2), 2},
        {pdf("three.pdf", 3), 0},
        {pdf("other.pdf", 1, "Some Other Writer"), 0},
        {dir.filePath("missing.pdf"), 0},
        {QString(), 0},
    };
    for (const auto& c : cases) {
        card.ImageFilePathN1 = c.path;
        const auto attachments = SObjectConverter::CardToAttachment(card);
        ASSERT_EQ(int(attachments.size()), c.attachments) << c.path.toStdString();
        for (int i = 0; i < c.attachments; ++i) {
            EXPECT_EQ(text(*attachments[size_t(i)], "Name"), QStringLiteral("card_%1_%2.pdf").arg(baseName).arg(i + 1));
            const auto page = PdfDocument::openBytes(attachments[size_t(i)]->valueForKey("Body").bytes());
            ASSERT_TRUE(page);
            EXPECT_EQ(page->pageCount(), 1);
        }
    }
    card.FullName = QString();
    card.ImageFilePathN1 = pdf("nameless.pdf", 1);
    EXPECT_EQ(text(*SObjectConverter::CardToAttachment(card).at(0), "Name"), QString("card__1.pdf"));
}

TEST_F(CardPdfTest, PdfsAreClassifiedAndSplitWithoutChangingTheFile)
{
    const QString two = pdf("two.pdf", 2);
    int pages = 0;
    EXPECT_EQ(CheckPdfFile(two, &pages), kPdfOurs);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(CheckPdfFile(QString(), nullptr), kPdfNoPath);
    EXPECT_EQ(CheckPdfFile(dir.filePath("none.pdf"), nullptr), kPdfNoFile);
    ASSERT_TRUE(testpdf::writeBytes(dir.filePath("junk.pdf"), "not a pdf"));
    EXPECT_EQ(CheckPdfFile(dir.filePath("junk.pdf"), nullptr), kPdfNotOurs);

    QByteArray data;
    EXPECT_EQ(RemovePDFPage(two, 2, data), kPdfNoPath);
    EXPECT_EQ(RemovePDFPage(two, -1, data), kPdfNoPath);
    EXPECT_EQ(RemovePDFPage(two, 0, data), 0);
    EXPECT_EQ(PdfDocument::openBytes(data)->pageCount(), 1);
    EXPECT_EQ(PdfDocument::open(two)->pageCount(), 2);
}

}
