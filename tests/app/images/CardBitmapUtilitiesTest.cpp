#include "app/images/CardBitmapUtilities.h"
#include "platform/pdf/JpegHeader.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CardBitmapUtilities, TurningKeepsPixelsAndChoosesTheFormat)
{
    struct Case {
        const char* name;
        QImage::Format source;
        int degrees;
        QSize size;
        QImage::Format result;
        QPoint dark, light; // the source's dark left half, where it lands
    };
    const Case cases[] = {
        {"rgb 90", QImage::Format_RGB888, 90, {50, 100}, QImage::Format_RGBA8888, {25, 10}, {25, 90}},
        {"rgb 270", QImage::Format_RGB32, 270, {50, 100}, QImage::Format_RGBA8888, {25, 90}, {25, 10}},
        {"rgb -90", QImage::Format_RGB32, -90, {50, 100}, QImage::Format_RGBA8888, {25, 90}, {25, 10}},
        {"grey 180", QImage::Format_Grayscale8, 180, {100, 50}, QImage::Format_Grayscale8, {90, 25}, {10, 25}},
        {"1-bit 90", QImage::Format_Mono, 90, {50, 100}, QImage::Format_Grayscale8, {25, 10}, {25, 90}},
        {"grey 0", QImage::Format_Grayscale8, 0, {100, 50}, QImage::Format_Grayscale8, {10, 25}, {90, 25}},
    };
    for (const Case& c : cases) {
        QImage source = testpdf::patternImage(100, 50, QImage::Format_RGB32).convertToFormat(c.source);
        QImage turned;
        ASSERT_EQ(RotateBitmapImageRep(source, c.degrees, &turned), 0) << c.name;
        EXPECT_EQ(turned.size(), c.size) << c.name;
        EXPECT_EQ(turned.format(), c.result) << c.name;
        EXPECT_LT(qGray(turned.pixel(c.dark)), 50) << c.name;
        EXPECT_GT(qGray(turned.pixel(c.light)), 200) << c.name;
    }
    QImage tilted;
    ASSERT_EQ(RotateBitmapImageRep(testpdf::patternImage(100, 50), 30, &tilted), 0);
    EXPECT_EQ(tilted.size(), QSize(100, 50));
    EXPECT_EQ(RotateBitmapImageRep(QImage(), 90, &tilted), -50);

    QImage wide;
    ASSERT_EQ(ConvertImageToDepth(testpdf::patternImage(8, 4, QImage::Format_Mono), 8, &wide), 0);
    EXPECT_EQ(wide.format(), QImage::Format_Grayscale8);
    ASSERT_EQ(ConvertImageToDepth(wide, 32, &wide), 0);
    EXPECT_EQ(wide.format(), QImage::Format_RGBA8888);
}

TEST(CardBitmapUtilities, JpegKeepsTheResolutionOfEachAxis)
{
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QImage::Format format;
        int rotation, hdpi, vdpi, colour;
        QSize size;
        int components;
        double xDpi, yDpi;
    };
    const Case cases[] = {
        {"bi-level", QImage::Format_Mono, 0, 300, 300, 0, {120, 60}, 1, 300, 300},
        {"colour", QImage::Format_RGB888, 0, 300, 150, 1, {120, 60}, 3, 300, 150},
        {"grey turned", QImage::Format_Grayscale8, 90, 300, 150, 1, {60, 120}, 3, 150, 300},
        {"colour turned half", QImage::Format_RGB32, 180, 200, 100, 1, {120, 60}, 3, 200, 100},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".jpg");
        QImage bitmap = testpdf::patternImage(120, 60, QImage::Format_RGB32).convertToFormat(c.format);
        ASSERT_EQ(saveJpgFile(bitmap, c.rotation, c.hdpi, c.vdpi, c.colour, path), 0) << c.name;
        JpegHeader header;
        ASSERT_EQ(readJpegHeaderFromFile(path, header), JpegHeaderStatus::Complete) << c.name;
        EXPECT_EQ(QSize(header.width, header.height), c.size) << c.name;
        EXPECT_EQ(header.components, c.components) << c.name;
        EXPECT_DOUBLE_EQ(header.xDpi, c.xDpi) << c.name;
        EXPECT_DOUBLE_EQ(header.yDpi, c.yDpi) << c.name;
    }
    const QString folder = dir.filePath("taken.jpg");
    QDir().mkpath(folder + "/inside");
    EXPECT_EQ(saveJpgFile(testpdf::patternImage(10, 10), 0, 300, 300, 1, folder), -1);
    EXPECT_TRUE(QDir(folder + "/inside").exists());
    EXPECT_EQ(saveFileToGivenPath("x", dir.filePath("missing/a.jpg")), -1);
    EXPECT_EQ(saveFileToGivenPath("x", dir.filePath("a.jpg")), 0);
}

TEST(CardBitmapUtilities, OtherPdfsRenderAt150Dpi)
{
    QTemporaryDir dir;
    testpdf::Document document = testpdf::scannerDocument(1, "Writer");
    const QString upright = dir.filePath("upright.pdf");
    ASSERT_TRUE(testpdf::writePdf(upright, document));
    document.pages[0].rotate = 90;
    const QString turned = dir.filePath("turned.pdf");
    ASSERT_TRUE(testpdf::writePdf(turned, document));

    CardBitmap bitmap;
    ASSERT_EQ(AcquireCardImageFromSearchablePDF(upright, &bitmap), 0);
    EXPECT_EQ(bitmap.image.size(), QSize(600, 300));
    EXPECT_EQ(bitmap.info.rotation, 0);
    EXPECT_EQ(bitmap.info.hdpi, 150);
    EXPECT_EQ(bitmap.info.vdpi, 150);
    EXPECT_EQ(bitmap.info.colour, 1);
    EXPECT_EQ(qRound(bitmap.image.width() / (bitmap.image.dotsPerMeterX() * 0.0254) * 72), 288);
    ASSERT_EQ(AcquireCardImageFromSearchablePDF(turned, &bitmap), 0);
    EXPECT_EQ(bitmap.image.size(), QSize(300, 600));

    EXPECT_EQ(AcquireCardImageFromSearchablePDF(dir.filePath("none.pdf"), &bitmap), -1);
    EXPECT_TRUE(bitmap.image.isNull());
    std::unique_ptr<PdfPageRenderer> all;
    EXPECT_EQ(AcquireCardImageFromAllPDF(dir.filePath("none.pdf"), &all), -50);
    EXPECT_EQ(AcquireCardImageFromAllPDF(upright, nullptr), -50);
    ASSERT_EQ(AcquireCardImageFromAllPDF(upright, &all), 0);
    EXPECT_EQ(all->pageCount(), 1);
}
