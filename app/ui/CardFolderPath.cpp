#include "app/ui/CardFolderPath.h"

#include "app/core/PLChecker.h"
#include "platform/foundation/Log.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QSet>

namespace {

const QString kFolderID = QStringLiteral("folder_ID");
const QString kFolderName = QStringLiteral("folder_Name");
const QString kFolderParent = QStringLiteral("folder_Parent");
const QString kCardID = QStringLiteral("cardID");

ManagedObjectPtr fetchFirst(ManagedObjectContext& context, const char* entity, const QString& key, const QString& value,
                            int* error)
{
    const ManagedObjectList found = context.executeFetchRequest(
        FetchRequest{QString::fromLatin1(entity), keyEquals(key, value), {}}, error);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

QStringList folderPathNames(ManagedObjectContext& context, const QString& folderID)
{
    QStringList names;
    QSet<QString> seen;
    QString current = folderID;
    // The tree is at most four levels deep; a damaged parent chain must not loop.
    while (!PLChecker::isBlank(current) && !seen.contains(current) && names.size() < kFolderPathMaxLevels) {
        seen.insert(current);
        int error = 0;
        const ManagedObjectPtr folder = fetchFirst(context, CardStore::kEntityFolder, kFolderID, current, &error);
        if (!folder)
            break;
        names.prepend(folder->stringValue(kFolderName));
        current = folder->stringValue(kFolderParent);
    }
    return names;
}

void setFolderPathNames(ManagedObject& belong, const QStringList& names)
{
    for (int level = 1; level <= kFolderPathMaxLevels; ++level) {
        const QString name = names.value(level - 1);
        belong.setValue(QStringLiteral("folder%1_Name").arg(level), name.isNull() ? QStringLiteral("") : name);
    }
}

int setFolderNameWhenRemoving(ManagedObjectContext* context, const QString& cardID)
{
    if (PLChecker::isBlank(cardID))
        return 0;
    int error = 0;
    const ManagedObjectPtr belong = context ? fetchFirst(*context, CardStore::kEntityCardBelong, kCardID, cardID, &error) : nullptr;
    if (!belong || error != 0) {
        PLNSLog(QStringLiteral("Failed to get CardBelong object."));
        return kFolderNameNotSet;
    }
    setFolderPathNames(*belong, {});
    const QString folderID = belong->stringValue(kFolderID);
    const QStringList names = folderPathNames(*context, folderID);
    if (names.isEmpty()) {
        PLNSLog(QStringLiteral("Cann't find TreeNode which folderID is %@"), folderID);
        return kFolderNameNotSet;
    }
    setFolderPathNames(*belong, names);
    context->refreshObject(belong, true);
    return 0;
}
