#include "app/core/CardFolder.h"

namespace {
const QString kFolderID = QStringLiteral("folder_ID");
}

void assignCardFolder(ManagedObject& card, ManagedObject& belong, const QString& folderID)
{
    belong.setValue(kFolderID, folderID);
    card.setValue(kFolderID, folderID);
}
