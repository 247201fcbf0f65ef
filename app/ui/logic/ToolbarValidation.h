// Which toolbar items are enabled, from the state of the card list, the image pane and the
// database. Items without a rule of their own (spaces, separators) are always enabled.
#pragma once

#include <QString>

namespace ToolbarValidation {

// The image pane's state word (its tool bits).
enum ToolBit : int {
    kRecognizable = 1,
    kImageShown = 2,
    kImageOperationApplies = 4,
    kRotatable = 8,
    kBackSide = 16,
    kZoomedInFully = 32,
    kZoomedOutFully = 64,
    kSomeMail = 128,
    kBackAddable = 256,
};

struct State {
    bool readOnly = false;          // open mode 1: no database usable
    bool hasContext = false;        // a database is open
    int selectionCount = 0;
    QString singleEMail;            // of the one selected card
    QString singleWebPage;
    int toolBits = 0;
    int photosInstalled = 0;        // 2 Photos, 1 iPhoto, 3 both
    int applicationMenuItems = 0;   // items of the linked-application pull-down, its face included
    bool rootFolderSelected = false;
};

// The Image Edit pull-down's items 1 to 3.
struct ImageEditItems {
    bool swapSides = false;
    bool addBack = false;
    bool removeBack = false;
};
ImageEditItems imageEditItems(const State& state);

bool validateToolbarItem(const QString& identifier, const State& state);

} // namespace ToolbarValidation
