// How the synchronise command chooses its conflict mode: a stored choice runs at once, otherwise
// the panel asks with two rows (card wins, book wins) and remembers the row the user picks.
#pragma once

inline constexpr const char* kPrefConnectToAddressBookState = "conncet to addressBook state";
inline constexpr const char* kPrefConnectDialogToAddressBookState = "conncet dialog to addressBook state";

// 2 or 3 when "conncet to addressBook state" holds that number; 0 when the panel must ask
// (absent, not a number, 1 or any other value).
int conflictModeWithoutAsking();
// The row the panel starts on: 1 when "conncet dialog to addressBook state" is 1, else 0.
int preselectedConflictRow();
// Stores the panel's row at once, as the user changes it.
void storeConflictRow(int row);
// Row 0 gives mode 2 (the card wins), row 1 mode 3 (the address book wins).
int conflictModeOfRow(int row);
