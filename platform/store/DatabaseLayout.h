// Names inside a card database folder and the main application's preference that points at one.
#pragma once

#include <QString>

namespace DatabaseFolder {

inline const QString kExtension = QStringLiteral("cxdb");
inline const QString kStoreFileName = QStringLiteral("Pelmora1.sqldb");
inline const QString kOldStoreFileName = QStringLiteral("Pelmora.sqldb");
inline const QString kImagesFolderName = QStringLiteral("Images");
inline const QString kFilesFolderName = QStringLiteral("Files");
inline const QString kPasswordFileName = QStringLiteral("Pelmora.CFG");

inline const QString kMainApplicationDomain = QStringLiteral("com.orvane.zor.Pelmora");
inline const QString kDBPathKey = QStringLiteral("DB path");

// The store of a folder: "Pelmora1.sqldb" when it is a file there, else the older "Pelmora.sqldb".
QString storeFileName(const QString& folder);
QString storeFilePath(const QString& folder);
QString passwordFilePath(const QString& folder);
// The path without trailing "/" (the root stays "/").
QString withoutTrailingSlash(const QString& path);
// Whether the path (trailing "/" allowed) names a database folder by its extension, in any case.
bool hasDatabaseExtension(const QString& path);
// "~" and "~/..." name the user's home folder.
QString expandTilde(const QString& path);

} // namespace DatabaseFolder
