// Whether a card is in the trash. Only a deletedFlag of 1 counts: older imports left the flag
// empty on cards that were never deleted, and those belong in the card list.
#pragma once

#include "platform/store/FetchRequest.h"

bool isCardDeleted(const ManagedObject& card);
// The same rule on a value of `deletedFlag`.
bool isDeletedFlag(const QVariant& flag);
// The cards that are not in the trash.
Predicate notDeletedCard();
