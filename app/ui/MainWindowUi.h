// The main window's widget tree, built in code in place of a nib. Every outlet is a widget whose
// objectName is the outlet's name; controllers get these pointers and never build widgets of the
// window themselves.
//
//   _cardWindow (QMainWindow)
//     _hSplitView (PLSplitView, horizontal)
//       _vSplitView (PLSplitView, vertical)              the left pane, at least 350 wide
//         _imageView (PLView)                              the card image: _faceScrollView, _backScrollView
//                                                          (holding _faceImageView, _backImageView), _switchViewButton
//         _listView (PLView)
//           _dataAreaSplitView (PLSplitView2, horizontal)
//             _folderListView                              the folder tree: _outlineView; at least 190 wide
//             _cardAreaView                                the folder's title (_aboveFolderStatus), card table,
//                                                          trash bar, trash table; at least 150 wide
//       _detailSideView                                    at least 340 wide, a grey margin on its right:
//         _detailCardView                                    the detail editor
//         _attachBarView ("_barView")                        _attachSwitchBtn ("_switchBtn") shows or hides the
//                                                            attachments, _iconView the card's attachment badge
//         _attachTableView                                   the attachments, hidden until shown
//     toolbar: the bar views below, placed by the toolbar's item templates
//     foot: _folderListViewSegControl, _bottomFolderStatusLabel, _bottomFolderStatusPath,
//           _recognizeLanguageText, _fileExportTypeText; then _selectCountText, _currentSelectText, _dbPathField
//
// Pull-down buttons (QToolButton with a menu) keep their face apart: item 0 is the button, items
// 1 and up are the menu's actions (pullDownItem).
#pragma once

#include "app/ui/DetailEditorUi.h"
// Full types: users take these outlets as the Qt views they are.
#include "app/ui/views/PLOutlineView.h"
#include "app/ui/views/PLTableView.h"

#include <QString>

// The grey margin at the right of the detail side pane.
inline constexpr int kDetailGrayMargin = 4;

class FolderTitleView;
class PLImageView;
class PLLinkTextView;
class PLScrollView;
class PLSplitView;
class PLSplitView2;
class PLView;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMainWindow;
class QTableView;
class QToolButton;
class QTreeView;
class QWidget;

struct MainWindowUi {
    QMainWindow* _cardWindow = nullptr;

    // Panes.
    PLSplitView* _hSplitView = nullptr;
    PLSplitView* _vSplitView = nullptr;
    PLSplitView2* _dataAreaSplitView = nullptr;
    PLView* _imageView = nullptr;
    PLView* _listView = nullptr;
    QWidget* _folderListView = nullptr;
    QWidget* _cardAreaView = nullptr;
    QWidget* _detailSideView = nullptr;

    // The image pane.
    PLScrollView* _faceScrollView = nullptr;
    PLScrollView* _backScrollView = nullptr;
    PLImageView* _faceImageView = nullptr;
    PLImageView* _backImageView = nullptr;
    QToolButton* _switchViewButton = nullptr;   // flips between front and back
    // The folder tree.
    PLOutlineView* _outlineView = nullptr;
    // The card list and the trash.
    FolderTitleView* _aboveFolderStatus = nullptr; // the shown folder above the card list
    QTableView* _tvList = nullptr;
    QWidget* _barView = nullptr;
    QToolButton* _switchBtn = nullptr;
    QToolButton* _clearBtn = nullptr;
    QLabel* _trashIconView = nullptr;
    QTableView* _trashTableView = nullptr;
    // The detail side pane. The image pane's bar and its button carry the outlet names "_barView"
    // and "_switchBtn" as the trash bar's do: look them up under _detailSideView.
    PLTableView* _attachTableView = nullptr;
    QWidget* _attachBarView = nullptr;
    QToolButton* _attachSwitchBtn = nullptr;
    QLabel* _iconView = nullptr;
    QWidget* _detailCardView = nullptr;
    DetailEditorUi _detailEditor;

    // Toolbar views.
    QWidget* _exportBarView = nullptr;
    QToolButton* _exportBarButton = nullptr;
    QToolButton* _exportBarPopUpButton = nullptr;
    QWidget* _recognizeBarView = nullptr;
    QToolButton* _recognizeBarButton = nullptr;
    QToolButton* _recognizeBarPopUpButton = nullptr;
    QWidget* _searchView = nullptr;
    QLineEdit* _searchFiled = nullptr;
    QAction* _searchMenuAction = nullptr;       // opens the search field's menu
    QWidget* _imageOperationBarView = nullptr;
    QButtonGroup* _segImageOperator = nullptr;  // 0 field box, 1 move image
    QWidget* _imageEditBarView = nullptr;
    QToolButton* _imageEditPopButton = nullptr;
    QWidget* _dataEditBarView = nullptr;
    QToolButton* _dataEditBarSegControl = nullptr; // checked: segment 1 (shown)
    QWidget* _syncPopupView = nullptr;
    QToolButton* _syncPopupBtn = nullptr;
    QToolButton* _synchronizationButton = nullptr;
    QWidget* _viewApp = nullptr;
    QToolButton* _popUpBtnApp = nullptr;
    QWidget* _viewIphoto = nullptr;
    QToolButton* _IphotoPopButton = nullptr;
    QAction* _displayDataEditViewMenuItem = nullptr;

    // The foot of the window.
    QWidget* _statusLineView = nullptr;
    QToolButton* _folderListViewSegControl = nullptr; // checked: segment 1 (shown)
    QLabel* _bottomFolderStatusLabel = nullptr;
    QLabel* _bottomFolderStatusPath = nullptr;
    QLabel* _recognizeLanguageText = nullptr;
    QLabel* _fileExportTypeText = nullptr;
    QLabel* _selectCountText = nullptr;
    QLabel* _currentSelectText = nullptr;
    QLabel* _synchronizationStateText = nullptr;
    QLabel* _selectCloudConnectText = nullptr;
    QLabel* _dbPathField = nullptr;

    // Builds the tree into `window`, which becomes _cardWindow.
    void build(QMainWindow* window);
};

// Item `index` (1 and up) of a pull-down button; null when it has none.
QAction* pullDownItem(QToolButton* button, int index);
// The selected segment of a show/hide control: 1 shown, 0 hidden.
int selectedSegment(const QToolButton* control);
void setSelectedSegment(QToolButton* control, int segment);
