// Whether a drag may be dropped on a folder row of the folder tree, or on the card list or the
// trash, and as what.
#pragma once

#include <QString>

inline constexpr int kDragOperationNone = 0;
inline constexpr int kDragOperationCopy = 1;
inline constexpr int kDragOperationMove = 16;

struct FolderDropProposal {
    // The folder under the pointer; no folder means a drop beside every row.
    bool hasDestination = false;
    int childIndex = -1;          // -1 for a drop onto the row itself
    bool readOnlyDatabase = false;
    bool windowBusy = false;      // a sheet on the main window or a modal window
    // What the pasteboard holds.
    bool hasAttachmentRows = false;
    bool hasCardRows = false;
    bool hasFolderRow = false;
    bool hasFileNames = false;
    int fileCount = 0;
    // Card rows: from the card table (not the trash), and whether the destination is selected.
    bool cardsFromCardTable = false;
    bool destinationIsSelected = false;
    // The destination.
    int destinationType = 3;
    int destinationLevel = 2;
    // Folder rows: the dragged folder's parent level, its depth, and where the destination lies.
    int draggedParentLevel = 1;
    int draggedDepth = 1;
    bool destinationIsDraggedParent = false;
    bool destinationInsideDragged = false;
};

int validateFolderDrop(const FolderDropProposal& proposal);

struct CardListDropProposal {
    bool databaseOpen = true;
    bool readOnlyDatabase = false;
    bool windowBusy = false; // a sheet on the main window or a modal window
    // The drag's source inside the application (none: from another program).
    bool hasSource = false;
    bool sourceIsTrashTable = false;
    bool sourceIsTarget = false;
    bool rootSelected = false; // the folder tree shows the root
    bool targetIsTrashTable = false;
    bool betweenRows = false; // above a row or below the last one, not onto a row
    // What the pasteboard holds.
    bool hasCardRows = false;
    bool hasAttachmentRows = false;
    bool hasFileNames = false;
    int fileCount = 0;
};

// Card rows move between the list and the trash, dropped between rows of the other table; files
// from outside are copied into the list, never into the trash.
int validateCardListDrop(const CardListDropProposal& proposal);
