// What the Address Book synchronisation needs of the main window controller, which implements
// it: the store of the open database and the cards the card list has selected.
#pragma once

#include "platform/store/ManagedObject.h"

class ManagedObjectContext;

class PLSyncHost {
public:
    virtual ~PLSyncHost() = default;
    // The context of the open database; null when none is open.
    virtual ManagedObjectContext* managedObjectContext() = 0;
    // The `Card` objects the card list's array controller has selected, in selection order.
    virtual ManagedObjectList selectedCards() = 0;
};
