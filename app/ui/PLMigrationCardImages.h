// The card image functions as the store migration uses them.
#pragma once

#include "app/core/PLCardImageAccess.h"

class PLMigrationCardImages : public PLCardImageAccess {
public:
    int CheckPDF(const QString& path, int* pageCount) override;
    int importCardImageFile(const ManagedObjectPtr& card, const QString& cardId, const QString& arrivingPath,
                            const QString& databaseFolder, int inputType) override;
};
