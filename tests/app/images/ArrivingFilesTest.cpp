#include "app/images/ArrivingFiles.h"
#include "app/images/CardPdfCheck.h"
#include "platform/pdf/PdfDocument.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

using testpdf::Document;

namespace {

const QByteArray kScanner("Brevix Scan 2.1");

QByteArray scannerJpeg(int w, int h, int dpi = 300)
{
    testpdf::JpegOptions options;
    options.xDpi = dpi;
    options.yDpi = dpi;
    options.comment = kScanner;
    return testpdf::makeJpeg(w, h, options);
}

// The JPEG with its frame claiming `w` x `h` pixels, the image data left as it was: only the
// header is read by the check.
QByteArray withFrameSize(QByteArray jpeg, int w, int h)
{
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    EXPECT_GT(frame, 0);
    jpeg[frame + 5] = char(h >> 8);
    jpeg[frame + 6] = char(h & 0xFF);
    jpeg[frame + 7] = char(w >> 8);
    jpeg[frame + 8] = char(w & 0xFF);
    return jpeg;
}

Document pagesOfSize(const std::vector<std::pair<double, double>>& sizes, const char* creator = "Brevix Pelmora")
{
    Document document = testpdf::scannerDocument(0, creator);
    for (auto [w, h] : sizes)
        document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(testpdf::patternImage(20, 10)), w, h));
    return document;
}

class ArrivingFiles : public ::testing::Test {
protected:
    QString put(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(testpdf::writeBytes(path, bytes));
        return path;
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ArrivingFiles, CheckCodes)
{
    testpdf::JpegOptions noDpi;
    noDpi.density = false;
    noDpi.comment = kScanner;
    testpdf::JpegOptions noComment;
    testpdf::JpegOptions badUtf8;
    badUtf8.comment = QByteArray("Brevix \xC3\x28", 9);
    const QByteArray shortSegment = QByteArray("\xFF\xD8\xFF\xFE\x00\x01", 6) + kScanner;
    Document locked = pagesOfSize({{288, 144}});
    locked.userPassword = "pw";
    Document encrypted = pagesOfSize({{288, 144}});
    encrypted.userPassword = "";
    Document signedDoc = pagesOfSize({{288, 144}});
    signedDoc.signatureFlags = true;
    Document producerOnly = pagesOfSize({{288, 144}});
    producerOnly.creator.reset();
    producerOnly.producer = "Brevix";
    const QByteArray good = testpdf::buildPdf(pagesOfSize({{288, 144}}));

    struct Case {
        const char* name;
        QByteArray bytes;
        int expected;
    };
    const Case cases[] = {
        {"card.jpg", scannerJpeg(1075, 650), 0},
        {"wide.JPG", scannerJpeg(2000, 650), -4},
        {"edge.jpeg", scannerJpeg(1866, 1866), 0}, // 157.99 mm truncates to 157
        // Card-sized on paper, but no card page can be made of them: too large for the conversion
        // is too large for a card.
        {"dense.jpg", withFrameSize(scannerJpeg(16, 16, 2400), 14000, 9000), -4}, // 148 x 95 mm, 126 megapixels
        {"thin.jpg", scannerJpeg(600, 2, 600), -4},                              // 25 x 0.08 mm: under a point high
        {"nodpi.jpg", testpdf::makeJpeg(1075, 650, noDpi), -201},
        {"nocomment.jpg", testpdf::makeJpeg(1075, 650, noComment), -1},
        {"badutf8.jpg", testpdf::makeJpeg(1075, 650, badUtf8), -201},
        {"short.jpg", shortSegment, -201},
        {"pdfnamedjpeg.jpg", good, -201},
        {"card.pdf", good, 0},
        {"card.PDF", good, 0},
        {"producer.pdf", testpdf::buildPdf(producerOnly), -1},
        {"other.pdf", testpdf::buildPdf(pagesOfSize({{288, 144}}, "Writer")), -1},
        {"locked.pdf", testpdf::buildPdf(locked), -2},
        {"encrypted.pdf", testpdf::buildPdf(encrypted), -201},
        {"signed.pdf", testpdf::buildPdf(signedDoc), -201},
        {"truncated.pdf", good.left(good.size() / 3), -201},
        {"malformed.pdf", QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog"), -201},
        {"a4.pdf", testpdf::buildPdf(pagesOfSize({{595.3, 841.9}})), -4},
        {"mixed.pdf", testpdf::buildPdf(pagesOfSize({{288, 144}, {595.3, 841.9}, {288, 144}})), -5},
        {"alla4.pdf", testpdf::buildPdf(pagesOfSize({{595.3, 841.9}, {841.9, 595.3}})), -4},
        {"nopages.pdf", testpdf::buildPdf(pagesOfSize({})), 0},
        {"card.txt", good, 0},
        {"notes.txt", QByteArray("plain text"), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkAddedFiles(put(QString::fromLatin1(c.name), c.bytes)), c.expected) << c.name;
    EXPECT_EQ(checkAddedFiles(m_dir.filePath("missing.pdf")), -3);

    // An image stream that claims 2 GB: the file is read as it stands, nothing is allocated for
    // the claim, and the check ends as for any card.
    QByteArray claim = good;
    const qsizetype at = claim.indexOf("/Subtype /Image");
    ASSERT_GT(at, 0);
    const qsizetype length = claim.indexOf("/Length ", claim.lastIndexOf("<<", at));
    const qsizetype end = claim.indexOf(' ', length + 8) < claim.indexOf('>', length + 8) ? claim.indexOf(' ', length + 8)
                                                                                     : claim.indexOf('>', length + 8);
    claim.replace(length, end - length, "/Length 2147483648");
    const QString claimPath = put("claim.pdf", claim);
    const int code = checkAddedFiles(claimPath);
    EXPECT_TRUE(code == 0 || code == -201) << code;
    EXPECT_EQ(checkAddedFiles(m_dir.path()), -3);
}

TEST_F(ArrivingFiles, JpegComment)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::optional<QString> comment;
    };
    testpdf::JpegOptions none;
    const QByteArray plain = testpdf::makeJpeg(20, 10, none);
    const Case cases[] = {
        {"after APP0", scannerJpeg(20, 10), QString::fromLatin1(kScanner)},
        {"none", plain, QString()},
        {"not a jpeg", QByteArray("GIF89a"), std::nullopt},
        {"length below 2", QByteArray("\xFF\xD8\xFF\xE0\x00\x00", 6), std::nullopt},
        {"runs past the end", QByteArray("\xFF\xD8\xFF\xFE\x7F\xFF" "abc", 9), std::nullopt},
        {"fill bytes, then a length past the end", QByteArray("\xFF\xD8\xFF\xFF\xFF\xE1\xFF\xFF", 8), std::nullopt},
        {"ends after the marker", QByteArray("\xFF\xD8", 2), QString()},
        {"utf8", testpdf::insertJpegSegment(plain, 0xFE, QByteArray("名刺")), QString::fromUtf8("名刺")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetJPEGCreator(put(QString::fromLatin1(c.name) + ".jpg", c.bytes)), c.comment) << c.name;
    EXPECT_EQ(GetJPEGCreator(m_dir.filePath("missing.jpg")), std::nullopt);
}

TEST_F(ArrivingFiles, JpegBecomesACardPdfWithTheBytesUnchanged)
{
    struct Case {
        int w, h, dpi;
        double pageW, pageH;
    };
    const Case cases[] = {{1075, 650, 300, 258, 156}, {1200, 600, 300, 288, 144}, {1000, 500, 200, 360, 180}};
    for (const Case& c : cases) {
        const QByteArray jpeg = scannerJpeg(c.w, c.h, c.dpi);
        const QString source = put(QStringLiteral("scan.%1.jpg").arg(c.w), jpeg);
        QString pdf;
        ASSERT_TRUE(ConvertJPEGToPDF(source, &pdf)) << c.w;
        EXPECT_TRUE(pdf.startsWith(m_dir.filePath(QStringLiteral("scan.%1_").arg(c.w)))) << pdf.toStdString();
        EXPECT_TRUE(pdf.endsWith("_0.pdf")) << pdf.toStdString();
        EXPECT_TRUE(QFile::exists(source));
        EXPECT_EQ(CheckPDF(pdf), 3);

        std::unique_ptr<PdfDocument> document = PdfDocument::open(pdf);
        ASSERT_EQ(document->pageCount(), 1);
        EXPECT_EQ(document->infoText("/Creator"), QString::fromLatin1(kScanner));
        double w = 0, h = 0;
        ASSERT_TRUE(document->pages()[0].mediaBox().boxSize(w, h));
        EXPECT_EQ(w, c.pageW);
        EXPECT_EQ(h, c.pageH);
        PdfObject image = document->pages()[0].attribute("/Resources").key("/XObject").key("/Im0");
        EXPECT_EQ(QByteArray::fromStdString(image.streamData(PdfObject::Decoding::Raw)), jpeg);

        QString second;
        ASSERT_TRUE(ConvertJPEGToPDF(source, &second));
        EXPECT_NE(second, pdf);
    }
}

TEST_F(ArrivingFiles, BadJpegsWriteNothing)
{
    testpdf::JpegOptions noDpi;
    noDpi.density = false;
    const QByteArray cases[] = {
        testpdf::makeJpeg(100, 50, noDpi),
        QByteArray("\xFF\xD8\xFF\xFE\x00\x01", 6),
        QByteArray("\xFF\xD8\xFF\xC0\x00\x0B\x08\xFF\xFF\xFF\xFF\x03", 12),
        // A frame of 65535 x 65535 pixels at 300 dpi: far beyond any card, never decoded.
        testpdf::insertJpegSegment(testpdf::makeJpeg(10, 10), 0xC0, QByteArray("\x08\xFF\xFF\xFF\xFF\x03", 6)),
        QByteArray(),
    };
    int i = 0;
    for (const QByteArray& bytes : cases) {
        const QString path = put(QStringLiteral("bad%1.jpg").arg(i++), bytes);
        const QStringList before = files();
        QString pdf = "unchanged";
        EXPECT_FALSE(ConvertJPEGToPDF(path, &pdf)) << i;
        EXPECT_EQ(pdf, "unchanged");
        EXPECT_EQ(files(), before) << i;
    }
    QString pdf;
    EXPECT_FALSE(ConvertJPEGToPDF(QString(), &pdf));
    EXPECT_FALSE(ConvertJPEGToPDF(m_dir.filePath("none.jpg"), nullptr));
}

TEST_F(ArrivingFiles, SplittingSkipsOversizedPages)
{
    const QString source = put("in.pdf", testpdf::buildPdf(pagesOfSize({{288, 144}, {595.3, 841.9}, {144, 288}})));
    bool ok = false;
    std::optional<QStringList> pages = divideMultiPagePDF(source, &ok);
    ASSERT_TRUE(pages);
    EXPECT_TRUE(ok);
    EXPECT_EQ(*pages, (QStringList{source + "_1.pdf", source + "_3.pdf"}));
    for (const QString& page : *pages) {
        EXPECT_EQ(CheckPDF(page), 3);
        EXPECT_EQ(PdfDocument::open(page)->infoText("/Creator"), QString("Brevix Pelmora"));
    }
    EXPECT_EQ(checkAddedFiles(source), -5);

    Document noCreator = pagesOfSize({{288, 144}, {288, 144}});
    noCreator.creator.reset();
    const QString bare = put("bare.pdf", testpdf::buildPdf(noCreator));
    pages = divideMultiPagePDF(bare, &ok);
    ASSERT_TRUE(pages && pages->size() == 2);
    EXPECT_EQ(PdfDocument::open(pages->at(1))->infoText("/Creator"), QString("Brevix Pelmora"));

    const QString one = put("one.pdf", testpdf::buildPdf(pagesOfSize({{288, 144}})));
    EXPECT_EQ(divideMultiPagePDF(one, &ok), QStringList{one});
    EXPECT_EQ(divideMultiPagePDF(put("none.pdf", testpdf::buildPdf(pagesOfSize({}))), &ok), QStringList());
    EXPECT_TRUE(ok);
    EXPECT_EQ(divideMultiPagePDF(put("junk.pdf", "junk"), &ok), std::nullopt);
    EXPECT_FALSE(ok);
}

TEST_F(ArrivingFiles, SplitPagesKeepOnlyTheirOwnImages)
{
    // Every page names every image through one shared XObject dictionary.
    Document document = testpdf::scannerDocument(3);
    std::vector<testpdf::Image> all;
    for (int i = 0; i < 3; ++i) {
        testpdf::Image image = testpdf::jpegImage(testpdf::patternImage(20 + i, 10));
        image.name = "Im" + std::to_string(i);
        all.push_back(image);
    }
    for (int i = 0; i < 3; ++i) {
        document.pages[size_t(i)] = testpdf::fullPage(all[size_t(i)]);
        document.pages[size_t(i)].images = all;
    }
    const QString source = put("shared.pdf", testpdf::buildPdf(document));
    bool ok = false;
    std::optional<QStringList> pages = divideMultiPagePDF(source, &ok);
    ASSERT_TRUE(pages && pages->size() == 3);
    for (const QString& page : *pages) {
        std::unique_ptr<PdfDocument> split = PdfDocument::open(page);
        EXPECT_EQ(split->pages()[0].attribute("/Resources").key("/XObject").entries().size(), 1u);
    }
}

TEST_F(ArrivingFiles, CreatorIsRewritten)
{
    const QString path = put("c.pdf", testpdf::buildPdf(pagesOfSize({{288, 144}}, "Writer")));
    EXPECT_TRUE(addPDFCreatorInfo(path, QString()));
    EXPECT_EQ(PdfDocument::open(path)->infoText("/Creator"), QString("Brevix Pelmora"));
    EXPECT_TRUE(addPDFCreatorInfo(path, "Brevix Other"));
    EXPECT_EQ(PdfDocument::open(path)->infoText("/Creator"), QString("Brevix Other"));
    EXPECT_FALSE(addPDFCreatorInfo(QString(), "x"));
    EXPECT_FALSE(addPDFCreatorInfo(put("junk.pdf", "junk"), "x"));
    EXPECT_EQ(files(), (QStringList{"c.pdf", "junk.pdf"}));
}

// Files are checked on several threads at once, ahead of their splits, which come through second
// names of the files (as staged): each split gets its own file's pages.
TEST_F(ArrivingFiles, SplitsAfterChecksOnSeveralThreadsGetTheirOwnFilesPages)
{
    QStringList paths;
    for (int i = 0; i < 24; ++i)
        paths << put(QStringLiteral("card%1.pdf").arg(i),
                     testpdf::buildPdf(pagesOfSize(std::vector<std::pair<double, double>>(size_t(i % 4 + 1), {288, 144}), "Brevix Scan")));
    std::vector<int> codes(size_t(paths.size()), 99);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (qsizetype i = t; i < paths.size(); i += 4)
                codes[size_t(i)] = checkAddedFiles(paths.at(i));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QDir(m_dir.path()).mkdir(QStringLiteral("staged"));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(codes[size_t(i)], 0) << i;
        const QString staged = m_dir.filePath(QStringLiteral("staged/PLTempFile%1.pdf").arg(i + 1));
        ASSERT_EQ(::link(QFile::encodeName(paths.at(i)).constData(), QFile::encodeName(staged).constData()), 0);
        bool ok = false;
        const std::optional<QStringList> pages = divideMultiPagePDF(staged, &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(pages->size(), i % 4 + 1) << i;
    }
    forgetCheckedFiles();
}
