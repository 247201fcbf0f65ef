// The image pane as a user meets it in the main window: selecting cards shows their front
// fitted to the pane, with the tool bits the toolbar reads; zoom, flipping, the field boxes,
// the placeholder for a missing front, and cards whose image files are broken.
#include "app/ui/PLExportItemController.h"
#include "app/ui/logic/ToolbarValidation.h"
#include "app/ui/views/PLSplitView.h"
#include "tests/app/ui/ImagePaneFixture.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

using namespace ToolbarValidation;
using ImagePane = ImagePaneFixture;

} // namespace

TEST_F(ImagePane, SelectedFrontIsFittedToThePane)
{
    writeScanner(QStringLiteral("A_N1.pdf"), 1);
    addCard(QStringLiteral("A"), {{QStringLiteral("face_Image_File"), QStringLiteral("A_N1.pdf")}});
    select({QStringLiteral("A")});

    ASSERT_TRUE(face()->hasImage());
    EXPECT_EQ(face()->image().size(), QSize(120, 60));
    EXPECT_EQ(face()->currentRate(), 5);
    // At the fit step the image meets the pane on one side and lies inside on the other.
    const QSize port = face()->scrollView()->viewport()->size();
    const QSizeF shown = face()->imageSize() * face()->zoomFactor();
    EXPECT_NEAR(std::max(shown.width() / port.width(), shown.height() / port.height()), 1.0, 0.01);
    EXPECT_EQ(face()->scrollView()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // The painted pane shows the pattern: dark on the image's left half, light on its right.
    const QImage painted = face()->grab().toImage();
    const QPointF left = face()->widgetPointForImagePoint({30, 30});
    const QPointF right = face()->widgetPointForImagePoint({90, 30});
    EXPECT_LT(qGray(painted.pixel(left.toPoint())), 60);
    EXPECT_GT(qGray(painted.pixel(right.toPoint())), 200);
}

TEST_F(ImagePane, ToolBitsFollowTheShownCard)
{
    writeScanner(QStringLiteral("F_N1.pdf"), 1);
    writeScanner(QStringLiteral("T_N1.pdf"), 2);
    writeScanner(QStringLiteral("S_N1.pdf"), 1);
    writeScanner(QStringLiteral("S_N2.pdf"), 1);
    addCard(QStringLiteral("F"), {{QStringLiteral("face_Image_File"), QStringLiteral("F_N1.pdf")}});
    addCard(QStringLiteral("T"), {{QStringLiteral("face_Image_File"), QStringLiteral("T_N1.pdf")}});
    addCard(QStringLiteral("S"), {{QStringLiteral("face_Image_File"), QStringLiteral("S_N1.pdf")},
                                  {QStringLiteral("back_Image_File"), QStringLiteral("S_N2.pdf")}});
    addCard(QStringLiteral("M"), {{QStringLiteral("e_Mail"), QStringLiteral("m@example.com")}});
    const struct {
        const char* card;
        int state;
    } cases[] = {
        {"F", 271 | kSomeMail},  // front only
        {"T", 287 | kSomeMail},  // a two-page front: page 2 is the back
        {"S", 287 | kSomeMail},  // front and back files
        {"M", 258 | kSomeMail},  // front missing: the placeholder, drawn as a PDF
    };
    for (const auto& c : cases) {
        select({QString::fromLatin1(c.card)});
        EXPECT_EQ(pane->getToolBarState(), c.state) << c.card;
    }
    EXPECT_TRUE(QFile::exists(imagePath(QStringLiteral("M_N1.pdf"))));
    EXPECT_TRUE(face()->showsPdf());
    EXPECT_TRUE(window->exportItemController()->controlEnabled());
    EXPECT_TRUE(presenter.texts().isEmpty());

    // Several cards: recognisable when one has a front file; the mail bit when one has an address.
    select({QStringLiteral("F"), QStringLiteral("T")});
    EXPECT_EQ(pane->getToolBarState(), kRecognizable);
    EXPECT_FALSE(window->exportItemController()->controlEnabled());
    select({QStringLiteral("F"), QStringLiteral("M")});
    EXPECT_EQ(pane->getToolBarState() & kSomeMail, kSomeMail);

    select({});
    EXPECT_EQ(pane->getToolBarState(), 0);
    EXPECT_FALSE(face()->hasImage());
}

TEST_F(ImagePane, FlipZoomAndModes)
{
    writeScanner(QStringLiteral("T_N1.pdf"), 2);
    addCard(QStringLiteral("T"), {{QStringLiteral("face_Image_File"), QStringLiteral("T_N1.pdf")},
                                  {QStringLiteral("e_Mail_XY"), QStringLiteral("10/5/40/20")}});
    select({QStringLiteral("T")});
    const qint64 shown = face()->image().cacheKey();

    // The same card again loads nothing; mode 5 loads anew; the other modes only revalidate.
    pane->setCardData(window->getSeleteRecords(), PLImageController::kModeSelected);
    EXPECT_EQ(face()->image().cacheKey(), shown);
    for (int mode : {4, 7, 20, 28}) {
        pane->setCardData(window->getSeleteRecords(), mode);
        EXPECT_EQ(face()->image().cacheKey(), shown) << mode;
        EXPECT_FALSE(face()->hasRecognizedBox()) << mode;
    }
    pane->setCardData(window->getSeleteRecords(), PLImageController::kModeReload);
    EXPECT_NE(face()->image().cacheKey(), shown);

    // A field's mode shows its stored box; mode 0 clears it.
    pane->setCardData(window->getSeleteRecords(), 27);
    EXPECT_TRUE(face()->hasRecognizedBox());
    EXPECT_EQ(face()->recognizedBox(), QRectF(10, 5, 40, 20));
    pane->setCardData(window->getSeleteRecords(), PLImageController::kModeClearBoxes);
    EXPECT_FALSE(face()->hasRecognizedBox());

    // Zooming stops at the last step each way and says so in the bits.
    for (int i = 0; i < 6; ++i)
        pane->zoomIn();
    EXPECT_EQ(face()->currentRate(), 9);
    EXPECT_EQ(pane->getToolBarState() & (kZoomedInFully | kZoomedOutFully), kZoomedInFully);
    for (int i = 0; i < 10; ++i)
        pane->zoomOut();
    EXPECT_EQ(face()->currentRate(), 1);
    EXPECT_EQ(pane->getToolBarState() & (kZoomedInFully | kZoomedOutFully), kZoomedOutFully);

    // The flip button shows the back: recognition and the editor are off there.
    QToolButton* flip = window->window()->findChild<QToolButton*>(QStringLiteral("_switchViewButton"));
    ASSERT_NE(flip, nullptr);
    flip->click();
    EXPECT_EQ(pane->getCurrentDisplayPage(), 2);
    EXPECT_TRUE(back()->hasImage());
    EXPECT_EQ(pane->getToolBarState() & kRecognizable, 0);
    EXPECT_FALSE(window->exportItemController()->controlEnabled());
    flip->click();
    EXPECT_EQ(pane->getCurrentDisplayPage(), 1);
    EXPECT_EQ(pane->getToolBarState() & kRecognizable, kRecognizable);
    EXPECT_TRUE(window->exportItemController()->controlEnabled());

    // Removing the back page (mode 6) returns to the front and offers a new back.
    flip->click();
    pane->setCardData(window->getSeleteRecords(), PLImageController::kModeBackRemoved);
    EXPECT_EQ(pane->getCurrentDisplayPage(), 1);
    EXPECT_EQ(pane->getToolBarState() & (kBackSide | kBackAddable), kBackAddable);
    EXPECT_FALSE(back()->hasImage());
}

TEST_F(ImagePane, BrokenImageFilesAndRectanglesShowNothingOrThePlaceholder)
{
    QByteArray encrypted;
    {
        testpdf::Document document = testpdf::scannerDocument(1);
        document.userPassword = "secret";
        encrypted = testpdf::buildPdf(document);
    }
    testpdf::Document zeroPage = testpdf::scannerDocument(1);
    zeroPage.pages[0].width = 0;
    zeroPage.pages[0].height = 0;
    const struct {
        const char* card;
        QByteArray bytes;
        int state; // what the pane offers
    } files[] = {
        {"Empty", QByteArray(), 0},
        {"Text", QByteArray("not a PDF at all\n"), 0},
        {"Locked", encrypted, 0},
        // Its image cannot be placed on a page of no size: the page is drawn whole, as nothing.
        {"Zero", testpdf::buildPdf(zeroPage), kImageShown},
    };
    for (const auto& f : files) {
        const QString name = QString::fromLatin1(f.card) + QStringLiteral("_N1.pdf");
        ASSERT_TRUE(testpdf::writeBytes(imagePath(name), f.bytes));
        addCard(QString::fromLatin1(f.card), {{QStringLiteral("face_Image_File"), name}, {QStringLiteral("full_Name_XY"), QStringLiteral("x/y")}});
    }
    writeScanner(QStringLiteral("R_N1.pdf"), 1);
    addCard(QStringLiteral("R"), {{QStringLiteral("face_Image_File"), QStringLiteral("R_N1.pdf")},
                                  {QStringLiteral("full_Name_XY"), QStringLiteral("1/2/3")},
                                  {QStringLiteral("company_XY"), QStringLiteral("100/50/500/20")}});
    for (const auto& f : files) {
        select({QString::fromLatin1(f.card)});
        pane->setCardData(window->getSeleteRecords(), 21);
        face()->grab();
        EXPECT_FALSE(face()->hasRecognizedBox()) << f.card;
        EXPECT_EQ(pane->getToolBarState() & (kRecognizable | kImageShown), f.state) << f.card;
        EXPECT_TRUE(std::isfinite(face()->zoomFactor()) && face()->zoomFactor() > 0) << f.card;
    }
    // A malformed rectangle, or one reaching past the image, is not drawn.
    select({QStringLiteral("R")});
    for (int tag : {21, 30}) {
        pane->setCardData(window->getSeleteRecords(), tag);
        EXPECT_FALSE(face()->hasRecognizedBox()) << tag;
    }
    EXPECT_TRUE(presenter.texts().isEmpty());
}

TEST_F(ImagePane, PlaceholderThatCannotBeWrittenIsToldOncePerCard)
{
    QFile::remove(bundle.dir.filePath(QStringLiteral("Original.pdf")));
    Bundle::setMain(bundle.dir.path());
    addCard(QStringLiteral("A"), {});
    addCard(QStringLiteral("B"), {});
    select({QStringLiteral("A")});
    select({QStringLiteral("B")});
    select({QStringLiteral("A")});
    select({QStringLiteral("B")});
    EXPECT_EQ(presenter.texts().size(), 2);
    EXPECT_FALSE(face()->hasImage());
    EXPECT_FALSE(window->exportItemController()->controlEnabled());
}

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, const QPointF& at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void dragOn(QWidget* widget, const QPointF& from, const QPointF& to)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void expectNear(const QRectF& actual, const QRectF& expected, const char* what)
{
    EXPECT_NEAR(actual.x(), expected.x(), 1) << what;
    EXPECT_NEAR(actual.y(), expected.y(), 1) << what;
    EXPECT_NEAR(actual.width(), expected.width(), 1) << what;
    EXPECT_NEAR(actual.height(), expected.height(), 1) << what;
}

} // namespace

TEST_F(ImagePane, MouseDrawsTheUserBoxInImagePixels)
{
    writeScanner(QStringLiteral("A_N1.pdf"), 1);
    addCard(QStringLiteral("A"), {{QStringLiteral("face_Image_File"), QStringLiteral("A_N1.pdf")}});
    select({QStringLiteral("A")});
    PLImageView* view = face();
    EXPECT_EQ(view->scrollView()->viewport()->cursor().shape(), Qt::CrossCursor);

    dragOn(view, view->widgetPointForImagePoint({20, 40}), view->widgetPointForImagePoint({60, 10}));
    ASSERT_TRUE(view->getRedBoxState());
    expectNear(view->getRedBoxRect(), {20, 10, 40, 30}, "inside");
    // While a box is drawn the whole-card recognition is not offered.
    EXPECT_EQ(pane->getToolBarState() & kRecognizable, 0);

    // Past the image's right edge the box stops at the edge.
    dragOn(view, view->widgetPointForImagePoint({100, 30}), view->widgetPointForImagePoint({400, 20}) + QPointF(0, 0));
    expectNear(view->getRedBoxRect(), {100, 20, 20, 10}, "clamped");

    // A press outside the image starts nothing: the next drag leaves the box as it was.
    const QPointF beside = view->widgetPointForImagePoint({-10, 30});
    ASSERT_GE(beside.x(), 0);
    const QRectF before = view->getRedBoxRect();
    dragOn(view, beside, view->widgetPointForImagePoint({10, 10}));
    EXPECT_EQ(view->getRedBoxRect(), before);

    // Move mode: the open hand only while a scroller is shown.
    pane->moveImageOrDrawBox(0);
    EXPECT_EQ(view->scrollView()->viewport()->cursor().shape(), Qt::ArrowCursor);
    for (int i = 0; i < 4; ++i)
        pane->zoomIn();
    EXPECT_EQ(view->scrollView()->viewport()->cursor().shape(), Qt::OpenHandCursor);
    // The pane is wide and low: the card, zoomed in, scrolls up and down.
    QScrollBar* bar = view->scrollView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    dragOn(view, QPointF(200, 80), QPointF(200, 50));
    EXPECT_EQ(bar->value(), 30);
}

TEST_F(ImagePane, RecognisedBoxIsDrawnWhereTheStoredRectangleSays)
{
    // A white card of 200 x 100 pixels; the e-mail box from the bottom-left corner.
    QImage white(200, 100, QImage::Format_RGB888);
    white.fill(Qt::white);
    testpdf::Document document = testpdf::scannerDocument(0);
    document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(white)));
    ASSERT_TRUE(testpdf::writePdf(imagePath(QStringLiteral("W_N1.pdf")), document));
    addCard(QStringLiteral("W"), {{QStringLiteral("face_Image_File"), QStringLiteral("W_N1.pdf")},
                                  {QStringLiteral("e_Mail_XY"), QStringLiteral("20/10/100/30")}});
    select({QStringLiteral("W")});
    // A low image pane, 100 points, as the pixel positions below were worked out for.
    QSplitter* split = window->ui()._vSplitView;
    split->setSizes({100, split->height() - 100 - 1});
    QApplication::processEvents();
    for (int zoomSteps : {0, 2}) {
        for (int i = 0; i < zoomSteps; ++i)
            pane->zoomIn();
        pane->setCardData(window->getSeleteRecords(), 27);
        PLImageView* view = face();
        const QImage painted = view->grab().toImage();
        const double f = view->zoomFactor();
        // The bottom-left corner of the box lies 20 pixels right of and 10 up from the image's.
        const QPointF corner = view->widgetPointForImagePoint({0, 0}) + QPointF(20 * f, -10 * f);
        // The box's lower edge: the bluest pixel within two rows of where it should lie. A line
        // that the zoom puts between two rows is drawn half in each: their blue adds up.
        QColor edge(Qt::white);
        int covered = 0;
        int coveredAbove = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor pixel = painted.pixelColor(int(corner.x() + 50 * f), int(corner.y()) + dy);
            if (pixel.red() < edge.red())
                edge = pixel;
            covered = std::max(covered, coveredAbove + 255 - pixel.red());
            coveredAbove = 255 - pixel.red();
        }
        EXPECT_GT(edge.blue(), 200) << zoomSteps;
        EXPECT_GT(covered, 155) << zoomSteps;
        const QColor inside = painted.pixelColor((corner + QPointF(50 * f, -15 * f)).toPoint());
        EXPECT_EQ(inside, QColor(Qt::white)) << zoomSteps;
    }
}
