#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/PageContentScan.h"
#include "tests/support/pdf/TestPdf.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using testpdf::Document;
using testpdf::Image;
using testpdf::Page;

namespace {

Image rgbJpeg(int w = 120, int h = 60)
{
    return testpdf::jpegImage(testpdf::patternImage(w, h));
}

Page emptyPage()
{
    Page page;
    page.content = "0 0 m 10 10 l S";
    return page;
}

class PdfFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const Document& document)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(testpdf::writePdf(path, document));
        return path;
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(testpdf::writeBytes(path, bytes));
        return path;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(PdfFiles, Classification)
{
    auto withCreator = [](std::optional<std::string> creator, std::optional<std::string> producer, int pages) {
        Document document = testpdf::scannerDocument(pages);
        document.creator = creator;
        document.producer = producer;
        return document;
    };
    Document ownWithoutImages = withCreator("Pelmora", std::nullopt, 0);
    ownWithoutImages.pages.push_back(emptyPage());
    Document scannerImageless = withCreator("Brevix Scan", std::nullopt, 1);
    scannerImageless.pages.push_back(emptyPage());
    Document encrypted = withCreator("Brevix Scan", std::nullopt, 1);
    encrypted.userPassword = "";
    Document locked = withCreator("Brevix Scan", std::nullopt, 1);
    locked.userPassword = "pw";
    Document noInfo = testpdf::scannerDocument(1);
    noInfo.info = false;
    Document untyped = testpdf::scannerDocument(1);
    untyped.pages[0].images[0].typeKey = false;

    struct Case {
        const char* name;
        Document document;
        int expected;
    };
    const Case cases[] = {
        {"own creator, no page opened", ownWithoutImages, 2},
        {"scanner and own name", withCreator("Brevix Pelmora", std::nullopt, 2), 3},
        {"own name inside another", withCreator("Pelmora Export", std::nullopt, 1), 3},
        {"scanner creator without images", scannerImageless, 2},
        {"scanner producer", withCreator(std::nullopt, "Brevix Producer", 1), 3},
        {"producer ignored beside a creator", withCreator("Writer", "Brevix", 1), 1},
        {"neither", withCreator(std::nullopt, std::nullopt, 1), 1},
        {"other creator", withCreator("Writer", std::nullopt, 1), 1},
        {"case matters", withCreator("brevix", std::nullopt, 1), 1},
        {"no pages", withCreator("Brevix Scan", std::nullopt, 0), 1},
        {"encrypted", encrypted, 1},
        {"locked", locked, 1},
        {"no Info", noInfo, 1},
        {"image without Type key", untyped, 2},
    };
    for (const Case& c : cases) {
        const QString path = write(QString::fromLatin1(c.name) + ".pdf", c.document);
        EXPECT_EQ(CheckPDF(path), c.expected) << c.name;
    }
    EXPECT_EQ(CheckPDF(m_dir.filePath("missing.pdf")), 0);
    EXPECT_EQ(CheckPDF(QString()), -50);
    EXPECT_EQ(CheckPDF(write("garbage.pdf", QByteArray("%PDF-1.4\ngarbage"))), 1);

    QVariantMap result;
    const QString two = write("two.pdf", testpdf::scannerDocument(2));
    EXPECT_EQ(checkPdfFile2(two, &result), 3);
    EXPECT_EQ(result.value(kPageCountKey).toInt(), 2);
    EXPECT_TRUE(isImagePdf(two, 2));
    EXPECT_FALSE(isImagePdf(two, 1));
}

TEST_F(PdfFiles, ImageCountAddsMasks)
{
    Document document = testpdf::scannerDocument(1);
    Image masked = rgbJpeg();
    masked.name = "Im1";
    masked.mask = true;
    Image soft = rgbJpeg();
    soft.name = "Im2";
    soft.smask = QByteArray(120 * 60, '\x80');
    document.pages[0].images.push_back(masked);
    document.pages[0].images.push_back(soft);
    std::unique_ptr<PdfDocument> pdf = PdfDocument::openBytes(testpdf::buildPdf(document));
    // Im0, Im1 with its colour-key mask counted twice, Im2 (a soft mask does not count), and the
    // soft mask's own image stream is not an entry of the dictionary.
    EXPECT_EQ(GetImageCountFromPDFPage(pdf->pages()[0]), 4);
    Document noResources = testpdf::scannerDocument(0);
    noResources.pages.push_back(emptyPage());
    std::unique_ptr<PdfDocument> bare = PdfDocument::openBytes(testpdf::buildPdf(noResources));
    EXPECT_EQ(GetImageCountFromPDFPage(bare->pages()[0]), 0);
}

TEST_F(PdfFiles, PageAnalysisRotationAndTolerance)
{
    struct Case {
        const char* name;
        double a, b, c, d;
        int rotation;
        uint8_t highCompression;
    };
    const Case cases[] = {
        {"upright", 288, 0, 0, 144, 0, 0},
        {"within 0.01", 288.009, 0, 0, 143.991, 0, 0},
        {"0.02 too large", 288.02, 0, 0, 144, 0, 1},
        {"half the page", 144, 0, 0, 144, 0, 1},
        {"turned 270", 0, 144, -288, 0, 270, 0},
        {"turned 90", 0, -144, 288, 0, 90, 0},
        {"turned 180", -288, 0, 0, -144, 180, 0},
        {"slight tilt", 287.9, -5, 5, 143.9, -0, 1},
    };
    for (const Case& c : cases) {
        Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::imagePage(rgbJpeg(), 288, 144, c.a, c.b, c.c, c.d));
        std::unique_ptr<PdfDocument> pdf = PdfDocument::openBytes(testpdf::buildPdf(document));
        uint8_t high = 0;
        int rotation = 0;
        ASSERT_EQ(AcquirePDFPageInfo(pdf->pages()[0], &high, &rotation), 0) << c.name;
        EXPECT_EQ(high, c.highCompression) << c.name;
        EXPECT_EQ(rotation, c.rotation) << c.name;
    }

    Document layered = testpdf::scannerDocument(1);
    Image second = rgbJpeg();
    second.name = "Im1";
    layered.pages[0].images.push_back(second);
    std::unique_ptr<PdfDocument> pdf = PdfDocument::openBytes(testpdf::buildPdf(layered));
    uint8_t high = 0;
    int rotation = 0;
    EXPECT_EQ(AcquirePDFPageInfo(pdf->pages()[0], &high, &rotation), 0);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(AcquirePDFPageInfo(pdf->pages()[0], nullptr, &rotation), 1);
}

TEST(FormRotation, MatrixAfterPerceptualOrByteTen)
{
    struct Case {
        const char* name;
        std::string stream;
        int degrees;
    };
    const Case cases[] = {
        {"quarter", "/Perceptual ri q 0 1 -1 0 0 155.9 cm /Im0 Do Q", 90},
        {"three quarters", "/Perceptual ri q 0 -1 1 0 155.9 0 cm /Im0 Do Q", 270},
        {"half", "/Perceptual ri q -1 0 0 -1 155.9 90 cm /Im0 Do Q", 180},
        {"plain scale", "/Perceptual ri q 155.9 0 0 90 0 0 cm /Im0 Do Q", 0},
        {"q only in the first ten bytes", "q 0 1 -1 0 0 155.9 cm /Im0 Do", 0},
        {"too short", "q 0 1 -1 0 0 1 cm", 0},
        {"numbers run out", "/Perceptual ri q 0 1", 0},
    };
    for (const Case& c : cases) {
        int degrees = -1;
        GetRotateDegreeFromStreamData(c.stream, &degrees);
        EXPECT_EQ(degrees, c.degrees) << c.name;
    }
}

TEST_F(PdfFiles, ResolutionOfTheOneImage)
{
    struct Case {
        const char* name;
        int w, h;
        double a, b, c, d;
        int rotation;
    };
    const Case cases[] = {
        {"upright", 1200, 600, 288, 0, 0, 144, 0},
        {"turned a quarter", 600, 1200, 0, -144, 288, 0, 90},
        {"anisotropic", 1200, 300, 288, 0, 0, 144, 0},
    };
    for (const Case& c : cases) {
        Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::imagePage(rgbJpeg(c.w, c.h), 288, 144, c.a, c.b, c.c, c.d));
        const QString path = write(QString::fromLatin1(c.name) + ".pdf", document);
        CardBitmap front;
        ASSERT_EQ(AcquireCardImageFromPDF(path, &front, nullptr), 0) << c.name;
        EXPECT_EQ(front.image.size(), QSize(c.w, c.h)) << c.name;
        EXPECT_EQ(front.info.rotation, c.rotation) << c.name;
        EXPECT_EQ(front.info.hdpi, 300) << c.name;
        EXPECT_EQ(front.info.vdpi, c.h == 300 ? 150 : 300) << c.name;
        EXPECT_EQ(front.info.colour, 1) << c.name;
    }
}

TEST_F(PdfFiles, BitmapsByColourSpaceDepthAndDecode)
{
    const int w = 16, h = 8;
    Image greyJpeg = testpdf::jpegImage(testpdf::patternImage(w, h, QImage::Format_Grayscale8));
    Image bitsNormal = testpdf::flateImage(w, h, 1, "/DeviceGray", testpdf::halfBits(w, h, false));
    Image bitsDecoded = testpdf::flateImage(w, h, 1, "/DeviceGray", testpdf::halfBits(w, h, true));
    bitsDecoded.decode = "[1 0]";
    Image bitsIcc = testpdf::flateImage(w, h, 1, "ICCGray", testpdf::halfBits(w, h, true));
    bitsIcc.decode = "[1 0]";
    Image grey8 = testpdf::flateImage(w, h, 8, "/DeviceGray", testpdf::halfGrey(w, h, 0, 255));
    Image grey8Icc = testpdf::flateImage(w, h, 8, "ICCGray", testpdf::halfGrey(w, h, 0, 255));
    QImage rgb = testpdf::patternImage(w, h, QImage::Format_RGB888);
    Image rgb8 = testpdf::flateImage(w, h, 8, "/DeviceRGB",
                                     QByteArray(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes()));
    Image rawGrey = grey8;
    rawGrey.filter.clear();

    // Recognition's decoding gives a JPEG's luminance alone; the other forms stay as stored.
    struct Case {
        const char* name;
        Image image;
        QImage::Format format;
        QImage::Format greyFormat;
        int colour;
    };
    const Case cases[] = {
        {"DCT RGB", rgbJpeg(w, h), QImage::Format_RGB32, QImage::Format_Grayscale8, 1},
        {"DCT grey", greyJpeg, QImage::Format_Grayscale8, QImage::Format_Grayscale8, 1},
        {"1-bit Flate, 0 is black", bitsNormal, QImage::Format_Mono, QImage::Format_Mono, 0},
        {"1-bit Flate, Decode [1 0]", bitsDecoded, QImage::Format_Mono, QImage::Format_Mono, 0},
        {"1-bit ICC, Decode [1 0]", bitsIcc, QImage::Format_Mono, QImage::Format_Mono, 0},
        {"8-bit Flate grey", grey8, QImage::Format_Grayscale8, QImage::Format_Grayscale8, 1},
        {"8-bit ICC grey", grey8Icc, QImage::Format_Grayscale8, QImage::Format_Grayscale8, 1},
        {"8-bit Flate RGB", rgb8, QImage::Format_RGB888, QImage::Format_RGB888, 1},
        {"8-bit unfiltered grey", rawGrey, QImage::Format_Grayscale8, QImage::Format_Grayscale8, 1},
    };
    for (const Case& c : cases) {
        Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(c.image));
        const QString path = write(QString::fromLatin1(c.name) + ".pdf", document);
        for (const CardDecoding decoding : {CardDecoding::AsStored, CardDecoding::Grey}) {
            const bool grey = decoding == CardDecoding::Grey;
            CardBitmap bitmap;
            ASSERT_EQ(AcquireCardImageFromPDF(path, &bitmap, nullptr, decoding), 0) << c.name << grey;
            EXPECT_EQ(bitmap.image.format(), grey ? c.greyFormat : c.format) << c.name << grey;
            EXPECT_EQ(bitmap.info.colour, c.colour) << c.name << grey;
            EXPECT_EQ(bitmap.info.hdpi, bitmap.info.vdpi) << c.name << grey;
            ASSERT_EQ(bitmap.image.size(), QSize(w, h)) << c.name << grey;
            // Every fixture is dark on the left half and light on the right.
            EXPECT_LT(qGray(bitmap.image.pixel(1, h / 2)), 60) << c.name << grey;
            EXPECT_GT(qGray(bitmap.image.pixel(w - 2, h / 2)), 200) << c.name << grey;
        }
    }
}

TEST_F(PdfFiles, StoredFormsOnlyARendererReadsAreRendered)
{
    // A CMYK image: decoded by rendering the page at the image's resolution.
    const int w = 40, h = 20;
    QByteArray cmyk;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cmyk += x < w / 2 ? QByteArray("\0\0\0\xFF", 4) : QByteArray(4, '\0');
    Image image = testpdf::flateImage(w, h, 8, "/DeviceCMYK", cmyk);
    Document document = testpdf::scannerDocument(0);
    document.pages.push_back(testpdf::fullPage(image, 288, 144));
    document.pages[0].rotate = 90;
    const QString path = write("cmyk.pdf", document);
    CardBitmap bitmap;
    ASSERT_EQ(AcquireCardImageFromPDF(path, &bitmap, nullptr), 0);
    EXPECT_EQ(bitmap.image.format(), QImage::Format_RGB888);
    EXPECT_EQ(bitmap.info.hdpi, 10);
    EXPECT_EQ(bitmap.info.vdpi, 10);
    EXPECT_EQ(bitmap.info.rotation, 90);
    EXPECT_EQ(bitmap.image.size(), QSize(40, 20));
    EXPECT_LT(qGray(bitmap.image.pixel(2, 10)), 60);
    EXPECT_GT(qGray(bitmap.image.pixel(37, 10)), 200);
}

TEST_F(PdfFiles, RotationSumsThroughFormsAndPageAttribute)
{
    Document document = testpdf::scannerDocument(0);
    Page page = testpdf::fullPage(rgbJpeg(120, 60));
    page.formContent = "/Perceptual ri q 0 1 -1 0 0 155.9 cm /Im0 Do Q";
    page.content = "q 288 0 0 144 0 0 cm /Fm0 Do Q";
    page.rotate = 270;
    document.pages.push_back(page);
    const QString path = write("form.pdf", document);
    CardBitmap bitmap;
    ASSERT_EQ(AcquireCardImageFromPDF(path, &bitmap, nullptr), 0);
    // 90 from the form plus 270 from the page comes round to 0.
    EXPECT_EQ(bitmap.info.rotation, 0);

    document.pages[0].rotate = -450;
    ASSERT_EQ(AcquireCardImageFromPDF(write("negative.pdf", document), &bitmap, nullptr), 0);
    EXPECT_EQ(bitmap.info.rotation, 0);
    EXPECT_EQ(normalizedDegrees(-810), 270);
    EXPECT_EQ(normalizedDegrees(1170), 90);
}

TEST_F(PdfFiles, FrontAndBackSides)
{
    const QString one = write("one.pdf", testpdf::scannerDocument(1));
    const QString two = write("two.pdf", testpdf::scannerDocument(2));
    CardBitmap front, back;
    back.image = QImage(1, 1, QImage::Format_RGB32);
    EXPECT_EQ(AcquireCardImages(one, QString(), &front, &back), 0);
    EXPECT_FALSE(front.image.isNull());
    EXPECT_TRUE(back.image.isNull());
    EXPECT_EQ(AcquireCardImages(two, "  ", &front, &back), 0);
    EXPECT_FALSE(back.image.isNull());
    EXPECT_EQ(AcquireCardImages(one, two, &front, &back), 0);
    EXPECT_EQ(AcquireCardImages(one, m_dir.filePath("gone.pdf"), &front, &back), 2);
    EXPECT_TRUE(front.image.isNull());
    EXPECT_EQ(AcquireCardImageFromPDF(one, nullptr, nullptr), -50);
    EXPECT_EQ(AcquireCardImageFromPDF(QString(), &front, nullptr), -50);
}

TEST_F(PdfFiles, BadPagesFailWithoutABitmap)
{
    Image huge = rgbJpeg();
    huge.width = 60000;
    huge.height = 60000;
    Image shortData = testpdf::flateImage(100, 100, 8, "/DeviceGray", QByteArray(10, '\0'));
    Image noBits = rgbJpeg();
    noBits.bitsPerComponent = 0;
    Image headless = rgbJpeg();
    headless.data = headless.data.left(20);
    Document empty = testpdf::scannerDocument(0);
    empty.pages.push_back(emptyPage());
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    auto onePage = [](const Image& image) {
        Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(image));
        return testpdf::buildPdf(document);
    };
    const QByteArray good = testpdf::buildPdf(testpdf::scannerDocument(1));
    const Case cases[] = {
        {"claims 3.6 gigapixels", onePage(huge)},         {"samples cut short", onePage(shortData)},
        {"JPEG cut before its frame", onePage(headless)}, {"page without image", testpdf::buildPdf(empty)},
        {"truncated file", good.left(good.size() / 2)},   {"no pdf", QByteArray("hello")},
    };
    for (const Case& c : cases) {
        const QString path = write(QString::fromLatin1(c.name) + ".pdf", c.bytes);
        for (const CardDecoding decoding : {CardDecoding::AsStored, CardDecoding::Grey}) {
            CardBitmap bitmap;
            EXPECT_EQ(AcquireCardImageFromPDF(path, &bitmap, nullptr, decoding), 2) << c.name;
            EXPECT_TRUE(bitmap.image.isNull()) << c.name;
        }
    }
}
