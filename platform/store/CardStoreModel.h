// The card database's models: the current one (store version 53), the older one (store
// version 51, whose Card lacks input_Type, previous_Creator and fixed_Flag) and the
// one-entity model that reads the Card table of the oldest stores (versions 1 and 5).
#pragma once

#include "platform/store/StoreModel.h"

namespace CardStore {

inline constexpr const char* kEntityCard = "Card";
inline constexpr const char* kEntityCardBelong = "CardBelong";
inline constexpr const char* kEntityFolder = "Folder";
inline constexpr const char* kEntityVersion = "Version";

// The longest texts a card's fields keep, in characters: a store is read with longer values cut,
// and a value taken in from outside is cut alike, so that one long value cannot slow every start.
inline constexpr int kCardNameLimit = 512; // names and their readings, company, department, job title
inline constexpr int kCardFieldLimit = 2048; // address and its parts, numbers, e-mail, web page
inline constexpr int kCardMemoLimit = 16384; // memo

// Built once, shared and never changed.
const ManagedObjectModel& currentModel();
const ManagedObjectModel& olderModel();
const ManagedObjectModel& cardOnlyModel();

// The length a Card attribute is cut to (above), 0 for one that is not cut.
int cardValueLimit(const QString& attribute);

// The Card attributes every store version has (68 names), in model order.
QStringList cardAttributeNamesOfEveryVersion();

} // namespace CardStore
