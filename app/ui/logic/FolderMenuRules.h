// What the folder tree's contextual menu offers on a row: item 0 adds a folder under the row,
// item 1 removes the row's folder.
#pragma once

struct FolderContextMenu {
    bool shown = false;          // false: no menu at all
    bool addEnabled = false;     // item 0
    bool removeVisible = false;  // item 1
    bool removeEnabled = false;
    friend bool operator==(const FolderContextMenu&, const FolderContextMenu&) = default;
};

// `folderType` 1 the root, 2 the Inbox, 3 a user folder (the Inbox and anything else get no menu); `editingThisRow` the clicked row is the
// selected one and its name is being edited; `commandsBlocked` the database is open read-only or
// the main window shows a sheet.
FolderContextMenu folderContextMenu(int folderType, int folderLevel, bool editingThisRow, bool commandsBlocked);
