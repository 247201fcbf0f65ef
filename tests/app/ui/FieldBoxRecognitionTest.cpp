// One field recognised from a box the user draws on the card image, by the real OCR stand-in:
// the box goes round the e-mail line of an English card, the e-mail row's button is clicked,
// and the card's e-mail is what the card shows.
#include "app/core/LocalString.h"
#include "app/core/PLAppController.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/SeparationLibrary.h"
#include "app/ui/PLMainMenu.h"
#include "tests/app/images/FakeOcrServer.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/cards/SyntheticCard.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, const QPointF& at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// The real OCR stand-in of the staged build, and card "E" of an English card image (1,075 x 650
// pixels at 300 dpi) selected, its stored e-mail "old@example.com".
class CardRecognition : public ImagePaneFixture {
protected:
    QImage selectEnglishCard(const QImage& card = englishCard(0))
    {
        const QString stage = QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR"));
        SeparationLibrary::setApplicationFolder(stage);
        setOcrApplicationFolder(stage);
        setOcrConnector(nullptr);
        setOcrTimeouts(300000, 300000, 300000); // the OCR program under load: only a guard against a hang
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(card.convertToFormat(QImage::Format_RGB888)), 258, 156));
        EXPECT_TRUE(testpdf::writePdf(imagePath(QStringLiteral("E_N1.pdf")), document));
        addCard(QStringLiteral("E"), {{QStringLiteral("face_Image_File"), QStringLiteral("E_N1.pdf")},
                                      {QStringLiteral("e_Mail"), QStringLiteral("old@example.com")}});
        select({QStringLiteral("E")});
        return card;
    }
    void TearDown() override
    {
        setOcrConnector(nullptr);
        ImagePaneFixture::TearDown();
    }
    // Draws a box round the card's last text line (its e-mail) and clicks the e-mail row's button.
    void recogniseMailBox(const QImage& card)
    {
        PLImageView* view = pane->faceImageView();
        const QRectF box = textLineBoxes(card).last();
        sendMouse(view, QEvent::MouseButtonPress, view->widgetPointForImagePoint(box.topLeft()), Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, view->widgetPointForImagePoint(box.bottomRight()), Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, view->widgetPointForImagePoint(box.bottomRight()), Qt::NoButton);
        ASSERT_TRUE(view->getRedBoxState());
        window->window()->findChild<QPushButton*>(QStringLiteral("_mailButton"))->click();
    }
    // The messages read as the application's own table has them.
    static void useShippedTexts() { Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora")); }
};

} // namespace

TEST_F(CardRecognition, BoxDrawnRoundTheMailLineIsRecognisedIntoTheMailField)
{
    const QImage card = selectEnglishCard();

    PLImageView* view = pane->faceImageView();
    const QRectF box = textLineBoxes(card).last();
    const QPointF from = view->widgetPointForImagePoint(box.topLeft());
    const QPointF to = view->widgetPointForImagePoint(box.bottomRight());
    sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
    ASSERT_TRUE(view->getRedBoxState());

    window->window()->findChild<QPushButton*>(QStringLiteral("_mailButton"))->click();

    const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
    const ManagedObjectList cards = reader->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), QStringLiteral("E")), {}});
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards.first()->stringValue(QStringLiteral("e_Mail")), QStringLiteral("anna.lopez@acme-widgets.com"));
    EXPECT_FALSE(cards.first()->stringValue(QStringLiteral("e_Mail_XY")).isEmpty());
    // The editor shows the recognised value.
    EXPECT_EQ(window->window()->findChild<QLineEdit*>(QStringLiteral("_mailText"))->text(), QStringLiteral("anna.lopez@acme-widgets.com"));
    EXPECT_TRUE(presenter.texts().isEmpty());
}

// Boxes drawn loosely, as a hand draws them, and as wide as the card: round the e-mail line with
// its printed label and a sliver of the line above, round the telephone line with a sliver of the
// line below. Each field stores only the part of the box's text that has its shape.
TEST_F(CardRecognition, ALooseBoxStoresOnlyTheValueOfItsField)
{
    const QImage card = selectEnglishCard(drawCard({{u"Acme Widgets Inc."_qs, 40},
                                                    {u"Anna Lopez"_qs, 64},
                                                    {u"Tel: +1 217 555 0134"_qs, 32},
                                                    {u"E-MAIL anna.lopez@acme-widgets.com"_qs, 32}},
                                                   u"DejaVu Sans"_qs));
    PLImageView* view = pane->faceImageView();
    // Line boxes from the card's bottom: the box's y is its lower edge.
    const QList<QRectF> lines = textLineBoxes(card, 0);
    ASSERT_EQ(lines.size(), 4);
    const QRectF tel = lines.at(2), mail = lines.at(3);
    const auto drawBox = [&](const QRectF& box) {
        sendMouse(view, QEvent::MouseButtonPress, view->widgetPointForImagePoint(box.topLeft()), Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, view->widgetPointForImagePoint(box.bottomRight()), Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, view->widgetPointForImagePoint(box.bottomRight()), Qt::NoButton);
        ASSERT_TRUE(view->getRedBoxState());
    };
    const QRectF telSliver(tel.x(), tel.y(), tel.width(), tel.height() * 0.35);
    drawBox(mail.adjusted(8, -12, -8, 0).united(telSliver));
    window->window()->findChild<QPushButton*>(QStringLiteral("_mailButton"))->click();
    const QRectF mailSliver(mail.x(), mail.bottom() - mail.height() * 0.3, mail.width(), mail.height() * 0.3);
    drawBox(tel.adjusted(8, 0, -8, 12).united(mailSliver));
    window->window()->findChild<QPushButton*>(QStringLiteral("_telButton"))->click();

    EXPECT_EQ(window->window()->findChild<QLineEdit*>(QStringLiteral("_mailText"))->text(), QStringLiteral("anna.lopez@acme-widgets.com"));
    EXPECT_EQ(window->window()->findChild<QLineEdit*>(QStringLiteral("_telText"))->text(), QStringLiteral("+1 217 555 0134"));
    const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
    const ManagedObjectList cards = reader->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), QStringLiteral("E")), {}});
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards.first()->stringValue(QStringLiteral("e_Mail")), QStringLiteral("anna.lopez@acme-widgets.com"));
    EXPECT_EQ(cards.first()->stringValue(QStringLiteral("telephone_Number")), QStringLiteral("+1 217 555 0134"));
    EXPECT_TRUE(presenter.texts().isEmpty());
}

// A box drawn when the field cannot be read: no OCR program answers, so the error is shown after
// the processing sheet; with the database folder gone nothing is tried and message 48 is shown.
TEST_F(CardRecognition, AFieldBoxThatCannotBeReadSaysWhyAndAnUnusableDatabaseIsNotTried)
{
    const QImage card = selectEnglishCard();
    setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));

    recogniseMailBox(card);
    ASSERT_EQ(presenter.texts().size(), 1);
    EXPECT_NE(presenter.texts().first(), QStringLiteral("E48"));
    EXPECT_NE(presenter.texts().first(), QStringLiteral("E0"));
    // The processing sheet said what runs (it goes once the event loop turns).
    auto* sheet = window->window()->findChild<QDialog*>(QStringLiteral("_wndProcessing"));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->findChild<QLabel*>(QStringLiteral("_processingText"))->text(), QStringLiteral("IDS_INDICATOR_OCR"));
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(window->window()->findChild<QLineEdit*>(QStringLiteral("_mailText"))->text(), QStringLiteral("old@example.com"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    presenter.clear();
    const QString moved = database + QStringLiteral(".away");
    ASSERT_TRUE(QDir().rename(database, moved));
    recogniseMailBox(card);
    QDir().rename(moved, database);
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E48")});
    EXPECT_EQ(window->window()->findChild<QDialog*>(QStringLiteral("_wndProcessing")), nullptr) << "nothing was tried";
}

// The recognise bar on a whole card: asked first, then every field read again by the real OCR
// stand-in and stored; declining changes nothing.
TEST_F(CardRecognition, RecogniseBarReadsTheSelectedCardAgainAfterAsking)
{
    selectEnglishCard();
    auto* bar = window->window()->findChild<QToolButton*>(QStringLiteral("_recognizeBarButton"));
    ASSERT_TRUE(bar);
    const auto storedMail = [this] {
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
        return reader->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), QStringLiteral("E")), {}})
            .value(0)
            ->stringValue(QStringLiteral("e_Mail"));
    };

    presenter.queueAnswer(kAlertSecondButtonReturn);
    bar->click();
    EXPECT_EQ(storedMail(), QStringLiteral("old@example.com"));

    presenter.queueAnswer(kAlertFirstButtonReturn);
    bar->click();
    EXPECT_EQ(storedMail(), QStringLiteral("anna.lopez@acme-widgets.com"));
    EXPECT_EQ(presenter.shown().size(), 2); // the two questions, no error
}

// The OCR program gone from the application folder: Card > Recognise and a field box each say in
// a sentence that the character recognition program could not be reached.
TEST_F(CardRecognition, WithoutTheOcrProgramTheMenuAndAFieldBoxSayWhatIsWrong)
{
    const QImage card = selectEnglishCard();
    setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));
    useShippedTexts();
    PLAppController delegate(window.get(), openDatabase, PLAppServices{}, Bundle::main());
    PLMainMenu menu(*window, delegate);
    QAction* recognise = nullptr;
    for (QAction* top : window->window()->menuBar()->actions()) {
        for (QAction* item : top->menu() ? top->menu()->actions() : QList<QAction*>()) {
            if (item->objectName() == QLatin1String("recognize")) {
                emit top->menu()->aboutToShow();
                recognise = item;
            }
        }
    }
    ASSERT_TRUE(recognise);
    ASSERT_TRUE(recognise->isEnabled());

    presenter.queueAnswer(kAlertFirstButtonReturn);
    recognise->trigger();
    ASSERT_EQ(presenter.texts().size(), 2); // the question, then what went wrong
    const QString shown = presenter.texts().last();
    EXPECT_TRUE(shown.contains(u"character recognition program"_qs)) << shown.toStdString();

    presenter.clear();
    recogniseMailBox(card);
    EXPECT_EQ(presenter.texts(), QStringList{shown});
    EXPECT_EQ(window->window()->findChild<QLineEdit*>(QStringLiteral("_mailText"))->text(), QStringLiteral("old@example.com"));
    Bundle::setMain(bundle.dir.path());
}

// A field box the OCR program cannot read for want of the language's recognition data names the
// package to install, as the whole-card command does.
TEST_F(CardRecognition, AFieldBoxWithoutTheLanguageDataNamesThePackage)
{
    const QImage card = selectEnglishCard();
    auto script = std::make_shared<FakeOcrScript>();
    script->runs = {FakeRunReply{1008}};
    setOcrConnector([script] { return std::make_unique<FakeOcrConnection>(script); });
    useShippedTexts();

    recogniseMailBox(card);
    ASSERT_EQ(presenter.texts().size(), 1);
    EXPECT_TRUE(presenter.texts().first().contains(u"tesseract-ocr-eng"_qs)) << presenter.texts().first().toStdString();
    Bundle::setMain(bundle.dir.path());
}

// The recognise bar's pop-up offers every language of the table and Automatic, and the card is
// read in the one chosen: a French card keeps its accents when French is chosen, and reads without
// them in English.
TEST_F(CardRecognition, RecogniseBarOffersEveryLanguageAndReadsInTheOneChosen)
{
    QImage card(1075, 650, QImage::Format_RGB32);
    card.fill(Qt::white);
    QPainter painter(&card);
    const struct {
        int size, y;
        const char16_t* text;
    } lines[] = {{34, 90, u"Société Générale d'Études"}, {50, 200, u"Hélène Lefèvre"}, {26, 250, u"Directrice financière"},
                 {26, 400, u"12, rue de la Paix"},         {26, 440, u"75002 Paris"},     {26, 520, u"Tél. +33 1 42 68 53 00"},
                 {26, 560, u"helene.lefevre@etudes.fr"}};
    for (const auto& l : lines) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(l.size);
        painter.setFont(font);
        painter.drawText(80, l.y, QString::fromUtf16(l.text));
    }
    painter.end();
    selectEnglishCard();
    testpdf::Document document = testpdf::scannerDocument(0);
    document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(card.convertToFormat(QImage::Format_RGB888)), 258, 156));
    ASSERT_TRUE(testpdf::writePdf(imagePath(QStringLiteral("E_N1.pdf")), document));

    auto* popUp = window->window()->findChild<QToolButton*>(QStringLiteral("_recognizeBarPopUpButton"));
    auto* bar = window->window()->findChild<QToolButton*>(QStringLiteral("_recognizeBarButton"));
    ASSERT_TRUE(popUp && bar);
    QStringList offered;
    QAction* french = nullptr;
    QAction* english = nullptr;
    for (QAction* action : popUp->menu()->actions()) {
        offered << action->text();
        if (action->text() == getLocalString(QStringLiteral("IDS_RECOGNIZE_LANGUAGE_FRENCH")))
            french = action;
        if (action->text() == getLocalString(QStringLiteral("IDS_RECOGNIZE_LANGUAGE_ENGLISH")))
            english = action;
    }
    QStringList table;
    for (const char* key : {"AUTO", "ENGLISH", "FRENCH", "GERMAN", "ITALIAN", "SPANISH", "RUSSIAN", "PORTUGUESE", "JAPANESE",
                            "CHINESE_SIMPLIFIED", "CHINESE_TRADITIONAL", "KOREAN"})
        table << getLocalString(QStringLiteral("IDS_RECOGNIZE_LANGUAGE_") + QString::fromLatin1(key));
    EXPECT_EQ(offered, table);
    ASSERT_TRUE(french && english);

    const auto storedName = [this] {
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
        return reader->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), QStringLiteral("E")), {}})
            .value(0)
            ->stringValue(QStringLiteral("full_Name"));
    };
    french->trigger();
    EXPECT_EQ(bar->text(), french->text());
    EXPECT_EQ(window->recognizeButtonState(), 6);
    presenter.queueAnswer(kAlertFirstButtonReturn);
    bar->click();
    EXPECT_EQ(storedName(), QStringLiteral("Hélène Lefèvre"));

    english->trigger();
    presenter.queueAnswer(kAlertFirstButtonReturn);
    bar->click();
    EXPECT_NE(storedName(), QStringLiteral("Hélène Lefèvre")) << "the English model reads it without its accents";
}
