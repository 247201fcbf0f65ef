#include "tests/support/cardstores/CardStoreFixtures.h"

#include "platform/foundation/Md5.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "platform/store/RawSqlite.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace CardStoreFixtures {
namespace {

void fillCard(const ManagedObjectPtr& object, const Card& card)
{
    const QDateTime when = QDateTime(QDate(2010, 4, 1), QTime(9, 30), Qt::UTC);
    object->setValue(QStringLiteral("cardID"), card.cardId);
    object->setValue(QStringLiteral("full_Name"), card.fullName);
    object->setValue(QStringLiteral("company"), card.company);
    object->setValue(QStringLiteral("deletedFlag"), qlonglong(card.inTrash ? 1 : 0));
    object->setValue(QStringLiteral("connected"), qlonglong(card.connected));
    object->setValue(QStringLiteral("flag1"), card.flag1);
    object->setValue(QStringLiteral("face_Image_File"), card.faceImageFile);
    object->setValue(QStringLiteral("back_Image_File"), card.backImageFile);
    object->setValue(QStringLiteral("accept_Date"), when);
    object->setValue(QStringLiteral("register_Date"), when);
    object->setValue(QStringLiteral("update_Date"), when);
    object->setValue(QStringLiteral("memo"), QStringLiteral("memo of ") + card.cardId);
    object->setValue(QStringLiteral("full_Name_XY"), QStringLiteral("10/20/300/40"));
    object->setValue(QStringLiteral("scanNow"), qlonglong(0));
}

ManagedObjectPtr insertFolder(ManagedObjectContext& context, const QString& id, int type, int level,
                              const QString& name, const QString& parent)
{
    ManagedObjectPtr folder = context.insertNewObject(QLatin1String(CardStore::kEntityFolder));
    folder->setValue(QStringLiteral("folder_ID"), id);
    folder->setValue(QStringLiteral("folder_Type"), qlonglong(type));
    folder->setValue(QStringLiteral("folder_Level"), qlonglong(level));
    folder->setValue(QStringLiteral("folder_Name"), name);
    if (!parent.isEmpty())
        folder->setValue(QStringLiteral("folder_Parent"), parent);
    return folder;
}

} // namespace

QList<Card> numberedCards(int count, const QString& flag1)
{
    QList<Card> cards;
    cards.reserve(count);
    for (int i = 1; i <= count; ++i) {
        Card card;
        card.cardId = QStringLiteral("ID%1").arg(i);
        card.fullName = QStringLiteral("Card %1").arg(i);
        card.company = QStringLiteral("Company %1").arg(i % 7);
        card.inTrash = i % 3 == 0;
        card.connected = i % 2;
        card.flag1 = flag1;
        card.faceImageFile = card.cardId + QStringLiteral("_N1.pdf");
        cards.append(card);
    }
    return cards;
}

bool writeOldStore(const QString& storeFile, const QList<Card>& cards)
{
    auto context = ManagedObjectContext::open(CardStore::cardOnlyModel(), storeFile);
    if (!context)
        return false;
    for (const Card& card : cards)
        fillCard(context->insertNewObject(QLatin1String(CardStore::kEntityCard)), card);
    return context->save() == 0;
}

bool writeStore(const QString& storeFile, bool current, int databaseVersion, const QList<Card>& cards,
                QString* userFolderId)
{
    auto context = ManagedObjectContext::open(current ? CardStore::currentModel() : CardStore::olderModel(), storeFile);
    if (!context)
        return false;
    const QString rootId = QStringLiteral("ROOT-FOLDER");
    const QString inboxId = QStringLiteral("INBOX-FOLDER");
    const QString clientsId = QStringLiteral("CLIENTS-FOLDER");
    insertFolder(*context, rootId, 1, 1, QStringLiteral("All data"), QString());
    insertFolder(*context, inboxId, 2, 2, QStringLiteral("Inbox"), rootId);
    insertFolder(*context, clientsId, 3, 2, QStringLiteral("Clients"), rootId);
    if (userFolderId)
        *userFolderId = clientsId;
    ManagedObjectPtr version = context->insertNewObject(QLatin1String(CardStore::kEntityVersion));
    version->setValue(QStringLiteral("database_name"), QStringLiteral("cxdb"));
    version->setValue(QStringLiteral("database_version"), qlonglong(databaseVersion));
    version->setValue(QStringLiteral("product_VL"), QStringLiteral("V30L0"));
    for (const Card& card : cards) {
        ManagedObjectPtr object = context->insertNewObject(QLatin1String(CardStore::kEntityCard));
        fillCard(object, card);
        ManagedObjectPtr belong = context->insertNewObject(QLatin1String(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), card.cardId);
        belong->setValue(QStringLiteral("folder_ID"), card.folderId.isEmpty() ? inboxId : card.folderId);
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), object);
        if (card.inTrash) {
            belong->setValue(QStringLiteral("folder1_Name"), QStringLiteral("All data"));
            belong->setValue(QStringLiteral("folder2_Name"), card.folderId.isEmpty() ? QStringLiteral("Inbox") : QStringLiteral("Clients"));
        }
    }
    return context->save() == 0;
}

StoreContents readStore(const QString& storeFile)
{
    StoreContents contents;
    SqliteConnection connection;
    if (connection.open(storeFile, false) != 0)
        return contents;
    int code = 0;
    const auto cards = rawQuery(connection,
                                QStringLiteral("select ZCARDID, ZFULL_NAME, ZCOMPANY, ZDELETEDFLAG, ZFLAG1, ZFLAG2, ZCONNECTED, "
                                               "ZFACE_IMAGE_FILE, ZBACK_IMAGE_FILE from ZCARD order by Z_PK"),
                                &code);
    for (const RawRow& row : cards.value_or(RawRows())) {
        contents.cards.append({{QStringLiteral("cardID"), row.value(QStringLiteral("ZCARDID"))},
                               {QStringLiteral("full_Name"), row.value(QStringLiteral("ZFULL_NAME"))},
                               {QStringLiteral("company"), row.value(QStringLiteral("ZCOMPANY"))},
                               {QStringLiteral("deletedFlag"), row.value(QStringLiteral("ZDELETEDFLAG"))},
                               {QStringLiteral("flag1"), row.value(QStringLiteral("ZFLAG1"))},
                               {QStringLiteral("flag2"), row.value(QStringLiteral("ZFLAG2"))},
                               {QStringLiteral("connected"), row.value(QStringLiteral("ZCONNECTED"))},
                               {QStringLiteral("face"), row.value(QStringLiteral("ZFACE_IMAGE_FILE"))},
                               {QStringLiteral("back"), row.value(QStringLiteral("ZBACK_IMAGE_FILE"))}});
    }
    const auto belongs = rawQuery(connection,
                                  QStringLiteral("select b.ZCARDID, b.ZFOLDER_ID, b.ZFOLDER1_NAME, b.ZFOLDER2_NAME, c.ZCARDID as CARD "
                                                 "from ZCARDBELONG b left join ZCARD c on c.Z_PK = b.ZTOCARDRELATION order by b.Z_PK"),
                                  &code);
    for (const RawRow& row : belongs.value_or(RawRows())) {
        contents.belongs.append({{QStringLiteral("cardID"), row.value(QStringLiteral("ZCARDID"))},
                                 {QStringLiteral("folder_ID"), row.value(QStringLiteral("ZFOLDER_ID"))},
                                 {QStringLiteral("folder1_Name"), row.value(QStringLiteral("ZFOLDER1_NAME"))},
                                 {QStringLiteral("folder2_Name"), row.value(QStringLiteral("ZFOLDER2_NAME"))},
                                 {QStringLiteral("card"), row.value(QStringLiteral("CARD"))}});
    }
    const auto folders = rawQuery(connection, QStringLiteral("select count(*) as N from ZFOLDER"), &code);
    if (folders && !folders->isEmpty())
        contents.folderCount = folders->first().value(QStringLiteral("N")).toInt();
    const auto versions = rawQuery(connection, QStringLiteral("select ZDATABASE_VERSION from ZVERSION"), &code);
    for (const RawRow& row : versions.value_or(RawRows()))
        contents.versionValues.append(row.value(QStringLiteral("ZDATABASE_VERSION")));
    return contents;
}

QMap<QString, QString> snapshotFolder(const QString& folder)
{
    QMap<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QString value = QStringLiteral("dir");
        if (info.isFile()) {
            QFile file(path);
            value = file.open(QIODevice::ReadOnly) ? md5Hex(file.readAll()) : QStringLiteral("unreadable");
        }
        entries.insert(base.relativeFilePath(path), value);
    }
    return entries;
}

} // namespace CardStoreFixtures
