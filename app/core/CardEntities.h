// The card database's entities as the program fills them: folder kinds, the names of the two
// folders every store has, and the Version row's version numbers and system text.
#pragma once

#include <QString>

inline constexpr const char* kFolderNameAllData = "All data";
inline constexpr const char* kFolderNameInbox = "Inbox";
inline constexpr int kFolderTypeRoot = 1;
inline constexpr int kFolderTypeInbox = 2;
inline constexpr int kFolderTypeUser = 3;
inline constexpr int kFolderLevelRoot = 1;
inline constexpr int kFolderLevelInbox = 2;

// ZDATABASE_VERSION of store version 51 and of the current store version 53.
inline constexpr int kDatabaseVersionOfStore51 = 1;
inline constexpr int kDatabaseVersionOfStore53 = 2;
// A new or updated Version row always carries the current version: the Info.plist default of 1
// would make every new store look old and be migrated again.
inline constexpr int kCurrentDatabaseVersion = kDatabaseVersionOfStore53;
inline constexpr int kLatestStoreVersion = 53;

// "Mac 10.8" from 0x1080: the four nibbles from the highest down, the last one left out when 0,
// written in hexadecimal up to 9 and in decimal from 10 on.
QString productOSString(int systemVersion);
