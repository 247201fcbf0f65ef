// Which of the main window's menu items are enabled and checked, by the item's action, from the
// state of the database, the card list, the image pane and the bars. Every item is off while a
// sheet is up on the main window; an action without a row of its own is always enabled.
#pragma once

#include "app/ui/logic/ToolbarValidation.h"

#include <QString>

namespace MenuValidation {

struct State {
    ToolbarValidation::State window;  // database, selection, tool bits, photo applications, folder
    bool sheetAttached = false;
    int recognizeLanguage = 0;        // 0 Japanese, 1 English, others as the recognise bar has them
    int exportFormat = 1;             // 1 vCard, 2 CSV, 3 text, 4 ContactXML
    bool detailShown = false;         // the detail editor's pane is wider than 1
    int imageOperation = 1;           // 0 the mouse moves the image, 1 it draws a field box
};

struct Validation {
    bool enabled = false;
    bool checked = false;
};

// `tag` tells apart the items of one action (the segment of the image-operation items).
Validation validateMenuItem(const QString& action, const State& state, int tag = 0);
// Whether the action's item shows a check mark at all (it has a "checked when" rule).
bool isCheckable(const QString& action);

} // namespace MenuValidation
