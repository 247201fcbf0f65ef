// Status codes of the database folder and store operations (0 is success).
#pragma once

namespace PLDBStatus {
inline constexpr int kSuccess = 0;
inline constexpr int kMissingArgument = -1001;   // missing argument or no context
inline constexpr int kNotExist = -1004;          // folder or store file does not exist
inline constexpr int kBadAttributes = -1005;     // folder locked, read-only or unreadable
inline constexpr int kInUse = -1006;             // lock held elsewhere; also a failed SQL update
inline constexpr int kPathTooLong = -1007;       // store path longer than 504 bytes
inline constexpr int kNoContext = -1008;         // the store's context could not be built
inline constexpr int kOpenFailed = -1009;        // the SQLite connection could not be opened
inline constexpr int kLockFailed = -1010;
inline constexpr int kUnlockFailed = -1011;
inline constexpr int kSaveFailed = -1012;
inline constexpr int kMigrationFailed = -1014;   // also: not exactly one Version row
inline constexpr int kNewerVersion = -1015;
inline constexpr int kBackupSourceBad = -2001;
inline constexpr int kNoWorkFolderName = -2002;
inline constexpr int kBackupDestinationBad = -2003;
inline constexpr int kBackupSizeUnknown = -2004;
inline constexpr int kBackupNoSpace = -2005;
inline constexpr int kBackupCopyFailed = -2006;
inline constexpr int kBackupCancelled = -2007;
inline constexpr int kCardsNotFetched = -4001;
inline constexpr int kCancelled = -4002;
inline constexpr int kNoCardId = -4003;
inline constexpr int kRemoveFailed = -4007;
} // namespace PLDBStatus
