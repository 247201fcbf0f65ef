// The card file reader over files of the host's form, and over files that are broken or hostile.
#include "plugin/Common/XMLParser.h"
#include "tests/support/cardfile/CardFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class XMLParserTest : public ::testing::Test {
protected:
    std::optional<XMLParser::CardList> read(const QString& text)
    {
        const QString path = dir.filePath("cards.xml");
        EXPECT_TRUE(writeUtf16(path, text));
        return XMLParser().parseXMLFileAtPath(path);
    }

    QTemporaryDir dir;
};

TEST_F(XMLParserTest, ReadsLatinAndJapaneseCardsInFileOrder)
{
    const auto cards = read(cardDocument({
        cardItem({"id-1", "Ann Smith", "Smith", "Ann", "Acme & Co", "ann@example.com", "met at the fair", "file:///tmp/h%20o/ann.pdf"}),
        cardItem({"id-2", "山田 太郎", "山田", "太郎", "株式会社テスト", "taro@example.jp", "", ""}),
    }));
    ASSERT_TRUE(cards);
    ASSERT_EQ(cards->size(), 2u);
    const CardInfo& ann = *(*cards)[0];
    EXPECT_EQ(ann.SerialID, 0);
    EXPECT_EQ(ann.PersonID, QString("id-1"));
    EXPECT_EQ(ann.FullName, QString("Ann Smith"));
    EXPECT_EQ(ann.OrganizationName, QString("Acme & Co"));
    EXPECT_TRUE(ann.MiddleName.isNull());
    EXPECT_EQ(ann.ZipCode, QString("100-0001"));
    EXPECT_EQ(ann.Country, QString("Japan"));
    EXPECT_EQ(ann.Prefecture, QString("Tokyo"));
    EXPECT_EQ(ann.City, QString("Chiyoda"));
    EXPECT_EQ(ann.Number, QString("1-1"));
    EXPECT_EQ(ann.Phone, QString("03-1111"));
    EXPECT_EQ(ann.Mobile, QString("090-2222"));
    EXPECT_TRUE(ann.Fax.isNull());
    EXPECT_EQ(ann.WebSite, QString("https://example.com"));
    EXPECT_EQ(ann.JobTitle, QString("Engineer"));
    EXPECT_EQ(ann.Extension, QString("met at the fair"));
    EXPECT_EQ(ann.ImageFilePathN1, QString("/tmp/h o/ann.pdf"));
    EXPECT_TRUE(ann.ImageFilePathN2.isNull());
    EXPECT_TRUE(ann.NeedUpload);

    const CardInfo& taro = *(*cards)[1];
    EXPECT_EQ(taro.SerialID, 1);
    EXPECT_EQ(taro.FullName, QString("山田 太郎"));
    EXPECT_EQ(taro.OrganizationName, QString("株式会社テスト"));
    EXPECT_TRUE(taro.Extension.isNull()) << "an empty memo after a card with one";
    EXPECT_TRUE(taro.ImageFilePathN1.isNull());
}

TEST_F(XMLParserTest, TheFirstOccurrenceWinsAndMissingFieldsStayEmpty)
{
    const auto cards = read(cardDocument({QStringLiteral(
        "<ContactXMLItem>"
        "<PersonName><PersonNameItem><FullName>\n   First Group \n</FullName><LastName></LastName></PersonNameItem>"
        "<PersonNameItem><FullName>Second Group</FullName><LastName>Late</LastName></PersonNameItem></PersonName>"
        "<Extension><ExtensionItem extensionType=\"Extended\">line one\nline two</ExtensionItem>"
        "<ExtensionItem extensionType=\"Common\">memo</ExtensionItem></Extension>"
        "<Phone><PhoneItem phoneDevice=\"Pager\">1</PhoneItem><PhoneItem phoneDevice=\"Fax\">2</PhoneItem></Phone>"
        "<Image><ImageItem url=\"file:///plain/path one.pdf\"/><ImageItem url=\"file:///second.pdf\"/></Image>"
        "</ContactXMLItem>")}));
    ASSERT_TRUE(cards);
    ASSERT_EQ(cards->size(), 1u);
    const CardInfo& card = *(*cards)[0];
    EXPECT_EQ(card.FullName, QString("First Group"));
    EXPECT_TRUE(card.LastName.isNull()) << "an empty first element blocks later ones";
    EXPECT_TRUE(card.Department.isNull());
    EXPECT_TRUE(card.PersonID.isNull());
    EXPECT_EQ(card.Extension, QString("memo\n\nline one\nline two"));
    EXPECT_TRUE(card.Phone.isNull());
    EXPECT_EQ(card.Fax, QString("2"));
    EXPECT_EQ(card.ImageFilePathN1, QString("/plain/path one.pdf"));
}

TEST_F(XMLParserTest, ABrokenOrHostileFileGivesNoCards)
{
    const QString good = cardItem({"id-1", "Ann", "Smith", "Ann", "Acme", "a@b.c", "", ""});
    const QString whole = cardDocument({good, good});
    const QString cases[] = {
        whole.left(whole.size() - 200),
        whole.left(whole.indexOf("</ContactXMLItem>") + 17) + good.left(good.size() / 2),
        QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE ContactXML [<!ENTITY x \"Boom\">]><ContactXML>"
                       "<ContactXMLItem><FullName>&x;</FullName></ContactXMLItem></ContactXML>"),
        QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE ContactXML SYSTEM \"file:///etc/passwd\"><ContactXML/>"),
        QStringLiteral("<ContactXMLItem><FullName>no root</FullName></ContactXMLItem>"),
        QStringLiteral("<ContactXML><ContactXMLItem><FullName>&undeclared;</FullName></ContactXMLItem></ContactXML>"),
        QStringLiteral("not xml at all"),
    };
    for (const QString& text : cases)
        EXPECT_FALSE(read(text)) << text.left(120).toStdString();

    EXPECT_FALSE(XMLParser().parseXMLFileAtPath(dir.filePath("missing.xml")));
    QFile empty(dir.filePath("empty.xml"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(XMLParser().parseXMLFileAtPath(empty.fileName()));
}

TEST_F(XMLParserTest, TheDocumentsOwnEncodingIsRead)
{
    QFile utf8(dir.filePath("utf8.xml"));
    ASSERT_TRUE(utf8.open(QIODevice::WriteOnly));
    utf8.write(cardDocument({cardItem({"id", "Zoë", "", "", "", "", "", ""})}).replace("UTF-16", "UTF-8").toUtf8());
    utf8.close();
    const auto cards = XMLParser().parseXMLFileAtPath(utf8.fileName());
    ASSERT_TRUE(cards);
    EXPECT_EQ((*cards)[0]->FullName, QString("Zoë"));

    QFile lying(dir.filePath("lying.xml"));
    ASSERT_TRUE(lying.open(QIODevice::WriteOnly));
    lying.write(cardDocument({cardItem({"id", "Zoë", "", "", "", "", "", ""})}).toUtf8());
    lying.close();
    EXPECT_FALSE(XMLParser().parseXMLFileAtPath(lying.fileName())) << "UTF-8 bytes declared as UTF-16";
}

TEST_F(XMLParserTest, TenThousandCardsAndAHundredMegabyteFileAreRead)
{
    QStringList items;
    for (int i = 0; i < 10000; ++i)
        items.append(cardItem({QString::number(i), QStringLiteral("Card %1").arg(i), "", "", "", "", "", ""}));
    auto cards = read(cardDocument(items));
    ASSERT_TRUE(cards);
    ASSERT_EQ(cards->size(), 10000u);
    EXPECT_EQ(cards->back()->SerialID, 9999);
    EXPECT_EQ(cards->back()->PersonID, QString("9999"));

    // About 100 MB on disk: a memo of 50 million characters.
    QString memo(50'000'000, QLatin1Char('m'));
    cards = read(cardDocument({cardItem({"big", "Big", "", "", "", "", memo, ""})}));
    ASSERT_TRUE(cards);
    EXPECT_EQ((*cards)[0]->Extension.size(), memo.size());
}

}
