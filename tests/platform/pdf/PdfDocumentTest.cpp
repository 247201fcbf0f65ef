#include "platform/pdf/PdfContentScan.h"
#include "platform/pdf/PdfDocument.h"
#include "platform/pdf/PdfPageRenderer.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

TEST(PdfDocument, OpenResults)
{
    QTemporaryDir dir;
    const QByteArray good = testpdf::buildPdf(testpdf::scannerDocument(1));
    testpdf::Document locked = testpdf::scannerDocument(1);
    locked.userPassword = "secret";
    testpdf::Document encrypted = testpdf::scannerDocument(1);
    encrypted.userPassword = "";
    struct Case {
        const char* name;
        QByteArray bytes;
        PdfDocument::OpenResult result;
    };
    const Case cases[] = {
        {"good", good, PdfDocument::OpenResult::Opened},
        {"garbage", QByteArray("not a pdf at all"), PdfDocument::OpenResult::CannotOpen},
        {"empty", QByteArray(), PdfDocument::OpenResult::CannotOpen},
        {"password", testpdf::buildPdf(locked), PdfDocument::OpenResult::Locked},
        {"empty password", testpdf::buildPdf(encrypted), PdfDocument::OpenResult::Opened},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".pdf");
        ASSERT_TRUE(testpdf::writeBytes(path, c.bytes));
        PdfDocument::OpenResult result;
        std::unique_ptr<PdfDocument> document = PdfDocument::open(path, &result);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(document != nullptr, c.result == PdfDocument::OpenResult::Opened) << c.name;
    }
    PdfDocument::OpenResult result;
    EXPECT_EQ(PdfDocument::open(dir.filePath("missing.pdf"), &result), nullptr);
    EXPECT_EQ(result, PdfDocument::OpenResult::CannotOpen);
}

TEST(PdfDocument, InfoTextIsDecodedAndWritten)
{
    QTemporaryDir dir;
    testpdf::Document source = testpdf::scannerDocument(1, "Brevix Scan");
    source.producer = "Producer";
    std::unique_ptr<PdfDocument> document = PdfDocument::openBytes(testpdf::buildPdf(source));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->infoText("/Creator"), QString("Brevix Scan"));
    EXPECT_EQ(document->infoText("/Title"), std::nullopt);

    const QString text = QString::fromUtf8("名刺 Brevix");
    document->setInfoText("/Creator", text);
    const QString path = dir.filePath("out.pdf");
    ASSERT_TRUE(document->writeToFile(path));
    std::unique_ptr<PdfDocument> reread = PdfDocument::open(path);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->infoText("/Creator"), text);

    testpdf::Document bare = testpdf::scannerDocument(1);
    bare.info = false;
    std::unique_ptr<PdfDocument> noInfo = PdfDocument::openBytes(testpdf::buildPdf(bare));
    EXPECT_FALSE(noInfo->hasInfo());
    noInfo->setInfoText("/Creator", "made");
    EXPECT_TRUE(noInfo->hasInfo());
    EXPECT_EQ(noInfo->infoText("/Creator"), QString("made"));
}

TEST(PdfDocument, WritingOverItsOwnSourceKeepsEveryPage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("three.pdf");
    ASSERT_TRUE(testpdf::writePdf(path, testpdf::scannerDocument(3)));
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    document->removePage(1);
    ASSERT_TRUE(document->writeToFile(path));
    document.reset();
    std::unique_ptr<PdfDocument> reread = PdfDocument::open(path);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->pageCount(), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"three.pdf"});
}

TEST(PdfDocument, FailedWriteLeavesTargetAndNoTemporaryFile)
{
    using Durability = PdfDocument::Durability;
    struct Case {
        const char* name;
        Durability durability;
        bool folder; // the name is a folder's, which no file replaces; else a file's
        int nameLength;
    } const cases[] = {
        {"a folder's name, durable", Durability::Durable, true, 8},
        {"a folder's name, staging", Durability::Staging, true, 8},
        // Staging files are made beside the name with a suffix: past the longest name, they cannot be.
        {"a name too long for a staging file beside it", Durability::Staging, false, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString target = dir.filePath(QString(c.nameLength, QLatin1Char('c')) + ".pdf");
        const QString inside = target + QStringLiteral("/card.pdf");
        ASSERT_TRUE(c.folder ? QDir().mkpath(target) : true);
        ASSERT_TRUE(testpdf::writePdf(c.folder ? inside : target, testpdf::scannerDocument(1)));
        const QByteArray before = readAll(c.folder ? inside : target);

        std::unique_ptr<PdfDocument> document = PdfDocument::openBytes(testpdf::buildPdf(testpdf::scannerDocument(2)));
        ASSERT_TRUE(document);
        EXPECT_FALSE(document->writeToFile(target, c.durability));
        EXPECT_EQ(readAll(c.folder ? inside : target), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), c.folder ? 0 : 1);
    }
}

TEST(PdfDocument, ReplacingAFileInBothDurabilities)
{
    for (PdfDocument::Durability durability : {PdfDocument::Durability::Durable, PdfDocument::Durability::Staging}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.pdf");
        ASSERT_TRUE(replaceFile(path, "one", durability));
        ASSERT_TRUE(replaceFile(path, "two", durability));
        EXPECT_EQ(readAll(path), "two");
        QDir(dir.path()).mkdir("folder.pdf");
        EXPECT_FALSE(replaceFile(dir.filePath("folder.pdf"), "x", durability));
        EXPECT_FALSE(replaceFile(dir.filePath("missing/a.pdf"), "x", durability));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                  (QStringList{"a.pdf", "folder.pdf"}));
    }
}

TEST(PdfDocument, PagesMoveBetweenDocumentsWithInheritedAttributes)
{
    testpdf::Document source = testpdf::scannerDocument(2);
    source.pages[1].inheritMediaBox = true;
    source.pages[1].width = 300;
    std::unique_ptr<PdfDocument> from = PdfDocument::openBytes(testpdf::buildPdf(source));
    std::unique_ptr<PdfDocument> to = PdfDocument::createEmpty();
    to->appendPage(from->pages()[1]);
    std::unique_ptr<PdfDocument> reread = PdfDocument::openBytes(to->toBytes());
    ASSERT_EQ(reread->pageCount(), 1);
    double w = 0, h = 0;
    ASSERT_TRUE(reread->pages()[0].mediaBox().boxSize(w, h));
    EXPECT_DOUBLE_EQ(w, 300);
    EXPECT_DOUBLE_EQ(h, 144);

    from->keepOnlyPage(0);
    EXPECT_EQ(from->pageCount(), 1);
    EXPECT_THROW(from->removePage(3), std::invalid_argument);
}

TEST(PdfContentScan, OperatorsArriveWithTheirOperands)
{
    testpdf::Document document = testpdf::scannerDocument(1);
    document.pages[0].content = "q 1 0 0 1 5 6 cm /Im0 Do Q 0.5 g";
    std::unique_ptr<PdfDocument> pdf = PdfDocument::openBytes(testpdf::buildPdf(document));
    std::vector<std::string> seen;
    ASSERT_TRUE(scanPageContents(pdf->pages()[0], [&](const std::string& op, const std::vector<PdfObject>& operands) {
        seen.push_back(op + ":" + std::to_string(operands.size()));
    }));
    EXPECT_EQ(seen, (std::vector<std::string>{"q:0", "cm:6", "Do:1", "Q:0", "g:1"}));
}

TEST(PdfPageRenderer, RendersOnWhiteAtTheAskedSize)
{
    testpdf::Document document = testpdf::scannerDocument(1);
    // A black image over the left half only: the right half is bare paper.
    testpdf::Image black = testpdf::flateImage(4, 4, 8, "/DeviceGray", QByteArray(16, '\0'));
    document.pages[0] = testpdf::imagePage(black, 288, 144, 144, 0, 0, 144);
    std::unique_ptr<PdfPageRenderer> renderer = PdfPageRenderer::openBytes(testpdf::buildPdf(document));
    ASSERT_TRUE(renderer);
    EXPECT_EQ(renderer->pageCount(), 1);
    EXPECT_EQ(renderer->pagePointSize(0), QSizeF(288, 144));
    QImage image = renderer->render(0, QSize(200, 100));
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(10, 50), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(190, 50), qRgb(255, 255, 255));
    EXPECT_TRUE(renderer->render(1, QSize(10, 10)).isNull());
    EXPECT_EQ(PdfPageRenderer::openBytes("nothing"), nullptr);
}
