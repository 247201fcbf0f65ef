// The folder tree beside the card list: builds itself from the Folder records of the open
// database, keeps the selected folder and hands folder changes to the card list.
//
// The tree follows the Folder records' parents (the Inbox first, then the names in order); a
// folder whose parent is missing hangs under the root until the user moves it. Adding, renaming,
// removing and moving folders write through to the store and save at once.
#pragma once

#include "app/ui/TreeNode.h"
#include "platform/store/ManagedObject.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ManagedObjectContext;
class OpenDatabase;
class PLCardListController;
class QLabel;
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
    void setStatusFields(QLabel* label, QLabel* path) { _bottomFolderStatusLabel = label; _bottomFolderStatusPath = path; }
    void awakeFromNib();

    QTreeView* outlineView() const { return _outlineView; }
    // The folder selected at the last selection change; null before any.
    const TreeNode* getSelectedItem() const { return m_selected; }
    bool isInEditing() const { return !m_folderNameBeforeEdit.isNull(); }

    // Rebuilds the tree from `context` (null: empty) and restores the Version row's selection:
    // the saved folder (else the Inbox) and the saved card in the card list.
    void InitTreeListView(ManagedObjectContext* context);
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

    // The folder pane's width to save, and the width a hidden pane comes back with (at least 190).
    void setFolderPaneWidthSource(std::function<int()> visibleWidth) { m_visibleWidth = std::move(visibleWidth); }
    int getFolderListViewWidth() const;
    void setHiddenFolderListViewWidth(double width);
    int hiddenFolderListViewWidth() const { return m_hiddenWidth; }

    // The folder status at the window's foot: the selected folder's path.
    void updateBottomFolderStatus();

signals:
    // The selected folder changed; the main window lays out the status line again.
    void folderSelectionChanged();

private:
    void selectionChanged();
    // Builds the nodes from the Folder records; false without a root folder.
    bool reloadTree();
    void fillModel();
    QStandardItem* itemForNode(const TreeNode* node) const;
    void selectNode(const TreeNode* node);
    bool checkDBStatus();
    // Shows the message of a refused name and answers false; true for a good name.
    bool checkFormat(const QString& name, const TreeNode* node);
    ManagedObjectPtr folderRecord(const QString& folderID);
    void saveStore();
    void itemEdited(QStandardItem* item);

    QTreeView* _outlineView = nullptr;
    PLCardListController* _cardListController = nullptr;
    QLabel* _bottomFolderStatusLabel = nullptr;
    QLabel* _bottomFolderStatusPath = nullptr;
    QStandardItemModel* m_model = nullptr;
    ManagedObjectContext* m_context = nullptr;
    std::shared_ptr<TreeNode> m_root;
    const TreeNode* m_selected = nullptr;
    QString m_folderNameBeforeEdit;   // not null while a name is being edited
    QString m_rightClickFolderID;     // the folder the contextual menu was opened on
    bool m_adding = false;            // the edited name is that of a folder not stored yet
    bool m_filling = false;
    std::function<int()> m_visibleWidth;
    int m_hiddenWidth = 190;
    const OpenDatabase& m_database;
};
