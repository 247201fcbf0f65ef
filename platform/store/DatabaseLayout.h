// The card database folder as every program of the suite sees it: its extension, the names of
// the items inside it, where each lies, and which store file a folder uses. The main application
// and both database tools read the folder through these names only; checks whose answers differ
// per program stay with each program.
#pragma once

#include <QString>

namespace DatabaseLayout {

inline constexpr const char* kDatabaseExtension = "cxdb";    // every database made by this suite
inline constexpr const char* kOldDatabaseExtension = "pldb"; // older databases
inline constexpr const char* kStoreFileName = "Pelmora1.sqldb";
inline constexpr const char* kOldStoreFileName = "Pelmora.sqldb";
inline constexpr const char* kImagesFolderName = "Images";
inline constexpr const char* kFilesFolderName = "Files";
inline constexpr const char* kPasswordFileName = "Pelmora.CFG";

// The main application's preference naming its current database folder, read by the tools.
inline constexpr const char* kMainApplicationDomain = "com.orvane.zor.Pelmora";
inline constexpr const char* kDBPathKey = "DB path";

// "Pelmora1.sqldb" when the folder's extension is cxdb (any case) and that file exists in it as a
// regular file; "Pelmora.sqldb" in every other case.
QString storeFileName(const QString& folder);
QString storeFilePath(const QString& folder);
// The store of the current version, whether or not it exists yet.
QString currentStoreFilePath(const QString& folder);
QString imagesFolderPath(const QString& folder);
QString filesFolderPath(const QString& folder);
QString passwordFilePath(const QString& folder);

// The path without trailing "/" (the root stays "/").
QString withoutTrailingSlash(const QString& path);
// Whether the path (trailing "/" allowed) names a database folder by its extension cxdb, in any case.
bool hasDatabaseExtension(const QString& path);
// "~" and "~/..." name the user's home folder.
QString expandTilde(const QString& path);

} // namespace DatabaseLayout
