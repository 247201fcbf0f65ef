// The rules of a card's attachments that need no window: which names a file may have, how many
// files a card holds, and which items of the attachment menus and which drops are offered.
#pragma once

#include <QString>

#include <array>

namespace AttachmentRules {

// The most attachments a card holds.
inline constexpr int kMaxAttachments = 100;

// A name an attached file may carry: not beginning with "." and without "/" or ":".
bool isAcceptableName(const QString& name);
// Whether `adding` more files fit beside the `listed` ones.
bool fitsBeside(qsizetype listed, qsizetype adding);

// What the attachment menus and the drop on the list look at.
struct State {
    bool readOnly = false; // the database is open in open mode 1
    bool sheetAttached = false; // the main window shows a sheet
    bool modalWindow = false; // a modal window runs
    bool cardShown = false; // one card's attachments are listed
    bool listVisible = false; // the attachment list is shown
    int selectedRows = 0;
};

// The list's contextual menu: add, delete, rename, information. `selectedRows` is taken after a
// click on a row has made that row the selection.
std::array<bool, 4> contextualMenuItems(const State& state);
// The main menu's attachment menu: add, delete, information.
std::array<bool, 3> mainMenuItems(const State& state);

// What a drag over the list may do: copy files in, or nothing.
struct Drop {
    bool fromInsideApplication = false; // the drag has a source in this application
    bool hasFiles = false; // the drag carries file names
    int listed = 0; // attachments the card holds
};
bool offersCopy(const State& state, const Drop& drop);

} // namespace AttachmentRules
