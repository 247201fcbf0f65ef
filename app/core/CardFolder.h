// A card's folder lives twice: on its CardBelong, and copied on the Card for the card list's
// filters and the merge window. Every write of a card's folder goes through here.
#pragma once

#include "platform/store/ManagedObject.h"

void assignCardFolder(ManagedObject& card, ManagedObject& belong, const QString& folderID);
