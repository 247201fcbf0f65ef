// The ContactXML export file written without its element tree: byte for byte what the tree of the
// same cards gives serialised, for every kind of value, escape and chosen item, across pieces.
#include "app/export/ContactXmlFile.h"

#include "app/export/CardDataContainerConverter.h"
#include "app/export/ExportItemMask.h"
#include "app/export/PLExporter.h"
#include "tests/app/export/ExportFixture.h"

#include <QDateTime>

namespace {

using StreamedContactXml = ExportTest;

QByteArray treeBytes(const QList<CardDict>& cards, uint32_t mask)
{
    XmlDocument document = PLExporter::newContactXMLDocument();
    for (const CardDict& card : cards)
        xmlAddChild(xmlDocGetRootElement(document.get()), toNSXMLElement(card, mask, nullptr));
    QByteArray bytes;
    EXPECT_TRUE(PLExporter::contactXmlBytes(document.get(), &bytes));
    return bytes;
}

QByteArray streamedBytes(const QList<CardDict>& cards, uint32_t mask, int* pieces)
{
    QByteArray bytes;
    *pieces = 0;
    EXPECT_TRUE(ContactXmlFile(mask).writeFile(cards, [&](QByteArrayView piece) {
        bytes += piece;
        ++*pieces;
        return true;
    }));
    return bytes;
}

// Cards whose values need every escape, lose characters, or are not text at all.
QList<CardDict> awkwardCards()
{
    QString broken = QStringLiteral("A\u0001B\u000BC\uFFFE");
    broken.append(QChar(0xD800)); // half a surrogate pair
    broken.append(QStringLiteral("D"));
    broken.append(QChar(0xDC00));
    CardDict readings = cards::nameOnly(QStringLiteral("Ito <&> \"Ken\""));
    readings.insert(QStringLiteral("full_Name_Kana"), QString::fromUtf8("イトウ \"ケン\"\t<&>\r\n😀"));
    readings.insert(QStringLiteral("first_Name_Kana"), QString::fromUtf8("\u0001"));
    readings.insert(QStringLiteral("company"), QStringLiteral("A&B"));
    readings.insert(QStringLiteral("company_Kana"), broken);
    readings.insert(QStringLiteral("register_Date"), QDateTime(QDate(2024, 3, 30), QTime(23, 30), Qt::UTC));
    CardDict others = cards::nameOnly(broken);
    others.insert(QStringLiteral("memo"), QStringLiteral("\u0001\u0002"));
    others.insert(QStringLiteral("telephone_Number"), 5550100);
    others.insert(QStringLiteral("fax_Number"), QDate(2020, 2, 29));
    others.insert(QStringLiteral("city"), QStringLiteral(" spaced \r\n"));
    others.insert(QStringLiteral("register_Date"), QDateTime());
    CardDict dated = cards::latin();
    dated.insert(QStringLiteral("register_Date"), QDateTime(QDate(2024, 10, 27), QTime(0, 30), Qt::UTC));
    return {cards::latin(), cards::japanese(), cards::awkward(), cards::nameOnly(QString::fromUtf8("Émile 😀")), readings, others, dated};
}

TEST_F(StreamedContactXml, EveryCardAndItemIsWrittenAsItsElementTree)
{
    const QList<CardDict> cards = awkwardCards();
    for (const uint32_t mask : {exportitem::kAll & 0xFFFF, exportitem::kFullName, 0x1205u, 0x1205u | exportitem::kNameReading,
                                exportitem::kCompanyReading | exportitem::kAddress | exportitem::kMemo, 0u}) {
        int pieces = 0;
        const QByteArray bytes = streamedBytes(cards, mask, &pieces);
        const QByteArray tree = treeBytes(cards, mask);
        EXPECT_EQ(fromUtf16WithBom(bytes).toStdString(), fromUtf16WithBom(tree).toStdString()) << "mask " << mask;
        EXPECT_TRUE(bytes == tree) << "mask " << mask;
    }
}

TEST_F(StreamedContactXml, AFileOfManyPiecesIsTheWholeTree)
{
    QList<CardDict> cards;
    for (int i = 0; i < 100; ++i)
        cards += awkwardCards();
    int pieces = 0;
    const QByteArray bytes = streamedBytes(cards, 0xFFFF, &pieces);
    EXPECT_GT(pieces, 2);
    EXPECT_TRUE(bytes == treeBytes(cards, 0xFFFF));

    // The export itself writes the same bytes.
    setExportItems(0xFFFF);
    ASSERT_EQ(PLExporter::ExportToXML(path("cards.xml"), cards), 0);
    EXPECT_TRUE(readAll(path("cards.xml")) == treeBytes(cards, PLExporter::exportItemsMask()));
}

} // namespace
