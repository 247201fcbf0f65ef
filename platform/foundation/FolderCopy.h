// The one folder copy of the suite, for database folders that can come from other people: it
// works through descriptors opened without following links, copies a symbolic link as the link it
// is, and fails on anything but folders, regular files and links. Modes are always kept.
#pragma once

#include <QFlags>
#include <QString>

#include <functional>

enum class FolderCopyOption {
    KeepTimes = 1,     // modification and access times of every item, as the source has them
    RemovePartial = 2, // a stopped or failed copy removes what it made; otherwise the caller does
};
Q_DECLARE_FLAGS(FolderCopyOptions, FolderCopyOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(FolderCopyOptions)

enum class FolderCopyResult { Copied, Failed, Stopped };

// Creates `destination`, which must not exist yet (nothing already there is ever touched), as a
// copy of the folder `source`. `shouldContinue`, when given, is asked before each item; false
// stops the copy.
FolderCopyResult copyFolderTree(const QString& source, const QString& destination, FolderCopyOptions options = {},
                                const std::function<bool()>& shouldContinue = {});
