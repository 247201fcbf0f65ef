// The two card representations, byte for byte: the vCard text and the ContactXML element.
#include "app/export/CardDataContainerConverter.h"
#include "app/export/ExportItemMask.h"
#include "app/export/PLExporter.h"
#include "tests/app/export/ExportFixture.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

using Converter = ExportTest;

QString crlf(QStringList lines)
{
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

struct VCardCase {
    const char* name;
    CardDict card;
    uint32_t mask;
    QStringList lines;
};

TEST_F(Converter, VCardsAreWrittenByteForByte)
{
    const VCardCase cases[] = {
        {"a full name alone gives seven lines",
         cards::nameOnly("Anna"),
         exportitem::kFullName,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", "N:;;;;", "FN:Anna", "END:VCARD"}},
        {"every item of a Latin card",
         cards::latin(),
         exportitem::kAll,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", "N:Berg;Anna;;Dr.;", "FN:Anna Berg", "UID:CARD-LATIN",
          "ORG:Nordlicht GmbH;Sales", "TITLE:Manager", "TEL;type=WORK;type=VOICE;type=pref:+49 30 1234",
          "TEL;type=WORK;type=FAX:+49 30 1235", "TEL;type=CELL;type=VOICE:+49 170 1",
          "ADR;type=WORK;type=pref:;;Hauptstr. 1;Berlin;;10115;Germany", "URL;type=WORK;type=pref:https://nordlicht.example",
          "EMAIL;type=INTERNET;type=WORK;type=pref:anna@nordlicht.example", "NOTE:met at the fair", "REV:2024-03-05", "END:VCARD"}},
        {"readings of a Japanese card",
         cards::japanese(),
         exportitem::kFullName | exportitem::kNameReading | exportitem::kCompany,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", QString::fromUtf8("N:山田;太郎;;;"),
          QString::fromUtf8("FN:山田 太郎"), "UID:CARD-JP", QString::fromUtf8("SORT-STRING:やまだ たろう"),
          QString::fromUtf8("X-PHONETIC-FIRST-NAME:たろう"), QString::fromUtf8("X-PHONETIC-LAST-NAME:やまだ"),
          QString::fromUtf8("ORG:山田商事株式会社;"), "END:VCARD"}},
        {"separators, quotes, backslashes and line breaks escaped",
         cards::awkward(),
         0x1205 | exportitem::kDepartment | exportitem::kMemo,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", "N:O'Neil;Pat;;;", "FN:O'Neil\\, \"Pat\"\\; Jr.",
          "UID:CARD-AWK", "ORG:Smith\\; Sons\\, \"Tools\";R&D <core>", "TEL;type=WORK;type=VOICE;type=pref:+1 555 0100",
          "EMAIL;type=INTERNET;type=WORK;type=pref:pat@example.com",
          QString::fromUtf8("NOTE:line one\\nline two\\nC:\\\\new\\\\file\ttab 😀"), "END:VCARD"}},
        {"department without company, address from the single field",
         CardDict{{"full_Name", "X"}, {"department", "Ops"}, {"company", "Hidden"}, {"address", "1 Main St, Springfield"}},
         exportitem::kFullName | exportitem::kDepartment | exportitem::kAddress,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", "N:;;;;", "FN:X", "ORG:;Ops",
          "ADR;type=WORK;type=pref:;;1 Main St\\, Springfield;;;;", "END:VCARD"}},
        {"values trimmed of blanks of every width; a blank-only value still writes its line",
         CardDict{{"full_Name", QString::fromUtf8("\u3000 Kim\t\n")}, {"job_Title", "   "}, {"memo", QString::fromUtf8("a\u2028")}},
         exportitem::kFullName | exportitem::kJobTitle | exportitem::kMemo,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", "N:;;;;", "FN:Kim", "TITLE:", "NOTE:a", "END:VCARD"}},
        {"long lines folded at 75 octets, never inside a character",
         CardDict{{"full_Name", "Long"}, {"cardID", "C1"}, {"memo", QString(30, u'x') + QString(20, QChar(0x3042))}},
         exportitem::kFullName | exportitem::kMemo,
         {"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//ZOR//Pelmora Version 1.0//EN", "N:;;;;", "FN:Long", "UID:C1",
          "NOTE:" + QString(30, u'x') + QString(13, QChar(0x3042)), " " + QString(7, QChar(0x3042)), "END:VCARD"}},
    };
    for (const VCardCase& c : cases) {
        const QByteArray bytes = toVCardRepresentation(c.card, c.mask, nullptr);
        EXPECT_EQ(QString::fromUtf8(bytes), crlf(c.lines)) << c.name;
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << c.name;
    }
}

TEST_F(Converter, PhotoLinesNameExistingFilesInOrder)
{
    QFile(path("front.jpg")).open(QIODevice::WriteOnly);
    QFile(path("back one.pdf")).open(QIODevice::WriteOnly);
    QDir().mkdir(path("folder.jpg"));
    const QStringList images{path("front.jpg"), path("missing.jpg"), path("folder.jpg"), QString(), path("back one.pdf")};
    // Long lines are folded at 75 octets; the paths are looked for in the unfolded text.
    const QString text = QString::fromUtf8(toVCardRepresentation(cards::nameOnly("A"), exportitem::kFullName | exportitem::kImages, &images))
                             .replace(QStringLiteral("\r\n "), QString());
    const QString prefix = QStringLiteral("PHOTO;VALUE=URL:file://") + temp.path();
    EXPECT_TRUE(text.contains(prefix + QStringLiteral("/front.jpg\r\n") + prefix + QStringLiteral("/back%20one.pdf\r\nEND:VCARD")));
    EXPECT_EQ(text.count(QStringLiteral("PHOTO")), 2);
    // Without the image bit nothing is written.
    EXPECT_FALSE(QString::fromUtf8(toVCardRepresentation(cards::nameOnly("A"), exportitem::kFullName, &images)).contains(QStringLiteral("PHOTO")));
}

TEST_F(Converter, ControlCharactersAndBrokenSurrogatesNeverReachTheFiles)
{
    QString name = QStringLiteral("A\u0001B\u000BC");
    name.append(QChar(0xD800));   // half a surrogate pair
    const QString vcard = QString::fromUtf8(toVCardRepresentation(cards::nameOnly(name), exportitem::kFullName, nullptr));
    EXPECT_TRUE(vcard.contains(QStringLiteral("FN:ABC\uFFFD\r\n")));

    XmlDocument document = PLExporter::newContactXMLDocument();
    xmlAddChild(xmlDocGetRootElement(document.get()), toNSXMLElement(cards::nameOnly(name), exportitem::kAll, nullptr));
    QByteArray bytes;
    ASSERT_TRUE(PLExporter::contactXmlBytes(document.get(), &bytes));
    QFile file(path("controls.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), file.fileName()});
}

} // namespace

namespace {

QByteArray contactXml(const QList<QPair<CardDict, uint32_t>>& items, const QStringList* images = nullptr)
{
    XmlDocument document = PLExporter::newContactXMLDocument();
    for (const auto& [card, mask] : items)
        xmlAddChild(xmlDocGetRootElement(document.get()), toNSXMLElement(card, mask, images));
    QByteArray bytes;
    EXPECT_TRUE(PLExporter::contactXmlBytes(document.get(), &bytes));
    return bytes;
}


TEST_F(Converter, ContactXmlIsWrittenByteForByte)
{
    CardDict awkward = cards::awkward();
    awkward.insert(QStringLiteral("register_Date"), QDateTime(QDate(2023, 12, 31), QTime(23, 0)));
    const QString expected = QString::fromUtf8(R"(<?xml version="1.0" encoding="UTF-16"?>
<ContactXML xmlns="http://www.xmlns.org/2002/ContactXML" version="1.1" creator="http://www.orvane.com/Pelmora/1.0">
  <ContactXMLItem lastModifiedDate="2024-03-05">
    <PersonName>
      <PersonNameItem xml:lang="en">
        <FullName pronunciation="">Anna Berg</FullName>
        <FirstName pronunciation="">Anna</FirstName>
        <MiddleName pronunciation=""/>
        <LastName pronunciation="">Berg</LastName>
      </PersonNameItem>
    </PersonName>
    <Address>
      <AddressItem locationType="Office">
        <AddressCode codeDomain="ZIP7">10115</AddressCode>
        <FullAddress xml:lang="en">Hauptstr. 1 10115 Berlin</FullAddress>
        <AddressLine xml:lang="en" addressLineType="Country">Germany</AddressLine>
        <AddressLine xml:lang="en" addressLineType="Prefecture"/>
        <AddressLine xml:lang="en" addressLineType="City">Berlin</AddressLine>
        <AddressLine xml:lang="en" addressLineType="Number">Hauptstr. 1</AddressLine>
      </AddressItem>
    </Address>
    <Occupation>
      <OccupationItem xml:lang="en">
        <OrganizationName pronunciation="">Nordlicht GmbH</OrganizationName>
        <Department>Sales</Department>
        <JobTitle>Manager</JobTitle>
      </OccupationItem>
    </Occupation>
    <Phone>
      <PhoneItem usage="Official" phoneDevice="Phone">+49 30 1234</PhoneItem>
      <PhoneItem usage="Official" phoneDevice="Fax">+49 30 1235</PhoneItem>
      <PhoneItem usage="Official" phoneDevice="Cellular">+49 170 1</PhoneItem>
    </Phone>
    <Email>
      <EmailItem usage="Official" emailDevice="Unknown">anna@nordlicht.example</EmailItem>
    </Email>
    <Web>
      <WebItem usage="Official">https://nordlicht.example</WebItem>
    </Web>
    <Extension>
      <ExtensionItem xml:lang="en" extensionType="Common" name="Memo">met at the fair</ExtensionItem>
    </Extension>
  </ContactXMLItem>
  <ContactXMLItem lastModifiedDate="2023-12-31">
    <PersonName>
      <PersonNameItem xml:lang="en">
        <FullName>O'Neil, "Pat"; Jr.</FullName>
        <FirstName>Pat</FirstName>
        <MiddleName/>
        <LastName>O'Neil</LastName>
      </PersonNameItem>
    </PersonName>
    <Address>
      <AddressItem locationType="Office"/>
    </Address>
    <Occupation>
      <OccupationItem xml:lang="en">
        <OrganizationName>Smith; Sons, "Tools"</OrganizationName>
        <Department>R&amp;D &lt;core&gt;</Department>
      </OccupationItem>
    </Occupation>
    <Phone>
      <PhoneItem usage="Official" phoneDevice="Phone">+1 555 0100</PhoneItem>
    </Phone>
    <Email>
      <EmailItem usage="Official" emailDevice="Unknown">pat@example.com</EmailItem>
    </Email>
    <Web/>
    <Extension>
      <ExtensionItem xml:lang="en" extensionType="Common" name="Memo">line one
line two&#13;
C:\new\file)" "\t" R"(tab 😀</ExtensionItem>
    </Extension>
  </ContactXMLItem>
</ContactXML>
)");
    const QByteArray bytes = contactXml({{cards::latin(), exportitem::kAll}, {awkward, 0x1205 | exportitem::kDepartment | exportitem::kMemo}});
    EXPECT_EQ(fromUtf16WithBom(bytes).toStdString(), expected.toStdString());
    EXPECT_EQ(bytes, utf16le(expected));
}

TEST_F(Converter, ReadingsAndImagesInTheContactXmlElement)
{
    QFile(path("a.jpg")).open(QIODevice::WriteOnly);
    QFile(path("b.JPG")).open(QIODevice::WriteOnly);
    QDir().mkdir(path("c.jpg"));
    const QStringList images{path("a.jpg"), path("b.JPG"), path("c.jpg")};
    const QString url = QStringLiteral("url=\"file://") + temp.path();
    const QString xml = fromUtf16WithBom(contactXml({{cards::japanese(), exportitem::kAll}}, &images));
    for (const QString& part : {
             QString::fromUtf8("<FullName pronunciation=\"やまだ たろう\">山田 太郎</FullName>"),
             QStringLiteral("<MiddleName pronunciation=\"\"/>"),
             QString::fromUtf8("<OrganizationName pronunciation=\"やまだしょうじ\">"),
             QStringLiteral("<ImageItem imageSemantics=\"Others\" contentType=\"image/jpeg\" ") + url + QStringLiteral("/a.jpg\"/>"),
             QStringLiteral("<ImageItem imageSemantics=\"Others\" ") + url + QStringLiteral("/b.JPG\"/>"),
         })
        EXPECT_TRUE(xml.contains(part)) << part.toStdString();
    EXPECT_EQ(xml.count(QStringLiteral("<ImageItem")), 2);
    // An empty list still gives the container; no list gives none.
    const QStringList none;
    EXPECT_TRUE(fromUtf16WithBom(contactXml({{cards::latin(), exportitem::kAll}}, &none)).contains(QStringLiteral("<Image/>")));
    EXPECT_FALSE(fromUtf16WithBom(contactXml({{cards::latin(), exportitem::kAll}})).contains(QStringLiteral("<Image")));
}

TEST_F(Converter, LanguageTagFollowsTheInterfaceLanguage)
{
    const QString bundle = path("bundle");
    QDir().mkpath(bundle + QStringLiteral("/en"));
    const QList<QPair<QString, QString>> table{{"11", "ja-JP"}, {"33", "zh-CN"}, {"1", "fr"}, {"4", "en"}, {"", "en"}};
    for (const auto& [id, tag] : table) {
        PlistValue::Dictionary strings;
        if (!id.isEmpty())
            strings.insert(QStringLiteral("IDS_RESOURCE_LANG_ID"), id);
        ASSERT_TRUE(writePlistFile(bundle + QStringLiteral("/en/Localizable.plist"), PlistValue(strings)));
        Bundle::setMain(bundle);
        EXPECT_EQ(PLExporter::langValueForXML(), tag) << id.toStdString();
    }
}

} // namespace
