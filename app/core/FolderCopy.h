// Copies a folder tree item by item, asking before each item whether to go on, so that a
// confirmed cancel stops a long copy. Symbolic links are copied as links.
#pragma once

#include <QString>

#include <functional>

enum class FolderCopyResult { Copied, Failed, Stopped };

// `destination` must not exist yet. A stopped or failed copy leaves what was copied so far;
// the caller removes it.
FolderCopyResult copyFolderTree(const QString& source, const QString& destination,
                                const std::function<bool()>& shouldContinue);
