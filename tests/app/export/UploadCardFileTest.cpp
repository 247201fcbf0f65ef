// The upload card file: its own ContactXML tree, the mask of the upload, the image PDFs beside
// it, the nameless cards left out, and the clean-up when a card's image cannot be copied.
#include "app/export/PLExporter.h"
#include "app/images/CardImageFiles.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/app/export/ExportFixture.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

class UploadCardFile : public CardDatabaseTest {
protected:
    QString outbox;

    void SetUp() override
    {
        CardDatabaseTest::SetUp();
        outbox = path("outbox");
        QDir().mkpath(outbox);
    }
    void setUploadItems(const PlistValue& value)
    {
        PreferenceDomain::standard().setValue(QStringLiteral("SalesForce connect check box items display"), value);
    }
    QString xpath(const QString& file, const QString& expression)
    {
        return QString::fromUtf8(run(QStringLiteral("xmllint"), {QStringLiteral("--xpath"), expression, file})).trimmed();
    }
};

TEST_F(UploadCardFile, WritesTheTreeThePlugInReadsWithTheImagesBesideIt)
{
    int error = -1;
    QString images;
    presenter.queueAnswer(kAlertFirstButtonReturn);
    const QList<CardDict> selection{cards::latin(), cards::nameOnly(QString::fromUtf8(" \u3000\t")), cards::japaneseTwoSided()};
    const QString file = PLExporter::ExportToXmlForSalesforce(outbox, selection, &error, &images);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(presenter.shown().size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{17}\\.xml$")).match(QFileInfo(file).fileName()).hasMatch()) << file.toStdString();
    EXPECT_EQ(QFileInfo(file).absolutePath(), outbox);
    EXPECT_EQ(QFileInfo(images).absolutePath(), outbox);
    EXPECT_EQ(GetPDFPageCount(images + "/CARD-LATIN_N1.pdf"), 1);
    EXPECT_EQ(GetPDFPageCount(images + "/CARD-JP_N1.pdf"), 2);   // front, then the back's first page

    const QString url = QStringLiteral("file://") + images + QStringLiteral("/CARD-LATIN_N1.pdf");
    const QString latin = QStringLiteral(R"(  <ContactXMLItem>
    <PersonName>
      <PersonNameItem xml:lang="en">
        <FullName>Anna Berg</FullName>
        <LastName>Berg</LastName>
        <MiddleName/>
        <FirstName>Anna</FirstName>
      </PersonNameItem>
    </PersonName>
    <PersonID>
      <PersonIDItem codeDomain="UserDefined">CARD-LATIN</PersonIDItem>
    </PersonID>
    <Occupation>
      <OccupationItem xml:lang="en">
        <OrganizationName>Nordlicht GmbH</OrganizationName>
        <JobTitle>Manager</JobTitle>
      </OccupationItem>
    </Occupation>
    <Address>
      <AddressItem locationType="Office">
        <FullAddress xml:lang="en">Hauptstr. 1 10115 Berlin</FullAddress>
        <AddressCode codeDomain="ZIP7">10115</AddressCode>
        <AddressCode codeDomain="Country">Germany</AddressCode>
        <AddressLine xml:lang="en" addressLineType="Prefecture"/>
        <AddressLine xml:lang="en" addressLineType="City">Berlin</AddressLine>
        <AddressLine xml:lang="en" addressLineType="Number">Hauptstr. 1</AddressLine>
      </AddressItem>
    </Address>
    <Phone>
      <PhoneItem phoneDevice="Phone" usage="Official">+49 30 1234</PhoneItem>
    </Phone>
    <Email>
      <EmailItem emailDevice="Unknown" usage="Official">anna@nordlicht.example</EmailItem>
    </Email>
    <Web>
      <WebItem usage="Official">https://nordlicht.example</WebItem>
    </Web>
    <Extension>
      <ExtensionItem xml:lang="en" extensionType="Common" name="Memo">met at the fair</ExtensionItem>
    </Extension>
    <Image>
      <ImageItem imageSemantics="Others" url=")") + url + QStringLiteral(R"("/>
    </Image>
  </ContactXMLItem>
)");
    const QString xml = fromUtf16WithBom(readAll(file));
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<ContactXML ")));
    EXPECT_TRUE(xml.contains(latin)) << xml.toStdString();
    EXPECT_EQ(xpath(file, QStringLiteral("count(//*[local-name()='ContactXMLItem'])")), QStringLiteral("2"));
    EXPECT_EQ(xpath(file, QStringLiteral("string(//*[local-name()='ContactXMLItem'][2]//*[local-name()='PersonIDItem'])")), QStringLiteral("CARD-JP"));
    EXPECT_EQ(xpath(file, QStringLiteral("string(//*[local-name()='ContactXMLItem'][2]//*[@addressLineType='Prefecture'])")), QString::fromUtf8("東京都"));
}

TEST_F(UploadCardFile, TheUploadMaskSelectsTheElements)
{
    struct Case {
        const char* name;
        std::optional<PlistValue> stored;
        bool department;   // off in the default
        bool image;
        bool name_;
    } const cases[] = {
        {"absent: the default", std::nullopt, false, true, true},
        {"images alone lack name and company: the default", PlistValue(0x10000), false, true, true},
        {"not a number: the default", PlistValue("127973"), false, true, true},
        {"name and company only", PlistValue(0x5), false, false, true},
        {"with the department", PlistValue(0x15 | 0x10000), true, true, true},
    };
    for (const Case& c : cases) {
        if (c.stored)
            setUploadItems(*c.stored);
        int error = -1;
        QString images;
        const QString file = PLExporter::ExportToXmlForSalesforce(outbox, {cards::latin()}, &error, &images);
        ASSERT_EQ(error, 0) << c.name;
        EXPECT_TRUE(QFileInfo::exists(images + "/CARD-LATIN_N1.pdf")) << c.name;   // copied whatever the mask
        const QString xml = fromUtf16WithBom(readAll(file));
        EXPECT_EQ(xml.contains(QStringLiteral("<Department>Sales")), c.department) << c.name;
        EXPECT_EQ(xml.contains(QStringLiteral("<ImageItem")), c.image) << c.name;
        EXPECT_TRUE(xml.contains(QStringLiteral("<PersonIDItem codeDomain=\"UserDefined\">CARD-LATIN<"))) << c.name;
        EXPECT_TRUE(xml.contains(QStringLiteral("<FullName>Anna Berg</FullName>"))) << c.name;
        if (!c.image) {
            EXPECT_TRUE(xml.contains(QStringLiteral("<Phone/>"))) << c.name;
        }
    }
}

TEST_F(UploadCardFile, NothingIsLeftWhenACardCannotBeWritten)
{
    int error = -1;
    QString images;
    EXPECT_TRUE(PLExporter::ExportToXmlForSalesforce(QString(), {cards::latin()}, &error, &images).isEmpty());
    EXPECT_EQ(error, 3);

    // A missing front PDF: 122, and the image folder goes with the copies made before it.
    CardDict missing = cards::latin();
    missing.insert(QStringLiteral("face_Image_File"), QStringLiteral("GONE_N1.pdf"));
    error = -1;
    EXPECT_TRUE(PLExporter::ExportToXmlForSalesforce(outbox, {cards::latin(), missing}, &error, &images).isEmpty());
    EXPECT_EQ(error, 122);
    EXPECT_FALSE(QFileInfo::exists(images));

    // An image name that would lead out of the folder is refused the same way.
    CardDict escaping = cards::latin();
    escaping.insert(QStringLiteral("face_Image_File"), QStringLiteral("../../escape.pdf"));
    EXPECT_TRUE(PLExporter::ExportToXmlForSalesforce(outbox, {escaping}, &error, &images).isEmpty());
    EXPECT_EQ(error, 122);

    // Only nameless cards: asked once, no file, the error left as it was.
    error = 0;
    presenter.queueAnswer(kAlertFirstButtonReturn);
    EXPECT_TRUE(PLExporter::ExportToXmlForSalesforce(outbox, {cards::nameOnly(QString()), cards::nameOnly(" ")}, &error, &images).isEmpty());
    EXPECT_EQ(error, 0);
    EXPECT_EQ(presenter.shown().size(), 1);
    EXPECT_TRUE(QDir(outbox).entryList({QStringLiteral("*.xml")}, QDir::Files).isEmpty());
}

TEST_F(UploadCardFile, TwoFilesInOneMillisecondDoNotReplaceEachOther)
{
    QSet<QString> files;
    for (int i = 0; i < 20; ++i) {
        int error = -1;
        QString images;
        files.insert(PLExporter::ExportToXmlForSalesforce(outbox, {cards::latin()}, &error, &images));
        ASSERT_EQ(error, 0);
    }
    EXPECT_EQ(files.size(), 20);
}

} // namespace
