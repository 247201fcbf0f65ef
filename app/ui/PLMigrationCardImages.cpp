#include "app/ui/PLMigrationCardImages.h"

#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/ManagedCardRecord.h"

int PLMigrationCardImages::CheckPDF(const QString& path, int* pageCount)
{
    QVariantMap result;
    const int kind = checkPdfFile2(path, &result);
    if (pageCount)
        *pageCount = result.value(QLatin1String(kPageCountKey)).toInt();
    return kind;
}

int PLMigrationCardImages::importCardImageFile(const ManagedObjectPtr& card, const QString& cardId,
                                               const QString& arrivingPath, const QString& databaseFolder, int inputType)
{
    if (!card)
        return -1001;
    ManagedCardRecord record(card.get());
    return ::importCardImageFile(&record, cardId, arrivingPath, databaseFolder, inputType);
}
