// Comparing file-system paths as the file system resolves them: links and ".." followed as far
// as the path exists, compared exactly (case included).
#pragma once

#include <QString>

// The canonical path; for a path that does not exist (yet), its parent's canonical path and its
// name; else the cleaned absolute path.
QString resolvedPath(const QString& path);
// Both given and resolving to the same path.
bool isSamePath(const QString& a, const QString& b);
// `path` lies strictly inside `folder`.
bool isPathInside(const QString& path, const QString& folder);
// One name inside its folder: not empty, no "/", not "." or "..". A name that comes from data
// passes this before it is joined to a folder.
bool isPlainFileName(const QString& name);
// `path` lies inside `folder` as written, and no entry from `folder` down to `path` (`path` itself
// included) is a symbolic link: what is reached there stays inside the folder. Entries that do not
// exist yet are no links.
bool isLinkFreeInside(const QString& path, const QString& folder);
