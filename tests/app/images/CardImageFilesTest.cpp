#include "app/core/DiskUtilities.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testpdf::Document;

namespace {

// Pages told apart by the width of their one image: page i is 100 + i pixels wide.
Document numberedPages(int count, std::optional<std::string> creator = "Brevix Scan")
{
    Document document = testpdf::scannerDocument(0);
    document.creator = creator;
    for (int i = 0; i < count; ++i)
        document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(testpdf::patternImage(100 + i, 50))));
    return document;
}

std::vector<int> pageMarks(const QString& path)
{
    std::vector<int> marks;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    if (!document)
        return marks;
    for (const PdfPage& page : document->pages()) {
        PdfObject image = page.attribute("/Resources").key("/XObject").key("/Im0");
        PdfObject rotate = page.attribute("/Rotate");
        marks.push_back(int(image.streamDictionary().key("/Width").intValue()) - 100
                        + (rotate.isInteger() ? int(rotate.intValue()) * 10 : 0));
    }
    return marks;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

class CardFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db = m_dir.filePath("Cards.cxdb");
        QDir().mkpath(m_db);
        m_images = m_db + "/Images";
    }
    void TearDown() override
    {
        setCardFileRename(nullptr);
        g_lDiskSize = kDefaultDiskSize;
    }
    QString arriving(const QString& name, const Document& document)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(testpdf::writePdf(path, document));
        return path;
    }
    QString image(const QString& name) const { return m_images + "/" + name; }
    QStringList imageFiles() const { return QDir(m_images).entryList(QDir::Files, QDir::Name); }
    // A card with a front and a back file: fronts are marked 0, backs 1.
    CardDict twoSidedCard()
    {
        QDir().mkpath(m_images);
        EXPECT_TRUE(testpdf::writePdf(image("c1_N1.pdf"), numberedPages(1)));
        Document back = numberedPages(2);
        back.pages.erase(back.pages.begin());
        EXPECT_TRUE(testpdf::writePdf(image("c1_N2.pdf"), back));
        return CardDict{{"cardID", "c1"}, {"face_Image_File", "c1_N1.pdf"}, {"back_Image_File", "c1_N2.pdf"}};
    }

    QTemporaryDir m_dir;
    QString m_db;
    QString m_images;
};

} // namespace

TEST_F(CardFiles, ImportKeepsOrSetsTheCreator)
{
    struct Case {
        const char* name;
        std::optional<std::string> creator;
        int inputType;
        QString expected;
    };
    const Case cases[] = {
        {"none, scanner driver", std::nullopt, 1, "Brevix Pelmora"},
        {"own, scanner driver", "Brevix Scan", 1, "Brevix Scan"},
        {"own, finder", "Brevix Scan", 3, "Brevix Pelmora"},
        {"own, filing", "Brevix Scan", 2, "Brevix Pelmora"},
        {"own, services", "Brevix Scan", 5, "Brevix Pelmora"},
        {"own, other", "Brevix Scan", 99, "Brevix Scan"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString id = QStringLiteral("card%1").arg(n++);
        CardDict values;
        CardDictRecord card(values);
        ASSERT_EQ(importCardImageFile(&card, id, arriving(id + ".pdf", numberedPages(1, c.creator)), m_db, c.inputType), 0)
            << c.name;
        EXPECT_EQ(PdfDocument::open(image(id + "_N1.pdf"))->infoText("/Creator"), c.expected) << c.name;
        EXPECT_EQ(CheckPDF(image(id + "_N1.pdf")), 3) << c.name;
        EXPECT_EQ(values.value("face_Image_File"), id + "_N1.pdf");
        EXPECT_EQ(values.value("face_Image_Page"), 1);
        EXPECT_EQ(values.value("other_Image_Page"), 1);
        EXPECT_FALSE(values.contains("back_Image_File"));
    }
}

TEST_F(CardFiles, ImportOfThreePagesKeepsTwo)
{
    CardDict values;
    CardDictRecord card(values);
    ASSERT_EQ(importCardImageFile(&card, "c3", arriving("three.pdf", numberedPages(3, std::nullopt)), m_db, 1), 0);
    EXPECT_EQ(imageFiles(), (QStringList{"c3_N1.pdf", "c3_N2.pdf"}));
    EXPECT_EQ(pageMarks(image("c3_N1.pdf")), std::vector<int>{0});
    EXPECT_EQ(pageMarks(image("c3_N2.pdf")), std::vector<int>{1});
    EXPECT_EQ(isImagePdf(image("c3_N2.pdf"), 1), true);
    EXPECT_EQ(values.value("back_Image_File"), "c3_N2.pdf");
    EXPECT_EQ(values.value("back_Image_page"), 1);
}

TEST_F(CardFiles, ImportFailuresLeaveNoFiles)
{
    const QString one = arriving("one.pdf", numberedPages(1));
    const QString two = arriving("two.pdf", numberedPages(2));
    CardDict values;
    CardDictRecord card(values);
    EXPECT_EQ(importCardImageFile(nullptr, "x", one, m_db, 1), -1001);
    EXPECT_EQ(importCardImageFile(&card, " ", one, m_db, 1), -1001);
    EXPECT_EQ(importCardImageFile(&card, "x", m_dir.filePath("none.pdf"), m_db, 1), -1001);
    EXPECT_EQ(importCardImageFile(&card, "x", one, m_dir.filePath("nodb"), 1), -1001);
    EXPECT_EQ(importCardImageFile(&card, "../x", one, m_db, 1), -1001);
    EXPECT_EQ(importCardImageFile(&card, "x", arriving("junk.pdf", Document()), m_db, 1), -4005);

    // The front exists already: nothing changes.
    QDir().mkpath(m_images);
    ASSERT_TRUE(testpdf::writeBytes(image("old_N1.pdf"), "old"));
    EXPECT_EQ(importCardImageFile(&card, "old", one, m_db, 1), -4006);
    EXPECT_EQ(bytesOf(image("old_N1.pdf")), "old");

    // The back cannot be written: the front written by this call goes too.
    QDir().mkpath(image("mid_N2.pdf"));
    EXPECT_EQ(importCardImageFile(&card, "mid", two, m_db, 1), -4006);
    EXPECT_FALSE(QFile::exists(image("mid_N1.pdf")));
    EXPECT_TRUE(values.isEmpty());

    g_lDiskSize = uint64_t(1) << 62;
    EXPECT_EQ(importCardImageFile(&card, "big", one, m_db, 1), -1002);
    EXPECT_EQ(imageFiles(), QStringList{"old_N1.pdf"});

}

TEST_F(CardFiles, ExportAppendsTheBack)
{
    twoSidedCard();
    const QString out = m_dir.filePath("out/sub/card.pdf");
    EXPECT_EQ(exportCardImageFile(image("c1_N1.pdf"), image("c1_N2.pdf"), out), 0);
    EXPECT_EQ(pageMarks(out), (std::vector<int>{0, 1}));
    EXPECT_EQ(exportCardImageFile(image("c1_N1.pdf"), image("gone.pdf"), out), 0);
    EXPECT_EQ(pageMarks(out), std::vector<int>{0});
    EXPECT_EQ(exportCardImageFile(image("c1_N1.pdf"), "", out), 0);
    EXPECT_EQ(exportCardImageFile(image("none.pdf"), "", out), -4008);
    EXPECT_EQ(exportCardImageFile("", "", out), -1001);
    ASSERT_TRUE(testpdf::writeBytes(m_dir.filePath("afile"), "x"));
    EXPECT_EQ(exportCardImageFile(image("c1_N1.pdf"), "", m_dir.filePath("afile/card.pdf")), -4004);
    g_lDiskSize = uint64_t(1) << 62;
    EXPECT_EQ(exportCardImageFile(image("c1_N1.pdf"), "", out), -1002);
}

TEST_F(CardFiles, TurningPages)
{
    QDir().mkpath(m_images);
    const QString path = image("t_N1.pdf");
    ASSERT_TRUE(testpdf::writePdf(path, numberedPages(2)));
    const QByteArray before = bytesOf(path);
    EXPECT_EQ(RotatePDFPage(path, 2, 90), -1);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(RotatePDFPage(path, 0, 45), -50);
    EXPECT_EQ(RotatePDFPage(path, -2, 90), -50);
    EXPECT_EQ(RotatePDFPage("", 0, 90), -50);
    EXPECT_EQ(RotatePDFPage(image("none.pdf"), 0, 90), -38);
    EXPECT_EQ(RotatePDFPage(path, -1, 90), 0);
    EXPECT_EQ(pageMarks(path), (std::vector<int>{900, 901}));
    EXPECT_EQ(RotatePDFPage(path, 1, 270), 0);
    EXPECT_EQ(RotatePDFPage(path, 1, 180), 0);
    // 90 + 270 + 180 comes round to 180.
    EXPECT_EQ(pageMarks(path), (std::vector<int>{900, 1801}));
    EXPECT_EQ(GetPDFPageCount(path), 2);
    EXPECT_EQ(GetPDFPageCount(image("none.pdf")), 0);
}

TEST_F(CardFiles, SwappingTwiceRestoresAndFailedStepsRollBack)
{
    CardDict values = twoSidedCard();
    CardDictRecord card(values);
    const QByteArray front = bytesOf(image("c1_N1.pdf")), back = bytesOf(image("c1_N2.pdf"));
    ASSERT_EQ(ReverseCard(m_db, &card), 0);
    EXPECT_EQ(bytesOf(image("c1_N1.pdf")), back);
    EXPECT_EQ(bytesOf(image("c1_N2.pdf")), front);
    ASSERT_EQ(ReverseCard(m_db, &card), 0);
    EXPECT_EQ(bytesOf(image("c1_N1.pdf")), front);
    EXPECT_EQ(imageFiles(), (QStringList{"c1_N1.pdf", "c1_N2.pdf"}));

    for (int failing = 1; failing <= 3; ++failing) {
        int calls = 0;
        setCardFileRename([&](const QString& from, const QString& to) {
            if (++calls == failing)
                return false;
            return QFile::rename(from, to);
        });
        EXPECT_EQ(ReverseCard(m_db, &card), -1) << failing;
        EXPECT_EQ(bytesOf(image("c1_N1.pdf")), front) << failing;
        EXPECT_EQ(bytesOf(image("c1_N2.pdf")), back) << failing;
        EXPECT_EQ(imageFiles(), (QStringList{"c1_N1.pdf", "c1_N2.pdf"})) << failing;
    }
    CardDict noBack{{"cardID", "c1"}, {"face_Image_File", "c1_N1.pdf"}};
    CardDictRecord lone(noBack);
    EXPECT_EQ(ReverseCard(m_db, &lone), -1);
    CardDict escaping{{"face_Image_File", "../c1_N1.pdf"}, {"back_Image_File", "c1_N2.pdf"}};
    CardDictRecord outside(escaping);
    EXPECT_EQ(ReverseCard(m_db, &outside), -1);
}

TEST_F(CardFiles, AddingAndRemovingTheBack)
{
    QDir().mkpath(m_images);
    ASSERT_TRUE(testpdf::writePdf(image("a_N1.pdf"), numberedPages(1)));
    const QString source = arriving("back.pdf", numberedPages(1));
    CardDict values{{"cardID", "a"}, {"face_Image_File", "a_N1.pdf"}};
    CardDictRecord card(values);
    EXPECT_EQ(AddBackImageInfo(m_db, arriving("two.pdf", numberedPages(2)), &card), -50);
    EXPECT_EQ(AddBackImageInfo(m_db, "", &card), -50);
    ASSERT_EQ(AddBackImageInfo(m_db, source, &card), 0);
    EXPECT_TRUE(QFile::exists(source));
    EXPECT_EQ(values.value("back_Image_File"), "a_N2.pdf");
    EXPECT_EQ(values.value("back_Image_page"), 1);
    EXPECT_EQ(AddBackImageInfo(m_db, source, &card), -50);

    CardDict twoPages{{"cardID", "b"}, {"face_Image_File", "b_N1.pdf"}};
    ASSERT_TRUE(testpdf::writePdf(image("b_N1.pdf"), numberedPages(2)));
    CardDictRecord older(twoPages);
    EXPECT_EQ(AddBackImageInfo(m_db, source, &older), -50);

    ASSERT_EQ(DelBackImageInfo(m_db, &card), 0);
    EXPECT_FALSE(QFile::exists(image("a_N2.pdf")));
    EXPECT_EQ(values.value("back_Image_File"), "");
    EXPECT_EQ(values.value("back_Image_page"), 0);
    values["back_Image_File"] = "a_N2.pdf";
    EXPECT_EQ(DelBackImageInfo(m_db, &card), 0);
    EXPECT_EQ(values.value("back_Image_File"), "");
    values["back_Image_File"] = "../a_N1.pdf";
    EXPECT_EQ(DelBackImageInfo(m_db, &card), -50);
    EXPECT_TRUE(QFile::exists(image("a_N1.pdf")));
}

TEST_F(CardFiles, OlderTwoPageCards)
{
    QDir().mkpath(m_images);
    const QString front = image("o_N1.pdf");
    auto reset = [&] { ASSERT_TRUE(testpdf::writePdf(front, numberedPages(2))); };

    reset();
    CardDict values{{"cardID", "o"}, {"face_Image_File", "o_N1.pdf"}};
    CardDictRecord card(values);
    ASSERT_EQ(RotateMultiPageCard(front, &card, 1), 0);
    EXPECT_EQ(pageMarks(image("o.pdf")), (std::vector<int>{0, 1}));
    EXPECT_EQ(pageMarks(front), std::vector<int>{0});
    EXPECT_EQ(pageMarks(image("o_N2.pdf")), std::vector<int>{901});
    EXPECT_EQ(values.value("back_Image_File"), "o_N2.pdf");
    EXPECT_EQ(RotateMultiPageCard(image("o.pdf"), &card, 0), -50);

    reset();
    QFile::remove(image("o_N2.pdf"));
    values.remove("back_Image_File");
    ASSERT_EQ(ReverseMultiPageCard(m_db, &card), 0);
    EXPECT_EQ(pageMarks(front), std::vector<int>{1});
    EXPECT_EQ(pageMarks(image("o_N2.pdf")), std::vector<int>{0});
    EXPECT_EQ(values.value("back_Image_page"), 1);
    EXPECT_EQ(ReverseMultiPageCard(m_db, &card), -1); // one page left in the front

    reset();
    EXPECT_EQ(RemovePDFPage(front, -1), -50);
    EXPECT_EQ(RemovePDFPage(image("o.pdf"), 0), -50);
    ASSERT_EQ(RemovePDFPage(front, 0), 0);
    EXPECT_EQ(pageMarks(front), std::vector<int>{0});
    EXPECT_EQ(pageMarks(image("o.pdf")), (std::vector<int>{0, 1}));
}
