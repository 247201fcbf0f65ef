// A card's way through the trash: flagged with the names of its folder path, found again by
// its folder or that path, and deleted for good with its image files and attachment folder.
#pragma once

#include "app/ui/TreeNode.h"
#include "platform/store/ManagedObject.h"

#include <QHash>
#include <QString>

class ManagedObjectContext;

// The records a move of many cards works on, read once for the whole move: the cards'
// CardBelong records by card identifier and the folder tree's folders by identifier. A move
// that looked each card's record up alone read every record once per card.
class CardMoveRecords {
public:
    CardMoveRecords(ManagedObjectContext& context, const TreeNode* tree, const ManagedObjectList& cards);

    // The card's CardBelong record; null when it has none.
    ManagedObjectPtr cardBelong(const QString& cardID) const;

    // Flags `card` as in the trash, writes its folder path beside it and gives it new
    // synchronisation identifiers; its folder stays as it was.
    void moveCardToTrash(ManagedObject& card) const;

    // The folder a trashed card returns to: its own folder while the tree still holds it (a
    // renamed folder is the same folder), else the folder its stored path of names leads to.
    // False when neither is found.
    bool isFolderPathExist(const QString& cardID, QString* folderPath, QString* folderID) const;

    // Takes `card` out of the trash into `folderID`, clearing its stored path; `leaveInbox`
    // clears `connected` (a card moved anywhere but the Inbox no longer belongs there).
    void returnCardToFolder(ManagedObject& card, const QString& folderID, bool leaveInbox) const;

    // The undo of a move to the trash: the card is back in its unchanged folder, its path cleared.
    void undoMoveToTrash(ManagedObject& card) const;

    // Files a card of the card list in `folderID`; it no longer belongs in the Inbox.
    void moveCardToFolder(ManagedObject& card, const QString& folderID) const;

private:
    ManagedObjectPtr belongOrLog(const ManagedObject& card) const;

    const TreeNode* m_tree;
    QHash<QString, const TreeNode*> m_folders;
    QHash<QString, ManagedObjectPtr> m_belongs;
};

// A restored card gets a new synchronisation identifier when it bears a person's name.
void renewSyncIDOnRestore(ManagedObject& card);

// Deletes `cards` and their CardBelong records, saves the store, and only then removes their
// image files and attachment folders from `databasePath`. Files are touched only when named by a
// plain file name; a blank card identifier never names the whole "Files" folder. Answers the
// save's status (0 for success); nothing is removed from the disk when the save failed.
int deleteCardsForGood(ManagedObjectContext& context, const QString& databasePath, const ManagedObjectList& cards);
