// Opening the merge window after an import: the import calls runMergeAfterImport with the cards
// it made, once the store is saved.
#pragma once

#include "platform/store/ManagedObject.h"

#include <functional>

class PLMergeHost;

// The preference "Auto run merge card function items" when it is a number; otherwise "General
// display items" when that is a number; otherwise YES.
bool isAutoRunMergeCardFunc();

// The window opens only over a visible or miniaturised main window, with two or more new cards,
// the automatic merge on and a usable database folder (`dbAttributes` 0).
bool shouldRunMergeAfterImport(bool mainWindowVisibleOrMiniaturized, qsizetype newCardCount, bool autoRun,
                               int dbAttributes);

struct MergeAfterImportResult {
    bool ran = false;                 // the merge window was created and asked to run
    bool selectedCardChanged = false; // the caller shows the selected cards again (image pane mode 5)
};

// Runs the merge window in mode 1 over `newCards` when shouldRunMergeAfterImport says so.
// `checkAttributes` replaces the database folder test (tests).
MergeAfterImportResult runMergeAfterImport(PLMergeHost& host, const ManagedObjectList& newCards,
                                           const std::function<int(const QString&)>& checkAttributes = {});
