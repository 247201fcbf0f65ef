#include "app/ui/PLOutlineViewController.h"

#include "app/core/CardEntities.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "platform/foundation/Log.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>

PLOutlineViewController::PLOutlineViewController(QObject* parent) : QObject(parent) {}

PLOutlineViewController::~PLOutlineViewController() = default;

void PLOutlineViewController::awakeFromNib()
{
    if (!_outlineView)
        return;
    m_model = new QStandardItemModel(this);
    _outlineView->setModel(m_model);
    connect(_outlineView->selectionModel(), &QItemSelectionModel::currentChanged, this, &PLOutlineViewController::selectionChanged);
}

const TreeNode* PLOutlineViewController::nodeAtRow(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row] : nullptr;
}

void PLOutlineViewController::InitTreeListView(ManagedObjectContext* context)
{
    if (!m_model)
        return;
    m_context = context;
    if (!reloadTree())
        return;
    const ManagedObjectList versions = context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityVersion), {}, {}});
    const QString folderID = versions.isEmpty() ? QString() : versions.first()->stringValue(QStringLiteral("Sel_Folder_ID"));
    const QString cardID = versions.isEmpty() ? QString() : versions.first()->stringValue(QStringLiteral("Sel_Card_ID"));
    if (folderID.isEmpty() || !getTreeNodeByFolderID(folderID))
        openInbox();
    else
        openFolderWithFolderID(folderID);
    if (_cardListController && !cardID.isEmpty())
        _cardListController->selectCardWithID(cardID);
}

bool PLOutlineViewController::reloadTree()
{
    ManagedObjectContext* context = m_context;
    m_selected = nullptr;
    m_rows.clear();
    m_root.reset();
    m_model->clear();
    if (!context)
        return false;
    const ManagedObjectList folders = context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityFolder), {}, {}});
    auto node = [](const ManagedObjectPtr& folder) {
        auto tree = std::make_shared<TreeNode>();
        tree->folderName = folder->stringValue(QStringLiteral("folder_Name"));
        tree->folderID = folder->stringValue(QStringLiteral("folder_ID"));
        tree->folderType = folder->value(QStringLiteral("folder_Type")).toInt();
        tree->folderLevel = folder->value(QStringLiteral("folder_Level")).toInt();
        return tree;
    };
    const auto root = std::find_if(folders.begin(), folders.end(), [](const ManagedObjectPtr& f) { return f->value(QStringLiteral("folder_Type")).toInt() == kFolderTypeRoot; });
    if (root == folders.end())
        return false;
    m_root = node(*root);
    // The Inbox first, then the user's folders.
    ManagedObjectList others;
    for (const ManagedObjectPtr& folder : folders) {
        if (folder != *root)
            others.append(folder);
    }
    std::stable_sort(others.begin(), others.end(), [](const ManagedObjectPtr& a, const ManagedObjectPtr& b) {
        return (a->value(QStringLiteral("folder_Type")).toInt() == kFolderTypeInbox) > (b->value(QStringLiteral("folder_Type")).toInt() == kFolderTypeInbox);
    });
    auto* rootItem = new QStandardItem(m_root->folderName);
    rootItem->setEditable(false);
    m_model->appendRow(rootItem);
    m_rows.append(m_root.get());
    for (const ManagedObjectPtr& folder : std::as_const(others)) {
        std::shared_ptr<TreeNode> child = node(folder);
        child->folderParent = m_root.get();
        m_root->children.append(child);
        auto* item = new QStandardItem(child->folderName);
        item->setEditable(false);
        rootItem->appendRow(item);
        m_rows.append(child.get());
    }
    _outlineView->expandAll();
    return true;
}

const TreeNode* PLOutlineViewController::getTreeNodeByFolderID(const QString& folderID) const
{
    for (const TreeNode* node : m_rows) {
        if (node->folderID == folderID)
            return node;
    }
    return nullptr;
}

bool PLOutlineViewController::openInbox()
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row]->folderType == kFolderTypeInbox) {
            openFolderWithFolderID(m_rows[row]->folderID);
            return true;
        }
    }
    return false;
}

void PLOutlineViewController::openFolderWithFolderID(const QString& folderID)
{
    // A folder made since the tree was built is shown once the tree is built again.
    if (!getTreeNodeByFolderID(folderID) && m_context)
        reloadTree();
    const int row = int(m_rows.indexOf(getTreeNodeByFolderID(folderID)));
    if (row < 0 || !m_model)
        return;
    const QModelIndex index = row == 0 ? m_model->index(0, 0) : m_model->index(row - 1, 0, m_model->index(0, 0));
    _outlineView->setCurrentIndex(index);
    _outlineView->scrollTo(index);
    if (m_selected != m_rows[row])
        selectionChanged();
}

void PLOutlineViewController::selectionChanged()
{
    const QModelIndex current = _outlineView->currentIndex();
    m_selected = !current.isValid() ? nullptr : nodeAtRow(current.parent().isValid() ? current.row() + 1 : 0);
    if (_cardListController)
        _cardListController->setPredicate();
    updateBottomFolderStatus();
    emit folderSelectionChanged();
}

int PLOutlineViewController::getFolderListViewWidth() const
{
    const int width = m_visibleWidth ? m_visibleWidth() : 0;
    return width > 1 ? width : m_hiddenWidth;
}

void PLOutlineViewController::setHiddenFolderListViewWidth(double width)
{
    m_hiddenWidth = std::max(MainWindowLayout::kFolderMinWidth, int(width));
}

void PLOutlineViewController::updateBottomFolderStatus()
{
    if (!_bottomFolderStatusLabel || !_bottomFolderStatusPath)
        return;
    QStringList path;
    for (const TreeNode* node = m_selected; node; node = node->folderParent)
        path.prepend(node->folderName);
    _bottomFolderStatusPath->setText(path.join(QStringLiteral(" / ")));
}
