#include "app/images/CardPdfDecoding.h"
#include "app/images/PageContentScan.h"
#include "tests/support/pdf/TestPdf.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using testpdf::Document;
using testpdf::Image;
using testpdf::Page;

namespace {

std::unique_ptr<PdfDocument> onePage(const Page& page)
{
    Document document = testpdf::scannerDocument(0);
    document.pages.push_back(page);
    return PdfDocument::openBytes(testpdf::buildPdf(document));
}

Image namedJpeg(const std::string& name, int w, int h)
{
    Image image = testpdf::jpegImage(testpdf::patternImage(w, h));
    image.name = name;
    return image;
}

Image solidGrey(const std::string& name, int w, int h, uchar level)
{
    Image image = testpdf::flateImage(w, h, 8, "/DeviceGray", QByteArray(w * h, char(level)));
    image.name = name;
    return image;
}

} // namespace

TEST(PageContentScan, OperatorsAndTheirOperands)
{
    Page page;
    page.images = {namedJpeg("Im0", 10, 10)};
    page.content = "q 1 2 3 4 5 6 cm 0.1 0.2 0.3 sc 0.5 0.6 0.7 rg 0.25 g 0.75 G /Cs1 cs /Im0 Do Q "
                   "/X cm 1 2 RG 0.9 SC";
    std::unique_ptr<PdfDocument> pdf = onePage(page);
    std::vector<PageOperation> full, reduced;
    ASSERT_TRUE(parsePageContents(pdf->pages()[0], OperatorSet::Full, full));
    ASSERT_TRUE(parsePageContents(pdf->pages()[0], OperatorSet::Reduced, reduced));
    using K = PageOperation::Kind;
    std::vector<K> kinds;
    for (const PageOperation& op : full)
        kinds.push_back(op.kind);
    // "/X cm" and "1 2 RG" lack numbers and add nothing.
    EXPECT_EQ(kinds, (std::vector<K>{K::q, K::cm, K::sc, K::rg, K::g, K::G, K::Do, K::Q, K::SC}));
    EXPECT_DOUBLE_EQ(full[1].values[5], 6);
    EXPECT_DOUBLE_EQ(full[2].values[0], 0.3); // only the last operand of sc
    EXPECT_DOUBLE_EQ(full[3].values[2], 0.7);
    EXPECT_DOUBLE_EQ(full[4].values[0], 0.25);
    EXPECT_EQ(full[6].name, "Im0");
    EXPECT_EQ(reduced.size(), 4u);
}

TEST(PageContentScan, ResolutionIsTheHighestOverTheImages)
{
    struct Case {
        const char* name;
        std::string content;
        int status, hdpi, vdpi;
    };
    // Im0 is 600 x 300 pixels, Im1 150 x 75.
    const Case cases[] = {
        {"300 and 150", "q 144 0 0 72 0 0 cm /Im0 Do Q q 72 0 0 36 0 0 cm /Im1 Do Q", 0, 300, 300},
        {"quarter turn", "q 0 144 -72 0 72 0 cm /Im0 Do Q", 0, 300, 300},
        {"flipped", "q 144 0 0 -72 0 72 cm /Im0 Do Q", 0, 300, 300},
        {"anisotropic", "q 144 0 0 144 0 0 cm /Im0 Do Q", 0, 300, 150},
        {"nothing drawn", "0 0 m", 0, 0, 0},
        {"unknown name", "/Im9 Do", 2, 0, 0},
        {"zero matrix", "0 0 0 0 0 0 cm /Im0 Do", 2, 0, 0},
    };
    for (const Case& c : cases) {
        Page page;
        page.images = {namedJpeg("Im0", 600, 300), namedJpeg("Im1", 150, 75)};
        page.content = c.content;
        std::unique_ptr<PdfDocument> pdf = onePage(page);
        std::vector<PageOperation> list;
        ASSERT_TRUE(parsePageContents(pdf->pages()[0], OperatorSet::Full, list)) << c.name;
        PdfObject xobjects = pdf->pages()[0].attribute("/Resources").key("/XObject");
        int h = -1, v = -1;
        EXPECT_EQ(AcquirePageDpiByXObject(xobjects, list, &h, &v), c.status) << c.name;
        if (c.status == 0) {
            EXPECT_EQ(h, c.hdpi) << c.name;
            EXPECT_EQ(v, c.vdpi) << c.name;
        }
    }
}

TEST(PageContentScan, LayeredPagesRenderOnWhiteAtTheirResolution)
{
    QTemporaryDir dir;
    // A layered card: a dark grey background layer over the left half, a stencil whose 1 samples
    // stay unpainted over the right half, and a JPEG with a soft mask hiding its top rows.
    Page page;
    page.width = 288;
    page.height = 144;
    Image background = solidGrey("Im0", 300, 300, 40);
    Image stencil = testpdf::flateImage(40, 20, 1, "/DeviceGray", testpdf::halfBits(40, 20, false));
    stencil.name = "Im1";
    stencil.imageMask = true;
    Image masked = namedJpeg("Im2", 100, 100);
    masked.smask = QByteArray(100 * 50, char(0)) + QByteArray(100 * 50, char(255)); // top half hidden
    page.images = {background, stencil, masked};
    page.content = "q 144 0 0 144 0 0 cm /Im0 Do Q "
                   "q 0 0 1 rg 144 0 0 72 144 0 cm /Im1 Do Q "
                   "q 72 0 0 72 144 72 cm /Im2 Do Q";
    page.rotate = 180;
    Document document = testpdf::scannerDocument(0);
    document.pages.push_back(page);
    const QString path = dir.filePath("layered.pdf");
    ASSERT_TRUE(testpdf::writePdf(path, document));

    CardBitmap bitmap;
    ASSERT_EQ(AcquireCardImageFromPDF(path, &bitmap, nullptr), 0);
    EXPECT_EQ(bitmap.info.hdpi, 150);
    EXPECT_EQ(bitmap.info.vdpi, 150);
    EXPECT_EQ(bitmap.info.rotation, 180); // the page's own rotation, the render itself stays upright
    EXPECT_EQ(bitmap.info.colour, 1);
    ASSERT_EQ(bitmap.image.size(), QSize(600, 300));
    EXPECT_EQ(bitmap.image.format(), QImage::Format_RGBA8888);
    EXPECT_EQ(bitmap.image.pixel(100, 150), qRgb(40, 40, 40));
    // Stencil: its 0 samples (left half) take the blue fill, its 1 samples leave the paper white.
    EXPECT_EQ(bitmap.image.pixel(320, 250), qRgb(0, 0, 255));
    EXPECT_EQ(bitmap.image.pixel(580, 250), qRgb(255, 255, 255));
    // The soft-masked JPEG: hidden in its top half, drawn (dark left half) below.
    EXPECT_EQ(bitmap.image.pixel(305, 5), qRgb(255, 255, 255));
    EXPECT_LT(qGray(bitmap.image.pixel(305, 140)), 60);
    // Uncovered paper is opaque white.
    EXPECT_EQ(bitmap.image.pixel(590, 5), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(bitmap.image.pixel(590, 5)), 255);

    QImage out;
    PageImageDescription description;
    Page empty;
    empty.images = {namedJpeg("Im0", 10, 10), namedJpeg("Im1", 10, 10)};
    empty.content = "0 0 m";
    std::unique_ptr<PdfDocument> nothing = onePage(empty);
    EXPECT_EQ(AcquireImageFromHighCompressPDFPage(*nothing, 0, &out, &description), 2);
    EXPECT_TRUE(out.isNull());
    EXPECT_EQ(AcquireImageFromHighCompressPDFPage(*nothing, 0, nullptr, &description), 1);
}
