// Printing cards: where each side goes on a sheet (the layout as a table of cases), and File ▸
// Print... on selected cards writing a PDF whose sheets show each side in its cell.
#include "app/core/PLAppController.h"
#include "app/ui/PLMainMenu.h"
#include "app/ui/PLPrintView.h"
#include "platform/pdf/PdfDocument.h"
#include "platform/pdf/PdfPageRenderer.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/appkit/ScriptedPrintService.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPageSize>

#include <cstdlib>

namespace {

// A page of one solid colour (r, g, b in 0..1).
testpdf::Page solidPage(double width, double height, const char* rgb, int rotate = 0)
{
    testpdf::Page page;
    page.width = width;
    page.height = height;
    page.rotate = rotate;
    page.content = std::string(rgb) + " rg 0 0 " + std::to_string(int(width)) + " " + std::to_string(int(height)) + " re f";
    return page;
}

void writeSolid(const QString& path, std::vector<testpdf::Page> pages)
{
    testpdf::Document document;
    document.pages = std::move(pages);
    ASSERT_TRUE(testpdf::writePdf(path, document));
}

QVariantMap entry(const QString& face, const QString& back = QString())
{
    return {{QString::fromLatin1(kPrintPdfPathFace), face}, {QString::fromLatin1(kPrintPdfPathBack), back}};
}

class PrintLayout : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString file(const char* name) const { return temp.filePath(QString::fromLatin1(name)); }

    // The command's grid on US Letter: 2 columns, 3 rows, centred.
    static PLPrintView commandView()
    {
        PLPrintView view(QRectF(0, 0, 100, 100));
        view.setPaperSize(QSizeF(612, 792));
        view.setVCount(2);
        view.setHCount(3);
        return view;
    }
};

TEST_F(PrintLayout, SidesFillEachSheetLeftToRightAndTopToBottom)
{
    writeSolid(file("front.pdf"), {solidPage(252, 144, "1 0 0")});
    writeSolid(file("back.pdf"), {solidPage(252, 144, "0 0 1")});
    QVariantList cards;
    for (int i = 0; i < 7; ++i)
        cards.append(entry(file("front.pdf"), file("back.pdf")));
    PLPrintView view = commandView();
    ASSERT_TRUE(view.setFiles(cards));
    EXPECT_EQ(view.sideCount(), 14);
    EXPECT_EQ(view.knowsPageRange(), 3); // 6, 6 and 2 sides
    EXPECT_EQ(view.frame(), QRectF(0, 0, 612, 792 * 14));
    EXPECT_EQ(view.rectForPage(3), QRectF(0, 792 * 2, 612, 792));
    EXPECT_TRUE(view.rectForPage(0).isNull());
    EXPECT_TRUE(view.rectForPage(4).isNull());

    // Cells of 306 x 264 on the whole sheet; a 252 x 144 side is centred in its cell.
    const QRectF sheet(0, 0, 612, 792);
    struct Case {
        int side;
        QPointF origin;
    } cases[] = {
        {1, {27, 528 + 60}},           // first card's front: left column, top row
        {2, {306 + 27, 528 + 60}},     // its back on the right
        {5, {27, 60}},                 // third card: bottom row
        {7, {27, 792 + 528 + 60}},     // fourth card: top row of the second sheet
        {14, {306 + 27, 1584 + 528 + 60}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.rectForDraw(c.side, sheet), QRectF(c.origin, QSizeF(252, 144))) << c.side;
    EXPECT_TRUE(view.rectForDraw(15, sheet).isNull());
}

TEST_F(PrintLayout, BacksComeFromTheBackFileOrTheFrontsSecondPage)
{
    writeSolid(file("one.pdf"), {solidPage(252, 144, "1 0 0")});
    writeSolid(file("two.pdf"), {solidPage(252, 144, "1 0 0"), solidPage(252, 144, "0 0 1")});
    struct Case {
        const char* what;
        QVariantList cards;
        int sides;
        bool accepted;
    } cases[] = {
        {"one-page front without back: front only", {entry(file("one.pdf"))}, 1, true},
        {"two-page front without back: page 2 is the back", {entry(file("two.pdf"))}, 2, true},
        {"missing back file: skipped", {entry(file("one.pdf"), file("gone.pdf"))}, 1, true},
        {"missing front, present back", {entry(file("gone.pdf"), file("one.pdf"))}, 1, true},
        {"blank front and back", {entry(QString())}, 0, false},
        {"no entries", {}, 0, false},
        {"an entry that is not a map", {entry(file("one.pdf")), QVariant(QStringLiteral("x"))}, 0, false},
        {"a file that is not a PDF", {entry(file("nothing"))}, 0, false},
    };
    QFile text(file("nothing"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a pdf");
    text.close();
    for (const Case& c : cases) {
        PLPrintView view = commandView();
        EXPECT_EQ(view.setFiles(c.cards), c.accepted) << c.what;
        EXPECT_EQ(view.sideCount(), c.sides) << c.what;
    }
    // A one-page front without a back moves the next card's front into the right-hand cell.
    PLPrintView view = commandView();
    ASSERT_TRUE(view.setFiles({entry(file("one.pdf")), entry(file("one.pdf"), file("one.pdf"))}));
    EXPECT_GT(view.rectForDraw(2, QRectF(0, 0, 612, 792)).x(), 306);
}

TEST_F(PrintLayout, SidesAreFittedIntoTheirCells)
{
    const QRectF cell(100, 200, 300, 150);
    struct Case {
        const char* what;
        QSizeF side;
        bool center;
        bool autoScale;
        QRectF expected;
    } cases[] = {
        {"smaller, centred, natural size", {150, 50}, true, false, {175, 250, 150, 50}},
        {"smaller, top-left corner", {150, 50}, false, false, {100, 300, 150, 50}},
        {"smaller, enlarged by auto scale", {150, 50}, true, true, {100, 225, 300, 100}},
        {"wider than the cell: shape kept", {600, 100}, true, false, {100, 250, 300, 50}},
        {"taller than the cell: shape kept", {100, 300}, false, false, {100, 200, 50, 150}},
        {"zero size: nothing drawn", {0, 0}, true, false, {100, 200, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PLPrintView::adjustRectByPaperSize(cell, c.side, c.center, c.autoScale), c.expected) << c.what;
}

TEST_F(PrintLayout, GridLimitsBandAndTurnedPages)
{
    writeSolid(file("turned.pdf"), {solidPage(252, 144, "1 0 0", 90)});
    PLPrintView view = commandView();
    view.setVCount(8);
    view.setHCount(0);
    ASSERT_TRUE(view.setFiles({entry(file("turned.pdf"))}));
    // The grid stays 2 x 3: cells of 306 x 264, and the turned side is 144 wide and 252 high.
    EXPECT_EQ(view.rectForDraw(1, QRectF(0, 0, 612, 792)), QRectF(81, 528 + 6, 144, 252));
    view.setPrintNum(true);
    // The band takes 25 points at the bottom: cells of 306 x 255.67, the top row from 561.33.
    const QRectF banded = view.rectForDraw(1, QRectF(0, 0, 612, 792));
    EXPECT_NEAR(banded.y(), 25 + 2 * (767.0 / 3) + (767.0 / 3 - 252) / 2, 1e-6);
}

class PrintCommand : public ImagePaneFixture {
protected:
    ScriptedPrintService printService;
    std::unique_ptr<PLAppController> delegate;
    std::unique_ptr<PLMainMenu> menu;

    void SetUp() override
    {
        ImagePaneFixture::SetUp();
        // The application's menu bar over this window, as the program builds it.
        delegate = std::make_unique<PLAppController>(window.get(), openDatabase, PLAppServices{}, Bundle::main());
        menu = std::make_unique<PLMainMenu>(*window, *delegate);
    }
    void TearDown() override
    {
        menu.reset();
        delegate.reset();
        ImagePaneFixture::TearDown();
    }

    QAction* fileItem(const char* name)
    {
        for (QAction* menu : window->window()->menuBar()->actions()) {
            if (!menu->menu())
                continue;
            emit menu->menu()->aboutToShow();
            if (QAction* item = menu->menu()->findChild<QAction*>(QString::fromLatin1(name)))
                return item;
        }
        return nullptr;
    }
    // Whether the colour printed at a point (in points from the sheet's top-left corner) is
    // `expected`, within what the printer's image compression changes.
    static bool printedAt(const QImage& sheet, const QSizeF& paper, QPointF point, QColor expected)
    {
        const QColor c = sheet.pixelColor(int(point.x() * sheet.width() / paper.width()), int(point.y() * sheet.height() / paper.height()));
        return std::abs(c.red() - expected.red()) < 12 && std::abs(c.green() - expected.green()) < 12
            && std::abs(c.blue() - expected.blue()) < 12;
    }
};

TEST_F(PrintCommand, SelectedCardsArePrintedFrontLeftBackRight)
{
    const char* colours[] = {"1 0 0", "0 1 0", "0 0 1", "1 1 0"};
    const QColor printedColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QStringList ids;
    for (int i = 0; i < 4; ++i) {
        const QString id = QStringLiteral("C%1").arg(i);
        writeSolid(imagePath(id + "_f.pdf"), {solidPage(252, 144, colours[i])});
        writeSolid(imagePath(id + "_b.pdf"), {solidPage(252, 144, "0 0 0")});
        addCard(id, {{QStringLiteral("face_Image_File"), id + "_f.pdf"}, {QStringLiteral("back_Image_File"), id + "_b.pdf"}});
        ids.append(id);
    }
    select({});
    QAction* print = fileItem("print");
    ASSERT_TRUE(print);
    EXPECT_FALSE(print->isEnabled());
    EXPECT_EQ(print->shortcut(), QKeySequence(QKeySequence::Print));

    // Page set-up first: US Letter with no margins, kept for the print.
    printService.pageLayoutAnswer = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    fileItem("printPagesSetting")->trigger();
    select(ids);
    printService.outputPdf = temp.filePath(QStringLiteral("printed.pdf"));
    ASSERT_TRUE(fileItem("print")->isEnabled());
    fileItem("print")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(printService.printRuns, 1);

    const auto printed = PdfPageRenderer::openFile(printService.outputPdf);
    ASSERT_TRUE(printed);
    ASSERT_EQ(printed->pageCount(), 2); // 8 sides, 6 to a sheet
    const QSizeF paper(612, 792);
    EXPECT_EQ(printed->pagePointSize(0).toSize(), paper.toSize());
    const QImage first = printed->render(0, QSize(612, 792));
    const QImage second = printed->render(1, QSize(612, 792));
    // Cards print in the card list's order: rows of 264 points from the top, cell centres at
    // x 153 (front) and 459 (back).
    QList<QColor> expected;
    for (const CardDict& card : window->getSeleteRecords())
        expected.append(printedColours[card.value(QStringLiteral("cardID")).toString().mid(1).toInt()]);
    ASSERT_EQ(expected.size(), 4);
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(printedAt(first, paper, {153, 132.0 + 264 * row}, expected[row])) << row;
        EXPECT_TRUE(printedAt(first, paper, {459, 132.0 + 264 * row}, Qt::black)) << row;
        // Outside the centred side the sheet stays white.
        EXPECT_TRUE(printedAt(first, paper, {10, 132.0 + 264 * row}, Qt::white)) << row;
    }
    EXPECT_TRUE(printedAt(second, paper, {153, 132}, expected[3]));
    EXPECT_TRUE(printedAt(second, paper, {153, 400}, Qt::white));
    EXPECT_TRUE(presenter.texts().isEmpty());
}

TEST_F(PrintCommand, ACardWithoutItsFrontFileStillPrintsOnThePaperSetUpAndCancellingPrintsNothing)
{
    addCard(QStringLiteral("P"), {{QStringLiteral("face_Image_File"), QStringLiteral("P_f.pdf")},
                                  {QStringLiteral("family_Name"), QStringLiteral("Placeholder")}});
    select({QStringLiteral("P")});
    fileItem("print")->trigger();
    EXPECT_EQ(printService.printRuns, 1); // the panel was cancelled: no output named
    EXPECT_TRUE(QFileInfo::exists(imagePath(QStringLiteral("P_f.pdf"))));

    printService.pageLayoutAnswer = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(36, 36, 36, 36));
    fileItem("printPagesSetting")->trigger();
    printService.outputPdf = temp.filePath(QStringLiteral("placeholder.pdf"));
    fileItem("print")->trigger();
    const auto printed = PdfPageRenderer::openFile(printService.outputPdf);
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->pageCount(), 1);
    EXPECT_EQ(printed->pagePointSize(0).toSize(), QSize(842, 595));
}

TEST_F(PrintCommand, ScannedCardsPrintAsSharpAsTheyWereScanned)
{
    // Two cards scanned at 300 dpi: 1,075 x 650 pixels on 258 x 156 points.
    QStringList ids;
    for (const char* id : {"S1", "S2"}) {
        testpdf::Document scan = testpdf::scannerDocument(0);
        scan.pages.push_back(testpdf::fullPage(testpdf::jpegImage(testpdf::patternImage(1075, 650)), 258, 156));
        ASSERT_TRUE(testpdf::writePdf(imagePath(QString::fromLatin1(id) + "_f.pdf"), scan));
        addCard(QString::fromLatin1(id), {{QStringLiteral("face_Image_File"), QString::fromLatin1(id) + "_f.pdf"}});
        ids.append(QString::fromLatin1(id));
    }
    select(ids);
    printService.outputPdf = temp.filePath(QStringLiteral("scans.pdf"));
    fileItem("print")->trigger();
    ASSERT_EQ(printService.printRuns, 1);

    // Every card is in the printed file as a picture of at least 300 pixels an inch of its width.
    const auto printed = PdfDocument::open(printService.outputPdf);
    ASSERT_TRUE(printed);
    std::vector<long long> widths;
    for (const PdfPage& page : printed->pages()) {
        for (const auto& [name, object] : page.attribute("/Resources").key("/XObject").entries()) {
            const PdfObject image = object.streamDictionary();
            if (image.key("/Subtype").isName("/Image"))
                widths.push_back(image.key("/Width").intValue());
        }
    }
    ASSERT_EQ(widths.size(), 2u);
    for (const long long width : widths)
        EXPECT_GE(width, 258 * 300 / 72) << "pixels across a card of 258 points";
}

} // namespace
