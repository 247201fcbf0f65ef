// The seeding of PLDatabaseController: every store has one root folder, one Inbox and one
// Version row; a card arriving from an older store is filed in the Inbox.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/Identifiers.h"
#include "app/core/PLDatabaseController.h"
#include "app/core/VersionUtilities.h"
#include "platform/store/CardStoreModel.h"

QString productOSString(int systemVersion)
{
    const int n3 = (systemVersion >> 12) & 0xF, n2 = (systemVersion >> 8) & 0xF;
    const int n1 = (systemVersion >> 4) & 0xF, n0 = systemVersion & 0xF;
    QString text = QStringLiteral("Mac %1%2.%3").arg(n3, 0, 16).arg(n2, 0, 16).arg(n1, 0, 16);
    if (n0 != 0)
        text += QLatin1Char('.') + QString::number(n0);
    return text;
}

ManagedObjectContext* PLDatabaseController::seedingContext()
{
    return _bUseOldModelFlg ? managedObjectContextForOldModel() : managedObjectContext();
}

namespace {

// The folder_ID of the first folder of a kind, or null when the store has none.
QString folderIdOfType(ManagedObjectContext& context, int folderType)
{
    FetchRequest request;
    request.entityName = QLatin1String(CardStore::kEntityFolder);
    request.predicate = keyEquals(QStringLiteral("folder_Type"), folderType);
    int rc = 0;
    const ManagedObjectList found = context.executeFetchRequest(request, &rc);
    return rc == 0 && !found.isEmpty() ? found.first()->stringValue(QStringLiteral("folder_ID")) : QString();
}

QString insertFolder(ManagedObjectContext& context, int type, int level, const char* name, const QString& parent)
{
    ManagedObjectPtr folder = context.insertNewObject(QLatin1String(CardStore::kEntityFolder));
    const QString id = getUUID();
    folder->setValue(QStringLiteral("folder_ID"), id);
    folder->setValue(QStringLiteral("folder_Level"), level);
    folder->setValue(QStringLiteral("folder_Type"), type);
    folder->setValue(QStringLiteral("folder_Name"), QLatin1String(name));
    if (!parent.isNull())
        folder->setValue(QStringLiteral("folder_Parent"), parent);
    context.refreshObject(folder, true);
    return id;
}

void stampVersion(ManagedObject& version, const QDateTime& now)
{
    version.setValue(QStringLiteral("database_version"), kCurrentDatabaseVersion);
    version.setValue(QStringLiteral("product_VL"), getProductVersion());
    version.setValue(QStringLiteral("product_OS"), productOSString(getSystemVersion()));
    version.setValue(QStringLiteral("create_Date"), now);
    version.setValue(QStringLiteral("update_Date"), now);
}

} // namespace

int PLDatabaseController::insertFolderData()
{
    ManagedObjectContext* context = seedingContext();
    if (!context)
        return PLDBStatus::kNoContext;
    if (confirmCancelOperation())
        return PLDBStatus::kCancelled;
    _strAllFolderID = folderIdOfType(*context, kFolderTypeRoot);
    if (_strAllFolderID.isNull())
        _strAllFolderID = insertFolder(*context, kFolderTypeRoot, kFolderLevelRoot, kFolderNameAllData, QString());
    _strInboxFolderID = folderIdOfType(*context, kFolderTypeInbox);
    if (_strInboxFolderID.isNull())
        _strInboxFolderID =
            insertFolder(*context, kFolderTypeInbox, kFolderLevelInbox, kFolderNameInbox, _strAllFolderID);
    return PLDBStatus::kSuccess;
}

int PLDatabaseController::insertVersionData()
{
    ManagedObjectContext* context = seedingContext();
    if (!context)
        return PLDBStatus::kNoContext;
    if (confirmCancelOperation())
        return PLDBStatus::kCancelled;
    FetchRequest request;
    request.entityName = QLatin1String(CardStore::kEntityVersion);
    int rc = 0;
    if (!context->executeFetchRequest(request, &rc).isEmpty() && rc == 0)
        return PLDBStatus::kSuccess;
    ManagedObjectPtr version = context->insertNewObject(request.entityName);
    version->setValue(QStringLiteral("database_name"), getDatabaseSuffix());
    stampVersion(*version, now());
    return PLDBStatus::kSuccess;
}

int PLDatabaseController::insertCardBelongData(const ManagedObjectPtr& card)
{
    ManagedObjectContext* context = seedingContext();
    if (!context)
        return PLDBStatus::kNoContext;
    if (confirmCancelOperation())
        return PLDBStatus::kCancelled;
    if (!card)
        return PLDBStatus::kMissingArgument;
    ManagedObjectPtr belong = context->insertNewObject(QLatin1String(CardStore::kEntityCardBelong));
    assignCardFolder(*card, *belong, _strInboxFolderID);
    belong->setValue(QStringLiteral("cardID"), card->value(QStringLiteral("cardID")));
    belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
    if (card->value(QStringLiteral("deletedFlag")).toInt() == 1) {
        belong->setValue(QStringLiteral("folder1_Name"), QLatin1String(kFolderNameAllData));
        belong->setValue(QStringLiteral("folder2_Name"), QLatin1String(kFolderNameInbox));
    }
    return PLDBStatus::kSuccess;
}

int PLDatabaseController::updateVersionData(const QString& storeFile)
{
    auto context = ManagedObjectContext::open(managedObjectModel(), storeFile, nullptr, false);
    if (!context)
        return PLDBStatus::kNoContext;
    FetchRequest request;
    request.entityName = QLatin1String(CardStore::kEntityVersion);
    int rc = 0;
    const ManagedObjectList versions = context->executeFetchRequest(request, &rc);
    if (rc != 0 || versions.size() != 1)
        return PLDBStatus::kMigrationFailed;
    if (confirmCancelOperation())
        return PLDBStatus::kCancelled;
    stampVersion(*versions.first(), now());
    context->refreshObject(versions.first(), true);
    return context->save() == 0 ? PLDBStatus::kSuccess : PLDBStatus::kSaveFailed;
}
