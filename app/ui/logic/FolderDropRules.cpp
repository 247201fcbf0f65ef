#include "app/ui/logic/FolderDropRules.h"

#include "app/core/CardEntities.h"

int validateFolderDrop(const FolderDropProposal& p)
{
    if (!p.hasDestination || p.readOnlyDatabase || p.childIndex != -1 || p.windowBusy || p.hasAttachmentRows)
        return kDragOperationNone;
    if (!p.hasCardRows && !p.hasFolderRow && !p.hasFileNames)
        return kDragOperationNone;
    if (p.hasCardRows) {
        if (p.destinationType == kFolderTypeRoot || (p.cardsFromCardTable && p.destinationIsSelected))
            return kDragOperationNone;
    }
    if (p.hasFolderRow) {
        if (p.destinationType == kFolderTypeInbox || p.destinationLevel > 3 || p.destinationIsDraggedParent)
            return kDragOperationNone;
        // A folder can never go inside itself, whatever the levels say.
        if (p.destinationInsideDragged || p.destinationLevel + p.draggedDepth > 4)
            return kDragOperationNone;
    }
    if (p.hasFileNames && !p.hasCardRows)
        return p.fileCount > 0 ? kDragOperationCopy : kDragOperationNone;
    return kDragOperationMove;
}

int validateCardListDrop(const CardListDropProposal& p)
{
    if (!p.databaseOpen || p.readOnlyDatabase || p.windowBusy)
        return kDragOperationNone;
    if (p.sourceIsTrashTable && p.rootSelected)
        return kDragOperationNone;
    int operation = kDragOperationNone;
    if (p.hasCardRows && p.hasSource)
        operation = p.betweenRows && !p.sourceIsTarget ? kDragOperationMove : kDragOperationNone;
    // A single dragged card carries its PDF as a file too: card rows decide for it.
    if (!p.hasFileNames || p.hasCardRows || p.hasAttachmentRows)
        return operation;
    if (p.targetIsTrashTable || p.fileCount == 0)
        return kDragOperationNone;
    return kDragOperationCopy;
}
