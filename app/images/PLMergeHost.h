// What the merge window needs of the main window controller, which implements it: the open
// store, the selection of the card list and the folder tree, and the refresh and save of cards
// another component changed.
#pragma once

#include "app/images/CardRecord.h"
#include "platform/appkit/WindowHandle.h"
#include "platform/store/ManagedObject.h"

#include <QList>
#include <QString>

class ManagedObjectContext;

class PLMergeHost {
public:
    virtual ~PLMergeHost() = default;

    // The context of the open database; null when none is open.
    virtual ManagedObjectContext* managedObjectContext() = 0;
    // The folder of the open database ("" when none).
    virtual QString currentDatabasePath() = 0;
    // The main window, for the messages shown before the merge window runs.
    virtual WindowHandle mainWindow() = 0;
    // Whether the main window is visible or miniaturised.
    virtual bool isMainWindowVisibleOrMiniaturized() = 0;

    // The card dictionaries of the card list's selected cards, in selection order.
    virtual QList<CardDict> getSeleteRecords() = 0;
    // The folder tree's selected row (-1 for none; 0 is the root) and that row's folder identifier.
    virtual int selectedFolderRow() = 0;
    virtual QString selectedFolderID() = 0;

    // Records the folder path a card returns to from the trash: 0, or 201 when it cannot.
    virtual int setFolderNameWhenRemoving(const QString& cardID) = 0;
    // Refreshes a changed card merging changes, saves the store and refreshes the lists.
    virtual void updateOneRecord(const ManagedObjectPtr& card) = 0;
    // Clears the card's field rectangles: 0, or 3 for no card.
    virtual int cleanRecordRect(const ManagedObjectPtr& card) = 0;
    // Commits the store.
    virtual void saveAction() = 0;
};
