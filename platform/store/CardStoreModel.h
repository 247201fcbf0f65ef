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

// Built once, shared and never changed.
const ManagedObjectModel& currentModel();
const ManagedObjectModel& olderModel();
const ManagedObjectModel& cardOnlyModel();

// The Card attributes every store version has (68 names), in model order.
QStringList cardAttributeNamesOfEveryVersion();

} // namespace CardStore
