// Which of the card list's menu commands may run: the trash commands, the trash pane's switch
// and the column items, each by its rule; nothing while a sheet is up on the main window.
#pragma once

namespace CardListMenus {

enum class Command {
    RemoveRecord,        // move the card list's selection to the trash
    RemoveRecordInTrash, // delete the trash's selection for good
    ReturnRecord,        // restore the trash's selection to its folders
    ShowTrashTable,      // show or hide the trash
    Column,              // an item of the column menu
    Other,
};

struct State {
    bool sheetAttached = false;
    bool readOnly = false;          // the database is open in open mode 1
    bool cardRowSelected = false;
    bool trashRowSelected = false;
    bool trashIsFirstResponder = false;
    bool trashShown = false;
    bool columnShown = false;       // for a column item: its bit is in the column mask
};

struct Validation {
    bool enabled = false;
    bool checked = false;
};

// `tag` is the item's tag: Restore with tag 0 (the main menu's) asks the trash to have the focus.
Validation validateMenuItem(Command command, int tag, const State& state);

} // namespace CardListMenus
