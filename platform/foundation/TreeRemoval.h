// The one recursive removal of the suite. Database folders can come from other people, so a
// removal never follows a symbolic link: a link, given or found inside, goes as a link, and
// nothing outside the given path is touched even when entries are swapped while it runs.
#pragma once

#include <QString>

// Removes `path` and, when it is a folder, everything in it. Works through folder descriptors
// opened without following links; folders of another file system are left (and so is the path
// holding them), as are trees deeper than a sane limit. Folders the owner cannot write (a copy
// of a read-only folder) are opened up for the owner first. True when nothing is left at `path`,
// a missing path included.
bool removeTree(const QString& path);

// Removes the entry `name` of `folder` as `removeTree` does, but only when `name` is one plain
// name (not empty, ".", ".." and without "/"): a name that comes from data never reaches out.
bool removeTreeIn(const QString& folder, const QString& name);
