// The arithmetic of the main window's panes: what the window-geometry preferences say, how a saved
// layout is restored, what is saved, how a window resize treats the detail editor, and where the
// texts of the status line at the window's foot go. Widgets only apply these results.
//
// Panes: the data-area split holds the folder tree (left) and the card area; in the card area the
// horizontal split holds the image-and-list area (left) and the detail editor; the vertical split
// holds the card image (top) and the card list. A pane of width 1 or less counts as hidden.
// Window positions are the top-left corner in screen coordinates, saved and restored alike.
#pragma once

#include <QRect>
#include <QSize>

#include <optional>

class PreferenceDomain;

namespace MainWindowLayout {

inline constexpr const char* kMainWindowWidth = "Main Window Width";
inline constexpr const char* kMainWindowHeight = "Main Window Height";
inline constexpr const char* kMainWindowXPos = "Main Window XPos";
inline constexpr const char* kMainWindowYPos = "Main Window YPos";
inline constexpr const char* kImgViewWidth = "ImgView Width";
inline constexpr const char* kImgViewHeight = "ImgView Height";
inline constexpr const char* kDataViewWidth = "DataView Width";
inline constexpr const char* kDataViewHeight = "DataView Height";
inline constexpr const char* kDetailViewWidth = "Detail View Width";
inline constexpr const char* kShowDetailView = "Show Detail View";
inline constexpr const char* kFolderListViewWidth = "Folder List View Width";
inline constexpr const char* kShowFolderListView = "Show Folder List View";

inline constexpr int kDetailMinWidth = 340;
inline constexpr int kLeftMinWidth = 350;
inline constexpr int kFolderMinWidth = 190;
inline constexpr int kCardAreaMinWidth = 150;
inline constexpr int kDividerWidth = 1;
// The card list pane keeps at least this many rows of the card table.
inline constexpr int kCardListMinRows = 15;
// Sizes beyond this are no window size but a damaged value.
inline constexpr int kLargestSize = 100000;

// The geometry preferences as stored; a value that is absent, not a number, negative where a size
// belongs, or beyond kLargestSize is absent here.
struct SavedLayout {
    std::optional<int> windowX, windowY, windowWidth, windowHeight;
    std::optional<int> imageWidth, imageHeight, dataWidth, dataHeight;
    std::optional<int> detailWidth;
    std::optional<int> showDetail;      // the number stored; absent when not a number
    std::optional<int> folderWidth;
    std::optional<int> showFolder;

    // Every size the restore needs is there (the nine sizes of the window, panes and detail editor).
    bool complete() const;
};
SavedLayout readSavedLayout(const PreferenceDomain& preferences);

// What the window starts with when it is first shown.
struct RestorePlan {
    std::optional<QRect> frame;         // absent: the built-in size, centred on the screen
    int detailWidth = 0;                // 0: the detail editor is hidden
    int folderWidth = 0;                // 0: the folder tree is hidden
    int hiddenFolderWidth = kFolderMinWidth; // the width a hidden folder tree comes back with
    std::optional<int> imageHeight;     // the vertical split's panes; absent: as built
    std::optional<int> listHeight;
    int detailSegment = 1;              // the show/hide controls: 1 shown, 0 hidden
    int folderSegment = 1;
};
// `builtDetailWidth` and `builtFolderWidth` are the panes' widths as the window is built;
// `screen` is the available screen area, into which a saved frame is fitted.
RestorePlan planRestore(const SavedLayout& saved, int builtDetailWidth, int builtFolderWidth, const QRect& screen);

// The folder tree width to save: a hidden tree's width leaves the card area at least 150.
int folderWidthToSave(bool folderHidden, int folderWidth, int dataAreaWidth);

// The detail editor's width after the window became `windowWidth` wide, given its width before
// the resize (0: leave the panes as they are, answered as nullopt).
std::optional<int> detailWidthAfterResize(int previousDetailWidth, int windowWidth);

// The status line at the window's foot: the folder label, the folder path, the recognition
// language and the export type, left to right.
struct StatusLineInput {
    int width = 0;            // the foot's width
    int labelX = 0;
    int labelWidth = 0;       // natural widths
    int pathWidth = 0;
    int languageWidth = 0;
    int exportWidth = 0;
};
struct StatusLineLayout {
    int pathX = 0;
    int pathWidth = 0;
    bool pathToolTip = false; // the path is cut: its tool tip shows it whole
    int languageX = 0;
    int exportX = 0;
};
StatusLineLayout layoutStatusLine(const StatusLineInput& input);

} // namespace MainWindowLayout
