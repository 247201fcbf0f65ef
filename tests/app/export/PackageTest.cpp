// Export packages for linked applications: numbered data and image files in a fresh folder,
// all in one or one per card, the PHOTO lines of their images, and the list of them.
#include "app/export/PLExporter.h"
#include "app/linkage/LinkageLanguage.h"
#include "platform/foundation/Bundle.h"
#include "app/images/CardImageFiles.h"
#include "platform/foundation/PlistFile.h"
#include "tests/app/export/ExportFixture.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFileInfo>

namespace {

class Package : public CardDatabaseTest {
protected:
    QString base;

    void SetUp() override
    {
        CardDatabaseTest::SetUp();
        base = path("packages");
        QDir().mkpath(base);
    }
    QList<CardDict> threeCards() const
    {
        const CardDict japanese = cards::japaneseTwoSided();
        CardDict third = cards::latin();
        third.insert(QStringLiteral("full_Name"), QStringLiteral("Third"));
        return {cards::latin(), japanese, third};
    }
    static QStringList names(const QStringList& paths)
    {
        QStringList out;
        for (const QString& p : paths)
            out.append(QFileInfo(p).fileName());
        return out;
    }
};

TEST_F(Package, VCardsAllInOneOrOnePerCard)
{
    QStringList files;
    ASSERT_EQ(PLExporter::exportCardData(threeCards(), base, PLExporter::kDataVCard, PLExporter::kImageNone, true, false, &files), 0);
    ASSERT_EQ(names(files), QStringList{"DataFile1.vcf"});
    const QString all = QString::fromUtf8(readAll(files[0]));
    EXPECT_EQ(all.count(QStringLiteral("BEGIN:VCARD")), 3);
    EXPECT_FALSE(all.contains(QStringLiteral("PHOTO")));
    // Readings go into packages whatever the interface language.
    EXPECT_TRUE(all.contains(QString::fromUtf8("SORT-STRING:やまだ たろう")));
    EXPECT_EQ(QFileInfo(files[0]).permissions() & (QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther), 0);

    ASSERT_EQ(PLExporter::exportCardData(threeCards(), base, PLExporter::kDataVCard, PLExporter::kImageNone, false, false, &files), 0);
    EXPECT_EQ(names(files), (QStringList{"DataFile1.vcf", "DataFile2.vcf", "DataFile3.vcf"}));
    EXPECT_EQ(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
}

TEST_F(Package, JpegImagesOfATwoSidedCardAreNamedInItsVCard)
{
    QStringList files;
    ASSERT_EQ(PLExporter::exportCardData({threeCards()[1]}, base, PLExporter::kDataVCard, PLExporter::kImageJpeg, false, false, &files), 0);
    ASSERT_EQ(names(files), QStringList{"DataFile1.vcf"});
    const QString folder = QFileInfo(files[0]).absolutePath();
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name), (QStringList{"ImageFile1.jpg", "ImageFile2.jpg"}));
    // Long lines are folded: the URLs are looked for in the unfolded text.
    const QString vcard = QString::fromUtf8(readAll(files[0]).replace("\r\n ", ""));
    const qsizetype front = vcard.indexOf(QStringLiteral("PHOTO;VALUE=URL:file://") + folder + QStringLiteral("/ImageFile1.jpg"));
    const qsizetype back = vcard.indexOf(QStringLiteral("PHOTO;VALUE=URL:file://") + folder + QStringLiteral("/ImageFile2.jpg"));
    EXPECT_GE(front, 0);
    EXPECT_GT(back, front);
}

TEST_F(Package, ContactXmlWithPdfImagesAndTheResultList)
{
    QStringList files;
    ASSERT_EQ(PLExporter::exportCardData(threeCards(), base, PLExporter::kDataContactXML, PLExporter::kImagePdf, true, true, &files), 0);
    ASSERT_EQ(names(files), QStringList{"ExportResult.plist"});
    const QString folder = QFileInfo(files[0]).absolutePath();
    EXPECT_EQ(GetPDFPageCount(folder + "/ImageFile2.pdf"), 2);   // the two-sided card

    PlistValue result;
    ASSERT_TRUE(readPlistFile(files[0], result));
    const PlistValue::Dictionary root = result.toDictionary();
    EXPECT_EQ(root.value("INFO").toDictionary().value("FileDesc").toString(), QStringLiteral("ZORFILELISTFORMAT"));
    EXPECT_EQ(root.value("INFO").toDictionary().value("Version").toString(), QStringLiteral("1.0"));
    EXPECT_EQ(root.value("INFO").toDictionary().value("Application").toString(), QStringLiteral("Pelmora"));
    const PlistValue::Array listed = root.value("FILES").toArray();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].toString(), folder + "/DataFile1.xml");

    const QString xml = fromUtf16WithBom(readAll(folder + "/DataFile1.xml"));
    EXPECT_EQ(xml.count(QStringLiteral("<ContactXMLItem")), 3);
    EXPECT_TRUE(xml.contains(QStringLiteral("url=\"file://") + folder + QStringLiteral("/ImageFile3.pdf\"")));
    run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), folder + "/DataFile1.xml"});

    ASSERT_EQ(PLExporter::exportCardData(threeCards(), base, PLExporter::kDataContactXML, PLExporter::kImageNone, false, false, &files), 0);
    EXPECT_EQ(names(files), (QStringList{"DataFile1.xml", "DataFile2.xml", "DataFile3.xml"}));
}

TEST_F(Package, NamesAreNumberedFromTheFirstFreeOne)
{
    QFile(path("DataFile1.xml")).open(QIODevice::WriteOnly);
    EXPECT_EQ(QFileInfo(PLExporter::uniqueFullPathUnder(temp.path(), false, PLExporter::kDataContactXML)).fileName(), QStringLiteral("DataFile2.xml"));
    EXPECT_EQ(QFileInfo(PLExporter::uniqueFullPathUnder(temp.path(), false, PLExporter::kImagePdf)).fileName(), QStringLiteral("ImageFile1.pdf"));
    EXPECT_TRUE(PLExporter::uniqueFullPathUnder(temp.path(), false, PLExporter::kImageNone).isEmpty());
    EXPECT_TRUE(PLExporter::uniqueFullPathUnder(QString(), true, 0).isEmpty());
    const QString folder = PLExporter::uniqueFullPathUnder(temp.path(), true, 0);
    EXPECT_EQ(QFileInfo(folder).fileName().size(), 36);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(Package, AFailingPackageTakesItsFolderAway)
{
    QStringList files;
    EXPECT_EQ(PLExporter::exportCardData({}, base, PLExporter::kDataVCard, PLExporter::kImageNone, true, false, &files), -1);
    ASSERT_TRUE(testpdf::writeBytes(database + "/Images/CARD-LATIN_N1.pdf", "not a pdf"));
    EXPECT_EQ(PLExporter::exportCardData(threeCards(), base, PLExporter::kDataVCard, PLExporter::kImageJpeg, true, false, &files), -1006);
    EXPECT_TRUE(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace

namespace {

TEST_F(Package, TheLinkTestPackageHoldsTheSampleOfTheUsersLanguage)
{
    QStringList files;
    setSystemLanguageSource([] { return QStringLiteral("fr-FR"); });   // no French sample: the English one
    ASSERT_EQ(PLExporter::exportSampleDataToFolder(base, PLExporter::kDataContactXML, &files), 0);
    ASSERT_EQ(names(files), QStringList{"DataFile1.xml"});
    EXPECT_EQ(readAll(files[0]), readAll(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Pelmora/en/Sample.xml"));
    run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), files[0]});
    ASSERT_EQ(PLExporter::exportSampleDataToFolder(base, PLExporter::kDataVCard, &files), 0);
    EXPECT_TRUE(readAll(files[0]).startsWith("BEGIN:VCARD\r\n"));

    EXPECT_EQ(PLExporter::exportSampleDataToFolder(base, PLExporter::kImagePdf, &files), -4001);
    EXPECT_EQ(PLExporter::exportSampleDataToFolder(QString(), PLExporter::kDataVCard, &files), -1);
    Bundle::setMain(path("no-resources"));
    EXPECT_EQ(PLExporter::exportSampleDataToFolder(base, PLExporter::kDataVCard, &files), -1002);
    setSystemLanguageSource([] { return QString(); });
    EXPECT_EQ(PLExporter::exportSampleDataToFolder(base, PLExporter::kDataVCard, &files), -4001);
    setSystemLanguageSource(nullptr);
    EXPECT_EQ(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
}

} // namespace
