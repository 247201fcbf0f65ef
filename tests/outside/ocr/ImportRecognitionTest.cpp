// Cards imported as a scanner hands them over, recognised by the real Quillant child.
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/SeparationLibrary.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/PlistFile.h"
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

class ImportRecognition : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{}, messageTexts()};
    ScriptedMessagePresenter presenter;
    QString database;
    OpenDatabase openDatabase;
    std::unique_ptr<PLMainWindowController> window;
    std::unique_ptr<PLAppController> app;

    // The application's own message texts.
    static PlistValue::Dictionary messageTexts()
    {
        PlistValue strings;
        readPlistFile(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora/en/Localizable.plist"), strings);
        return strings.isDictionary() ? strings.toDictionary() : PlistValue::Dictionary{};
    }

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.import.ocr"), temp.filePath(QStringLiteral("prefs")));
        const QString stage = QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR"));
        SeparationLibrary::setApplicationFolder(stage);
        setOcrApplicationFolder(stage);
        setOcrConnector(nullptr);
        setOcrTimeouts(300000, 300000, 300000); // the OCR program under load: only a guard against a hang
        useDatabase(QStringLiteral("Cards"));
    }
    void useDatabase(const QString& name)
    {
        database = temp.filePath(name + QStringLiteral(".cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        openDatabase.choose(database);
    }
    void TearDown() override
    {
        app.reset();
        window.reset();
        QuitOCRApplication();
    }
    void startWindow()
    {
        window = std::make_unique<PLMainWindowController>(openDatabase);
        app = std::make_unique<PLAppController>(window.get(), openDatabase, makeApplicationServices(), Bundle::main());
        window->setAppController(app.get());
        window->initDB();
        ASSERT_NE(window->managedObjectContext(), nullptr);
    }
    // A scanner's card file of `image` (1,075 x 650 pixels at 300 dpi on 258 x 156 points).
    QString writeCard(const QString& name, const QImage& image, double widthPt = 258, double heightPt = 156)
    {
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(image.convertToFormat(QImage::Format_RGB888)), widthPt, heightPt));
        const QString path = temp.filePath(name);
        EXPECT_TRUE(testpdf::writePdf(path, document));
        return path;
    }
    ManagedObjectList importedCards() const
    {
        return window->managedObjectContext()->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}});
    }
};

TEST_F(ImportRecognition, ScannedCardsGetTheirFieldsAndComeOutUpright)
{
    startWindow();
    // The second card lies turned by a quarter clockwise.
    const QStringList paths{writeCard(QStringLiteral("upright.pdf"), englishCard(0)),
                            writeCard(QStringLiteral("turned.pdf"), turnedClockwise(englishCard(6)), 156, 258)};
    QStringList imported;
    EXPECT_EQ(window->scanData(paths, kInputTypeScanner, &imported), 0);
    EXPECT_EQ(imported, paths);

    const ManagedObjectList cards = importedCards();
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
}

TEST_F(ImportRecognition, WithoutTheJapaneseDataCardsAreReadAndTheMissingPackageNamed)
{
    // Tesseract's data as installed without tesseract-ocr-jpn.
    const QDir installed(QStringLiteral("/usr/share/tesseract-ocr/5/tessdata"));
    const QString tessdata = temp.filePath(QStringLiteral("tessdata"));
    QDir().mkpath(tessdata);
    for (const char* model : {"eng", "osd"})
        ASSERT_TRUE(QFile::link(installed.filePath(QString::fromLatin1(model) + ".traineddata"), tessdata + "/" + model + ".traineddata"));
    QuitOCRApplication();
    qputenv("TESSDATA_PREFIX", QFile::encodeName(tessdata));

    const QStringList paths{writeCard(QStringLiteral("english.pdf"), englishCard(0)),
                            writeCard(QStringLiteral("japanese.pdf"), japaneseCard())};
    const struct {
        const char* name;
        int languageBit; // the preference "recognize language"
    } cases[] = {{"Automatic", 0x800}, {"Japanese", 0x1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PreferenceDomain::standard().setValue(QStringLiteral("recognize language"), c.languageBit);
        useDatabase(QString::fromLatin1(c.name));
        startWindow();
        presenter.clear();
        EXPECT_EQ(window->scanData(paths, kInputTypeScanner, nullptr), 95);
        ASSERT_EQ(presenter.texts().size(), 1);
        EXPECT_TRUE(presenter.texts()[0].contains(QStringLiteral("the package tesseract-ocr-jpn"))) << presenter.texts()[0].toStdString();
        QStringList mails;
        for (const ManagedObjectPtr& card : importedCards())
            mails.append(card->stringValue(QStringLiteral("e_Mail")));
        mails.sort();
        // Both cards are read as far as English goes.
        EXPECT_EQ(mails, (QStringList{QStringLiteral("anna.lopez@acme-widgets.com"), QStringLiteral("taro.yamada@yamada-shoji.co.jp")}));
        app.reset();
        window.reset();
    }
    QuitOCRApplication();
    qunsetenv("TESSDATA_PREFIX");
}

} // namespace
