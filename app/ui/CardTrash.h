// A card's way through the trash: flagged with the names of its folder path, found again by
// its folder or that path, and deleted for good with its image files and attachment folder.
#pragma once

#include "app/ui/TreeNode.h"
#include "platform/store/ManagedObject.h"

#include <QString>

class ManagedObjectContext;

// Flags `card` as in the trash, writes its folder path beside it and gives it new
// synchronisation identifiers; its folder stays as it was.
void moveCardToTrash(ManagedObjectContext& context, ManagedObject& card);

// The folder a trashed card returns to: its own folder while the tree still holds it (a renamed
// folder is the same folder), else the folder its stored path of names leads to in `tree`.
// False when neither is found.
bool isFolderPathExist(ManagedObjectContext& context, TreeNode* tree, const QString& cardID, QString* folderPath, QString* folderID);

// Takes `card` out of the trash into `folderID`, clearing its stored path; `leaveInbox` clears
// `connected` (a card moved anywhere but the Inbox no longer belongs there).
void returnCardToFolder(ManagedObjectContext& context, ManagedObject& card, const QString& folderID, bool leaveInbox);

// A restored card gets a new synchronisation identifier when it bears a person's name.
void renewSyncIDOnRestore(ManagedObject& card);

// Deletes `cards` and their CardBelong records, saves the store, and only then removes their
// image files and attachment folders from `databasePath`. Files are touched only when named by a
// plain file name; a blank card identifier never names the whole "Files" folder. Answers the
// save's status (0 for success); nothing is removed from the disk when the save failed.
int deleteCardsForGood(ManagedObjectContext& context, const QString& databasePath, const ManagedObjectList& cards);
