// The folder tree beside the card list: builds itself from the Folder records of the open
// database, keeps the selected folder and hands folder changes to the card list.
//
// This is the frame's tree: the root "All data" with every other folder below it, in the store's
// order, and the saved selection restored from the Version row. Folder editing, moves and the
// drop rules belong here too, as the folder tree grows.
#pragma once

#include "app/ui/TreeNode.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ManagedObjectContext;
class PLCardListController;
class QLabel;
class QStandardItemModel;
class QTreeView;

class PLOutlineViewController : public QObject {
    Q_OBJECT
public:
    explicit PLOutlineViewController(QObject* parent = nullptr);
    ~PLOutlineViewController() override;

    // Outlets.
    void setOutlineView(QTreeView* view) { _outlineView = view; }
    void setCardListController(PLCardListController* controller) { _cardListController = controller; }
    void setStatusFields(QLabel* label, QLabel* path) { _bottomFolderStatusLabel = label; _bottomFolderStatusPath = path; }
    void awakeFromNib();

    QTreeView* outlineView() const { return _outlineView; }
    // The folder selected at the last selection change; null before any.
    const TreeNode* getSelectedItem() const { return m_selected; }
    bool isInEditing() const { return false; }

    // Rebuilds the tree from `context` (null: empty) and restores the Version row's selection:
    // the saved folder (else the Inbox) and the saved card in the card list.
    void InitTreeListView(ManagedObjectContext* context);
    // Selects the Inbox; false when the tree has no Inbox.
    bool openInbox();
    void openFolderWithFolderID(const QString& folderID);
    const TreeNode* getTreeNodeByFolderID(const QString& folderID) const;

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
    const TreeNode* nodeAtRow(int row) const;

    QTreeView* _outlineView = nullptr;
    PLCardListController* _cardListController = nullptr;
    QLabel* _bottomFolderStatusLabel = nullptr;
    QLabel* _bottomFolderStatusPath = nullptr;
    QStandardItemModel* m_model = nullptr;
    ManagedObjectContext* m_context = nullptr;
    std::shared_ptr<TreeNode> m_root;
    QList<const TreeNode*> m_rows;   // row 0 the root, then its children
    const TreeNode* m_selected = nullptr;
    std::function<int()> m_visibleWidth;
    int m_hiddenWidth = 190;
};
