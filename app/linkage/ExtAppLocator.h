// Linked applications on the desktop: an application is a freedesktop desktop entry, its
// identifier the desktop-file id, its location the entry's file, its version "X-AppVersion".
// An application in the user's Trash counts as missing.
#pragma once

#include <QString>

inline constexpr int kApplicationNotFound = -10814;

// Whether the path lies in the user's Trash ($XDG_DATA_HOME/Trash/files).
bool isInTrash(const QString& path);
// Versions compared component by component as numbers ("10.0" after "9.2"): <0, 0 or >0.
int compareVersions(const QString& left, const QString& right);
// The entry with the identifier in the data folders: 0 with its file in `path`, or -10814 when
// there is none or it lies in the Trash.
int SSFindApplicationForInfo(const QString& bundleIdentifier, QString* path);
// Whether the application recorded at `path` may be used for the identifier: not when the path
// is blank, in the Trash, an entry of another identifier, or older than the one found by identifier.
bool IsFindExtAppByPath(const QString& path, const QString& bundleIdentifier);
// 1 with the recorded path when it is accepted and exists; 2 with the entry found by identifier;
// 0 (and an empty path) when neither.
int findURL(const QString& bundleIdentifier, const QString& recordedPath, QString* url);
