// Cards imported as a scanner hands them over, recognised by the real Quillant child.
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/SeparationLibrary.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/cards/SyntheticCard.h"
#include "tests/support/pdf/TestPdf.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString digitsOf(const QString& text) { return QString(text).remove(QRegularExpression(QStringLiteral("[^0-9]"))); }

TEST(ImportRecognition, ScannedCardsGetTheirFieldsAndComeOutUpright)
{
    QTemporaryDir temp;
    TestBundle bundle;
    ScriptedMessagePresenter presenter;
    PreferenceDomain::setStandardDomain(QStringLiteral("test.import.ocr"), temp.filePath(QStringLiteral("prefs")));
    const QString stage = QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR"));
    SeparationLibrary::setApplicationFolder(stage);
    setOcrApplicationFolder(stage);
    setOcrConnector(nullptr);
    setOcrTimeouts(30000, 5000, 60000);

    const QString database = temp.filePath(QStringLiteral("Cards.cxdb"));
    QDir().mkpath(database + QStringLiteral("/Images"));
    OpenDatabase openDatabase;
    openDatabase.choose(database);
    auto window = std::make_unique<PLMainWindowController>(openDatabase);
    auto app = std::make_unique<PLAppController>(window.get(), openDatabase, makeApplicationServices(), Bundle::main());
    window->setAppController(app.get());
    window->initDB();
    ASSERT_NE(window->managedObjectContext(), nullptr);

    // 1,075 x 650 pixels at 300 dpi; the second card lies turned by a quarter clockwise.
    auto writeCard = [&](const QString& name, const QImage& image, double widthPt, double heightPt) {
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(
            testpdf::fullPage(testpdf::jpegImage(image.convertToFormat(QImage::Format_RGB888)), widthPt, heightPt));
        const QString path = temp.filePath(name);
        EXPECT_TRUE(testpdf::writePdf(path, document));
        return path;
    };
    const QStringList paths{writeCard(QStringLiteral("upright.pdf"), englishCard(0), 258, 156),
                            writeCard(QStringLiteral("turned.pdf"), turnedClockwise(englishCard(6)), 156, 258)};
    QStringList imported;
    EXPECT_EQ(window->scanData(paths, kInputTypeScanner, &imported), 0);
    EXPECT_EQ(imported, paths);

    const ManagedObjectList cards = window->managedObjectContext()->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCard), {}, {}});
    ASSERT_EQ(cards.size(), 2);
    const struct {
        QString email, phone, family;
    } expected[] = {{QStringLiteral("anna.lopez@acme-widgets.com"), QStringLiteral("12175550134"), QStringLiteral("Lopez")},
                    {QStringLiteral("brian.miller@acme-widgets.com"), QStringLiteral("12175550140"), QStringLiteral("Miller")}};
    for (const auto& e : expected) {
        const auto it = std::find_if(cards.begin(), cards.end(), [&](const ManagedObjectPtr& c) {
            return c->stringValue(QStringLiteral("e_Mail")) == e.email;
        });
        ASSERT_NE(it, cards.end()) << e.email.toStdString();
        const ManagedObject& card = **it;
        EXPECT_EQ(digitsOf(card.stringValue(QStringLiteral("telephone_Number"))), e.phone);
        EXPECT_EQ(card.stringValue(QStringLiteral("family_Name")), e.family);
        EXPECT_TRUE(card.stringValue(QStringLiteral("company")).contains(QStringLiteral("Acme")));
        EXPECT_FALSE(card.stringValue(QStringLiteral("syncID")).isEmpty()); // a card with a name
        // Both pages now show their card upright: the turned one carries a page turn of 270 degrees.
        CardBitmap front, back;
        ASSERT_EQ(AcquireCardImages(database + QStringLiteral("/Images/") + card.stringValue(QStringLiteral("face_Image_File")),
                                    QString(), &front, &back),
                  0);
        EXPECT_EQ(front.info.rotation, e.family == QStringLiteral("Miller") ? 270 : 0);
    }
    EXPECT_FALSE(window->managedObjectContext()->hasChanges()) << "the import saves the recognised fields";
    window.reset();
    QuitOCRApplication();
}

} // namespace
