// Writes a PNG of the main window opened on a generated database of a few cards, the second
// card selected. For a person to look at: main_window_snapshot OUT.png
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/core/RectString.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/support/cards/SyntheticCard.h"
#include "tests/support/pdf/TestPdf.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    PreferenceDomain::setStandardDomain(QStringLiteral("com.orvane.zor.Pelmora"), dir.filePath(QStringLiteral("prefs")));
    Bundle::setMain(QStringLiteral(PELMORA_RESOURCES));
    const QString folder = dir.filePath(QStringLiteral("Pelmora DB.cxdb"));
    QDir().mkpath(folder + QStringLiteral("/Images"));

    OpenDatabase database;
    database.choose(folder);
    PLMainWindowController window(database);
    window.setTerminate([] {});
    window.showActiveWindow();
    ManagedObjectContext* context = window.managedObjectContext();
    if (!context)
        return 1;
    const ManagedObjectList inbox = context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
    if (inbox.isEmpty())
        return 1;
    const struct {
        const char* name;
        const char* company;
        const char* phone;
        const char* mail;
    } people[] = {
        {"Ada Lindqvist", "Northwind Survey", "+46 8 555 0101", "ada@northwind.example"},
        {"Bruno Keller", "Keller & Sohn", "+49 30 555 0199", "bruno@keller.example"},
        {"Chiara Russo", "Studio Russo", "+39 06 555 0123", "chiara@russo.example"},
        {"Daniel Okafor", "Okafor Logistics", "+234 1 555 0142", "daniel@okafor.example"},
        {"Emi Sato", "Sato Design", "+81 3 5555 0167", "emi@sato.example"},
    };
    int minutes = 0;
    for (const auto& person : people) {
        const QString cardID = QStringLiteral("CARD-%1").arg(++minutes);
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), cardID);
        card->setValue(QStringLiteral("full_Name"), QString::fromUtf8(person.name));
        card->setValue(QStringLiteral("company"), QString::fromUtf8(person.company));
        card->setValue(QStringLiteral("telephone_Number"), QString::fromUtf8(person.phone));
        card->setValue(QStringLiteral("e_Mail"), QString::fromUtf8(person.mail));
        card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc().addSecs(-60 * minutes));
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), cardID);
        assignCardFolder(*card, *belong, inbox.first()->stringValue(QStringLiteral("folder_ID")));
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        if (cardID == QLatin1String("CARD-2")) {
            // A scanned front with the boxes of its name and e-mail lines.
            const QImage front = englishCard(0);
            testpdf::Document document = testpdf::scannerDocument(0);
            document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(front.convertToFormat(QImage::Format_RGB888)), 258, 156));
            if (!testpdf::writePdf(folder + QStringLiteral("/Images/CARD-2_N1.pdf"), document))
                return 1;
            const QList<QRectF> lines = textLineBoxes(front);
            card->setValue(QStringLiteral("face_Image_File"), QStringLiteral("CARD-2_N1.pdf"));
            card->setValue(QStringLiteral("full_Name_XY"), ConvertRectToString(lines.value(1)));
            card->setValue(QStringLiteral("e_Mail_XY"), ConvertRectToString(lines.last()));
        }
    }
    window.saveAction();
    window.selectCards({QStringLiteral("CARD-2")});
    QApplication::processEvents();
    // The e-mail field's box, as when the e-mail row gains the focus.
    window.imageController()->setCardData(window.getSeleteRecords(), 27);
    QApplication::processEvents();
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!window.window()->grab().save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
