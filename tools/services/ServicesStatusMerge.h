// Merging the main application's Services status entry, carried in the tool's own "pbs.plist",
// into the user's Services status file. The user's other keys and the file's format (XML or
// binary) are kept; an entry the user already has is never rewritten.
#pragma once

#include <QString>

enum class MergeOutcome {
    Merged,          // the user file gained the entry (or was created from the tool's file)
    AlreadyPresent,  // the user already has an entry under the Service's key: nothing written
    NothingToMerge,  // the tool's file is missing, unreadable or has no usable entry
    UserFileKept,    // the user file exists but cannot be read or parsed: left untouched
    WriteFailed,
};

MergeOutcome mergeServicesStatus(const QString& toolFilePath, const QString& userFilePath);
