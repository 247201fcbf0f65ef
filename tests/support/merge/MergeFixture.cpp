#include "tests/support/merge/MergeFixture.h"

#include "app/ui/CardFolderPath.h"
#include "platform/store/CardStoreModel.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QTimeZone>

namespace mergefixture {

namespace {

const QDateTime kFirstAccept = QDateTime(QDate(2024, 3, 1), QTime(9, 0), Qt::UTC);
const QStringList kRectKeys = {"full_Name_XY", "company_XY", "job_Title_XY", "department_XY", "zip_PostalCode_XY",
                               "address_XY", "telephone_Number_XY", "fax_Number_XY", "mobile_Number_XY",
                               "e_Mail_XY", "web_Page_Address_XY", "memo_XY"};

QImage cardFace(int number)
{
    QImage image(540, 300, QImage::Format_RGB888);
    image.fill(QColor::fromHsv((number * 47) % 360, 40, 250));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(6, 6, image.width() - 13, image.height() - 13);
    QFont font = painter.font();
    font.setPixelSize(120);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::number(number));
    return image;
}

} // namespace

bool writeCardPdf(const QString& path, int number)
{
    testpdf::Document document = testpdf::scannerDocument(0);
    document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(cardFace(number), 80), 257, 143));
    return testpdf::writePdf(path, document);
}

std::unique_ptr<Database> Database::create(const QString& parent, bool withImagesFolder)
{
    std::unique_ptr<Database> database(new Database);
    database->m_path = QDir(parent).filePath(QStringLiteral("Cards.cxdb"));
    if (!QDir().mkpath(database->m_path) || (withImagesFolder && !QDir().mkpath(database->imagesFolder())))
        return nullptr;
    database->m_context = ManagedObjectContext::open(CardStore::currentModel(), database->storePath());
    if (!database->m_context)
        return nullptr;
    database->addFolder(kRootFolderID, 1, 1, QStringLiteral("All data"), nullptr);
    database->addFolder(kInboxFolderID, 2, 2, QStringLiteral("Inbox"), kRootFolderID);
    database->addFolder(kUserFolderID, 3, 2, QStringLiteral("Clients"), kRootFolderID);
    return database->save() == 0 ? std::move(database) : nullptr;
}

std::unique_ptr<Database> Database::open(const QString& path)
{
    std::unique_ptr<Database> database(new Database);
    database->m_path = path;
    database->m_context = ManagedObjectContext::open(CardStore::currentModel(), database->storePath());
    return database->m_context ? std::move(database) : nullptr;
}

QString Database::storePath() const
{
    return m_path + QStringLiteral("/Pelmora1.sqldb");
}

std::unique_ptr<ManagedObjectContext> Database::reopen() const
{
    return ManagedObjectContext::open(CardStore::currentModel(), storePath());
}

ManagedObjectPtr Database::addFolder(const char* id, int type, int level, const QString& name, const char* parent)
{
    ManagedObjectPtr folder = m_context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
    folder->setValue("folder_ID", QString::fromLatin1(id));
    folder->setValue("folder_Type", type);
    folder->setValue("folder_Level", level);
    folder->setValue("folder_Name", name);
    folder->setValue("folder_Parent", parent ? QString::fromLatin1(parent) : QString());
    return folder;
}

ManagedObjectPtr Database::addCard(int number, const CardOptions& options)
{
    const QString id = cardID(number);
    const QString face = id + QStringLiteral("_N1.pdf");
    if (options.writeFront && !writeCardPdf(QDir(imagesFolder()).filePath(face), number))
        return nullptr;
    ManagedObjectPtr card = m_context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
    card->setValue("cardID", id);
    card->setValue("full_Name", QStringLiteral("Person %1").arg(number));
    card->setValue("face_Image_File", face);
    card->setValue("face_Image_Page", 1);
    card->setValue("back_Image_page", 0);
    card->setValue("deletedFlag", options.deleted ? 1 : 0);
    card->setValue("folder_ID", options.folderID);
    card->setValue("accept_Date", kFirstAccept.addSecs(number));
    card->setValue("full_Name_XY", QStringLiteral("10/20/30/40"));
    if (options.hasBack) {
        const QString back = id + QStringLiteral("_N2.pdf");
        writeCardPdf(QDir(imagesFolder()).filePath(back), number + 1000);
        card->setValue("back_Image_File", back);
        card->setValue("back_Image_page", 1);
    }
    ManagedObjectPtr belong = m_context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
    belong->setValue("cardID", id);
    belong->setValue("folder_ID", options.folderID);
    belong->setRelatedObject("ToCardRelation", card);
    return card;
}

ManagedObjectPtr Database::card(const QString& cardID)
{
    const ManagedObjectList found = m_context->executeFetchRequest(
        FetchRequest{QString::fromLatin1(CardStore::kEntityCard), keyEquals("cardID", cardID), {}});
    return found.size() == 1 ? found.first() : nullptr;
}

ManagedObjectPtr Database::cardBelong(const QString& cardID)
{
    const ManagedObjectList found = m_context->executeFetchRequest(
        FetchRequest{QString::fromLatin1(CardStore::kEntityCardBelong), keyEquals("cardID", cardID), {}});
    return found.size() == 1 ? found.first() : nullptr;
}

int Host::setFolderNameWhenRemoving(const QString& cardID)
{
    return ::setFolderNameWhenRemoving(&m_database.context(), cardID);
}

void Host::updateOneRecord(const ManagedObjectPtr& card)
{
    ++updates;
    m_database.context().refreshObject(card, true);
    saveAction();
}

int Host::cleanRecordRect(const ManagedObjectPtr& card)
{
    if (!card)
        return 3;
    for (const QString& key : kRectKeys)
        card->setValue(key, QString());
    return 0;
}

void Host::saveAction()
{
    ++saves;
    m_database.context().save();
}

void Host::select(const ManagedObjectPtr& card)
{
    selected = {card ? card->dictionary() : CardDict()};
}

} // namespace mergefixture
