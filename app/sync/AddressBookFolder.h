// Where the user's address book lives: a folder of vCard files, which the user may point at a
// folder that other contact tools read and synchronise.
#pragma once

#include <QString>

inline constexpr const char* kPrefAddressBookFolder = "Address Book Folder";

// The preference "Address Book Folder" when it is a non-empty string, else
// "$XDG_DATA_HOME/pelmora/addressbook/default/".
QString addressBookFolder();
