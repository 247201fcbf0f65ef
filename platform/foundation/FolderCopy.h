// Copies a folder tree: regular files, folders and symbolic links, keeping modes and modification times.
#pragma once

#include <QString>

namespace FolderCopy {

// Creates `destination` (which must not exist yet) as a copy of `source`.
// On failure everything made under `destination` is removed again and false is answered.
bool copyFolderTree(const QString& source, const QString& destination);

} // namespace FolderCopy
