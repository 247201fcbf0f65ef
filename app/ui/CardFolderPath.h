// The folder path a card returns to from the trash: the names of its folder and of every folder
// above it, top first, written into its CardBelong record when the card goes to the trash.
#pragma once

#include <QString>
#include <QStringList>

class ManagedObjectContext;

inline constexpr int kFolderPathMaxLevels = 4;
inline constexpr int kFolderNameNotSet = 201;

class ManagedObject;

// The names from the top folder down to the folder `folderID`, from the Folder records;
// empty when there is no such folder.
QStringList folderPathNames(ManagedObjectContext& context, const QString& folderID);

// Writes `names` (top first) into the record's four path names, padded with empty names;
// no names empties all four.
void setFolderPathNames(ManagedObject& belong, const QStringList& names);

// The main window's `setFolderNameWhenRemoving:`: 0 for a blank identifier or when the names were
// set; 201 when the card's CardBelong record or its folder cannot be found.
int setFolderNameWhenRemoving(ManagedObjectContext* context, const QString& cardID);
