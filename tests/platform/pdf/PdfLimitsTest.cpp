#include "platform/pdf/PdfContentScan.h"
#include "platform/pdf/PdfDocument.h"
#include "platform/pdf/PdfLimits.h"
#include "platform/pdf/PdfPageRenderer.h"
#include "tests/support/pdf/TestPdf.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A scanner page whose content is `content`, stored deflated.
std::unique_ptr<PdfDocument> pageWithContent(const QByteArray& content)
{
    testpdf::Document document = testpdf::scannerDocument(1);
    document.pages[0].content = testpdf::deflated(content).toStdString();
    document.pages[0].contentFilter = "/FlateDecode";
    return PdfDocument::openBytes(testpdf::buildPdf(document));
}

bool scans(PdfDocument& document)
{
    return scanPageContents(document.pages()[0], [](const std::string&, const std::vector<PdfObject>&) {});
}

TEST(PdfLimits, ContentIsScannedUpToItsCeilingAndOperandsUpToAnyOperatorsNeed)
{
    const QByteArray draw("q 288 0 0 144 0 0 cm /Im0 Do Q\n");
    const QByteArray padding(qsizetype(kMaxPdfContentBytes) - draw.size(), ' ');
    QByteArray operands;
    for (int i = 0; i < 256; ++i)
        operands.append("1 ");
    const struct {
        const char* name;
        QByteArray content;
        bool scanned;
    } cases[] = {
        {"content at the ceiling", draw + padding, true},
        {"one byte more", draw + padding + ' ', false},
        {"256 operands", operands + "cm\n", true},
        {"257 operands", operands + "1 cm\n", false},
    };
    for (const auto& c : cases) {
        std::unique_ptr<PdfDocument> document = pageWithContent(c.content);
        ASSERT_TRUE(document) << c.name;
        EXPECT_EQ(scans(*document), c.scanned) << c.name;
    }
}

TEST(PdfLimits, AStreamPastTheCeilingThrowsBeforeItIsKept)
{
    testpdf::Image samples = testpdf::flateImage(64, 32, 8, "/DeviceGray", QByteArray(64 * 32, '\x7F'));
    testpdf::Image inflating = testpdf::flateImage(64, 32, 8, "/DeviceGray", {});
    inflating.data = testpdf::deflatedZeros(qint64(kMaxPdfDecodedBytes) + 1);
    inflating.filter = "/FlateDecode";
    inflating.encoded = true;
    for (const auto& [image, throws] : {std::pair{samples, false}, std::pair{inflating, true}}) {
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(image));
        std::unique_ptr<PdfDocument> pdf = PdfDocument::openBytes(testpdf::buildPdf(document));
        ASSERT_TRUE(pdf);
        const PdfObject stream = pdf->pages()[0].attribute("/Resources").key("/XObject").key("/Im0");
        if (throws) {
            EXPECT_THROW(stream.streamData(PdfObject::Decoding::Specialized), std::length_error);
            EXPECT_LT(stream.streamData(PdfObject::Decoding::Raw).size(), size_t(1) << 20);
        } else {
            EXPECT_EQ(stream.streamData(PdfObject::Decoding::General), std::string(64 * 32, '\x7F'));
        }
    }
}

TEST(PdfLimits, ARenderPastTheCeilingIsRefused)
{
    testpdf::Image jpeg = testpdf::jpegImage(testpdf::patternImage(60, 30));
    testpdf::Image inflating = testpdf::flateImage(60, 30, 8, "/DeviceGray", {});
    inflating.name = "Im1";
    inflating.data = testpdf::deflatedZeros(qint64(kMaxPdfDecodedBytes) + 1);
    inflating.filter = "/FlateDecode";
    inflating.encoded = true;
    testpdf::Image declaredHuge = testpdf::flateImage(4000, 4000, 8, "/DeviceGray", QByteArray(16, '\0'));
    declaredHuge.name = "Im1";
    const std::string draw = "q 288 0 0 144 0 0 cm /Im0 Do Q q 288 0 0 144 0 0 cm /Im1 Do Q";
    const struct {
        const char* name;
        std::vector<testpdf::Image> images;
        QSize size;
        bool rendered;
    } cases[] = {
        {"two layers", {jpeg, jpeg}, QSize(288, 144), true},
        {"a bitmap past the ceiling", {jpeg, jpeg}, QSize(8192, 1537), false},
        {"a layer inflating past it", {jpeg, inflating}, QSize(288, 144), false},
        {"a layer declared past it", {jpeg, declaredHuge}, QSize(288, 144), false},
    };
    for (const auto& c : cases) {
        testpdf::Page page;
        page.content = draw;
        page.images = c.images;
        page.images[1].name = "Im1";
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(page);
        std::unique_ptr<PdfPageRenderer> renderer = PdfPageRenderer::openBytes(testpdf::buildPdf(document));
        ASSERT_TRUE(renderer) << c.name;
        EXPECT_EQ(renderer->render(0, c.size).isNull(), !c.rendered) << c.name;
    }
}

} // namespace
