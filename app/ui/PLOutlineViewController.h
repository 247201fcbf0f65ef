// The folder tree beside the card list: builds itself from the Folder records of the open
// database, keeps the selected folder and hands folder changes to the card list.
//
// The tree follows the Folder records' parents (the Inbox first, then the names in order); a
// folder whose parent is missing hangs under the root until the user moves it. Adding, renaming,
// removing and moving folders write through to the store and save at once.
#pragma once

#include "app/ui/TreeNode.h"
#include "platform/store/ManagedObject.h"

#include <QIcon>
#include <QModelIndexList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

#include <functional>
#include <memory>

class ImageAndTextCell;
class QDropEvent;
class QMimeData;
class ManagedObjectContext;
class OpenDatabase;
class PLCardListController;
class PLMainWindowHost;
class FolderTitleView;
class QLabel;
class QLineEdit;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

class PLOutlineViewController : public QObject {
    Q_OBJECT
public:
    // `database` is the open database whose folder the folder tree works in.
    explicit PLOutlineViewController(const OpenDatabase& database, QObject* parent = nullptr);
    ~PLOutlineViewController() override;

    // Outlets.
    void setOutlineView(QTreeView* view) { _outlineView = view; }
    void setCardListController(PLCardListController* controller) { _cardListController = controller; }
    void setMainWindow(PLMainWindowHost* host) { _mainWinController = host; }
    void setStatusFields(QLabel* label, QLabel* path) { _bottomFolderStatusLabel = label; _bottomFolderStatusPath = path; }
    void setAboveFolderStatus(FolderTitleView* title) { _aboveFolderStatus = title; }
    // The main window's search field: a search goes on in the folder chosen next.
    void setSearchField(QLineEdit* field) { _searchFiled = field; }
    void awakeFromNib();

    QTreeView* outlineView() const { return _outlineView; }
    // The folder selected at the last selection change; null before any.
    const TreeNode* getSelectedItem() const { return m_selected; }
    // A folder name is being edited from the moment its editor opens until it is committed.
    bool isInEditing() const { return !m_folderNameBeforeEdit.isNull(); }
    void setFolderNameBeforeEdit(const QString& name) { m_folderNameBeforeEdit = name.isNull() ? QStringLiteral("") : name; }
    const QString& folderNameBeforeEdit() const { return m_folderNameBeforeEdit; }
    // The cell of the selected folder's row; null when nothing is selected or the row is not shown.
    ImageAndTextCell* selectedItemCell() const;
    // The name editor open in the tree; null when none.
    QWidget* currentEditor() const;
    // What every command runs first: a folder name being edited is committed.
    void commitFolderNameEdit();

    // Rebuilds the tree from `context` (null: empty) and restores the Version row's selection:
    // the saved folder (else the Inbox) and the saved card in the card list.
    void InitTreeListView(ManagedObjectContext* context);
    // Set when the window first opens for a search from another application: the tree then opens
    // on the root (every card) instead of the last folder. Cleared by the next build.
    void setIsLaunchFromShortCutKey(bool launched) { _isLaunchFromShortCutKey = launched; }
    // Selects the Inbox; false when the tree has no Inbox.
    bool openInbox();
    bool openFolderWithFolderID(const QString& folderID);
    const TreeNode* getTreeNodeByFolderID(const QString& folderID) const;
    const TreeNode* rootNode() const { return m_root.get(); }

    // Folder commands. Each checks the database folder (48) and the free space (11) first.
    // addFolder puts a folder with the default name under `parent` and opens its name for editing;
    // the edit's end stores it (a refused name keeps the default one).
    bool addFolder(const TreeNode* parent);
    // Commits the name being edited: `name`, or the name before the edit when refused (205, 206, 207).
    void endEditing(const QString& name);
    bool renameFolder(const TreeNode* node, const QString& name);
    // Refuses (209) a folder with sub-folders or with cards outside the trash; asks first.
    bool removeFolder(const TreeNode* node);
    bool MoveFolder(const TreeNode* dragged, const TreeNode* destination);
    // The Delete key in the tree: removes the selected user folder.
    void keyDeleteRec();

    // The main menu's folder items: New Folder adds under the selected folder, the folder list
    // item shows or hides the folder pane; each enabled by validateMenuItem (the item's objectName).
    void addFolderFromMainMenu();
    void onListSideBar();
    bool validateMenuItem(const QString& action) const;
    // The row the contextual menu is open on, outlined while it is open; invalid for none.
    QModelIndex rightClickRowForRec() const { return _rightClickRowForRec; }

    // Shows or hides the folder pane (the main window does).
    void setShowFolderPane(std::function<void(bool shown)> show) { m_showFolderPane = std::move(show); }
    // The pane is shown when it is wider than 1.
    bool isFolderPaneShown() const { return m_visibleWidth && m_visibleWidth() > 1; }
    // The folder pane's width to save, and the width a hidden pane comes back with (at least 190).
    void setFolderPaneWidthSource(std::function<int()> visibleWidth) { m_visibleWidth = std::move(visibleWidth); }
    int getFolderListViewWidth() const;
    void setHiddenFolderListViewWidth(double width);
    // The width a hidden pane is shown with in a split view `splitWidth` wide: the remembered
    // width, at least 190, leaving the card area its 150.
    int shownFolderListViewWidth(int splitWidth, int dividerWidth) const;

    // Dragging: a single user folder starts a drag of the private folder type; null otherwise.
    QMimeData* writeItems(const QModelIndexList& indexes);
    // The operation a drag over the tree may end in (0 none, 1 copy, 16 move), by the rows under
    // the pointer and what the drag carries; `onRow` is false for a drop between rows.
    int validateDrop(const QMimeData* data, QObject* source, const QModelIndex& index, bool onRow) const;
    // Ends a drop: folders move, files are imported into the folder as the card list imports
    // the files dropped on it, card rows are handed on by cardsDroppedOnFolder.
    bool acceptDrop(const QMimeData* data, QObject* source, const QModelIndex& index, bool onRow);
    // A drag entering the tree or moving over its rows (`drop` false), or dropped on them: the
    // event is accepted with its operation or ignored. An entry is taken when some shown row
    // would take the drag, wherever the pointer enters. The view's drag events arrive here.
    bool dragEvent(QDropEvent* event, bool drop);


    // The folder status at the window's foot: the selected folder's path; in the root, the path
    // of the folder of the card selected in the card list.
    void updateBottomFolderStatus();
    // The title above the card list: the selected folder's icon and name, nothing without one.
    void updateAboveFolderStatus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Card rows were dropped onto the folder `folderID`; `source` is the table they came from.
    void cardsDroppedOnFolder(QObject* source, const QString& folderID);
    // The folder status changed; the main window lays out its status line again.
    void bottomFolderStatusUpdated();
    // The selected folder changed; the main window lays out the status line again.
    void folderSelectionChanged();

private:
    void selectionChanged();
    // Builds the nodes from the Folder records; false without a root folder.
    bool reloadTree();
    void fillModel();
    QStandardItem* itemForNode(const TreeNode* node) const;
    // A folder's icon: the root's and the Inbox's own images, a user folder the system's folder icon.
    QIcon folderImage(const TreeNode* node) const;
    void selectNode(const TreeNode* node);
    bool checkDBStatus();
    // Files each card in the folder of its CardBelong, cards shared with the address book in the
    // Inbox; run at each build of the tree.
    void AssignFolderIDToCard();
    bool windowBusy() const;
    // The operation of the first row shown under `parent` (null: the whole tree) that would take
    // the drag; none when no shown row would.
    int validateDropOnShownRows(const QMimeData* data, QObject* source, const QModelIndex& parent) const;
    const TreeNode* nodeAt(const QModelIndex& index) const;
    // Shows the message of a refused name and answers false; true for a good name.
    bool checkFormat(const QString& name, const TreeNode* node);
    ManagedObjectPtr folderRecord(const QString& folderID);
    // Saves at once; a refused save is reported (48) and the folder changes taken back: false.
    bool saveStore();
    // Builds the tree again from the store and selects the folder (the Inbox when it is gone).
    void showStoredTree(QString folderID);

    QTreeView* _outlineView = nullptr;
    PLCardListController* _cardListController = nullptr;
    PLMainWindowHost* _mainWinController = nullptr;
    QString m_dragFolderID;
    bool _isLaunchFromShortCutKey = false;
    FolderTitleView* _aboveFolderStatus = nullptr;
    QLabel* _bottomFolderStatusLabel = nullptr;
    QLabel* _bottomFolderStatusPath = nullptr;
    QStandardItemModel* m_model = nullptr;
    ImageAndTextCell* m_cell = nullptr;
    ManagedObjectContext* m_context = nullptr;
    std::shared_ptr<TreeNode> m_root;
    const TreeNode* m_selected = nullptr;
    QString m_folderNameBeforeEdit;   // not null while a name is being edited
    QString m_rightClickFolderID;     // the folder the contextual menu was opened on
    QPersistentModelIndex _rightClickRowForRec; // its row, while the menu is open
    QLineEdit* _searchFiled = nullptr;
    std::function<void(bool)> m_showFolderPane;
    bool m_adding = false;            // the edited name is that of a folder not stored yet
    bool m_filling = false;
    std::function<int()> m_visibleWidth;
    int m_hiddenWidth = 190;
    const OpenDatabase& m_database;
};
