#include "app/ui/FolderTree.h"

#include "app/core/CardEntities.h"
#include "platform/foundation/Log.h"

#include <QCollator>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

void appendChild(TreeNode* parent, const std::shared_ptr<TreeNode>& child)
{
    child->folderParent = parent;
    parent->children.append(child);
}

} // namespace

std::shared_ptr<TreeNode> buildFolderTree(const QList<FolderRecord>& records, const QString& rootName, const QString& inboxName)
{
    QList<std::shared_ptr<TreeNode>> nodes;
    int rootIndex = -1;
    for (const FolderRecord& record : records) {
        auto node = std::make_shared<TreeNode>();
        node->folderID = record.folderID;
        node->folderLevel = record.folderLevel;
        node->folderType = record.folderType;
        node->folderName = record.folderType == kFolderTypeRoot ? rootName : record.folderType == kFolderTypeInbox ? inboxName : record.folderName;
        if (record.folderType == kFolderTypeRoot)
            rootIndex = int(nodes.size());
        nodes.append(node);
    }
    if (rootIndex < 0)
        return nullptr;
    const std::shared_ptr<TreeNode> root = nodes[rootIndex];

    // A parent is the first node, in record order, that bears the identifier.
    QHash<QString, int> firstWithID;
    for (int i = int(nodes.size()) - 1; i >= 0; --i)
        firstWithID[nodes[i]->folderID] = i;
    QHash<int, QList<int>> childrenOf;
    QList<int> parentOf(nodes.size(), -1);
    for (int i = 0; i < nodes.size(); ++i) {
        if (i == rootIndex)
            continue;
        const int parent = firstWithID.value(records[i].folderParent, -1);
        if (parent >= 0 && parent != i) {
            parentOf[i] = parent;
            childrenOf[parent].append(i);
        }
    }

    QList<bool> placed(nodes.size(), false);
    placed[rootIndex] = true;
    auto placeBelow = [&](int top) {
        QList<int> pending{top};
        while (!pending.isEmpty()) {
            const int index = pending.takeFirst();
            for (int child : childrenOf.value(index)) {
                if (placed[child] || child == rootIndex)
                    continue;
                placed[child] = true;
                appendChild(nodes[index].get(), nodes[child]);
                pending.append(child);
            }
        }
    };
    placeBelow(rootIndex);
    // What the root does not reach hangs under the root: first the folders whose parent is
    // missing, with their sub-folders, then what is left of the cycles.
    for (const bool missingParentsOnly : {true, false}) {
        for (int i = 0; i < nodes.size(); ++i) {
            if (placed[i] || (missingParentsOnly && parentOf[i] >= 0))
                continue;
            placed[i] = true;
            appendChild(root.get(), nodes[i]);
            placeBelow(i);
        }
    }
    SortAllNodeChilden(*root);
    return root;
}

QCollator folderNameCollator()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

bool folderNameSort(const TreeNode& a, const TreeNode& b, const QCollator& collator)
{
    if (a.folderType == kFolderTypeInbox || b.folderType == kFolderTypeInbox)
        return a.folderType == kFolderTypeInbox && b.folderType != kFolderTypeInbox;
    return collator.compare(a.folderName, b.folderName) < 0;
}

namespace {

void sortChildrenWith(TreeNode& node, const QCollator& collator)
{
    std::stable_sort(node.children.begin(), node.children.end(), [&](const std::shared_ptr<TreeNode>& a, const std::shared_ptr<TreeNode>& b) {
        return folderNameSort(*a, *b, collator);
    });
}

} // namespace

void sortChildren(TreeNode& node)
{
    sortChildrenWith(node, folderNameCollator());
}

void SortAllNodeChilden(TreeNode& node)
{
    const QCollator collator = folderNameCollator();
    for (TreeNode* each : convertTreeToArray(&node))
        sortChildrenWith(*each, collator);
}

TreeNode* getTreeNodeByFolderID(const QString& folderID, TreeNode* tree)
{
    for (TreeNode* node : convertTreeToArray(tree)) {
        if (node->folderID == folderID)
            return node;
    }
    return nullptr;
}

QList<TreeNode*> convertTreeToArray(TreeNode* node)
{
    QList<TreeNode*> all;
    if (!node)
        return all;
    QList<TreeNode*> stack{node};
    while (!stack.isEmpty()) {
        TreeNode* current = stack.takeLast();
        all.append(current);
        for (auto child = current->children.rbegin(); child != current->children.rend(); ++child)
            stack.append(child->get());
    }
    return all;
}

int getTreeNodeDepth(const TreeNode* node)
{
    if (!node)
        return 0;
    int deepest = node->folderLevel;
    for (const TreeNode* each : convertTreeToArray(const_cast<TreeNode*>(node)))
        deepest = std::max(deepest, each->folderLevel);
    return std::max(0, deepest - node->folderLevel + 1);
}

QStringList folderPathBelowRoot(const TreeNode* node)
{
    QStringList names;
    for (; node && node->folderType != kFolderTypeRoot; node = node->folderParent)
        names.prepend(node->folderName);
    return names;
}

bool isInSubtree(const TreeNode* node, const TreeNode* subtreeRoot)
{
    for (; node; node = node->folderParent) {
        if (node == subtreeRoot)
            return true;
    }
    return false;
}

int checkFolderNameFormat(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\/:,;*?\"<>|!=");
    if (name.isEmpty())
        return kFolderNameEmpty;
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); }))
        return kFolderNameForbidden;
    if (name.startsWith(QLatin1Char('.')))
        return kFolderNameLeadingDot;
    return 0;
}

bool hasChildNamed(const TreeNode* parent, const QString& name, const TreeNode* except)
{
    if (!parent)
        return false;
    const QString upper = name.toUpper();
    return std::any_of(parent->children.begin(), parent->children.end(), [&](const std::shared_ptr<TreeNode>& child) {
        return child.get() != except && child->folderType != kFolderTypeInbox && child->folderName.toUpper() == upper;
    });
}

bool checkSameFolder(const QString& name, const TreeNode* node)
{
    if (name.isEmpty()) {
        PLNSLog(QStringLiteral("folderName is empty"));
        return false;
    }
    if (!node) {
        PLNSLog(QStringLiteral("node is nil"));
        return false;
    }
    return hasChildNamed(node->folderParent, name, node);
}

QString createDefaultFolderName(const TreeNode* parent, const QString& base)
{
    if (!parent) {
        PLNSLog(QStringLiteral("parentNode is nil"));
        return base;
    }
    QSet<QString> taken;
    for (const std::shared_ptr<TreeNode>& child : parent->children)
        taken.insert(child->folderName);
    QString candidate = base;
    for (int i = 2; taken.contains(candidate); ++i)
        candidate = base + QStringLiteral(" %1").arg(i);
    return candidate;
}

void moveNode(TreeNode* dragged, TreeNode* destination)
{
    TreeNode* oldParent = dragged->folderParent;
    std::shared_ptr<TreeNode> owned;
    if (oldParent) {
        for (qsizetype i = 0; i < oldParent->children.size(); ++i) {
            if (oldParent->children[i].get() == dragged) {
                owned = oldParent->children.takeAt(i);
                break;
            }
        }
    }
    if (!owned)
        return;
    // Levels follow the new place; an orphan's stored level says nothing about where it hangs.
    const int shift = destination->folderLevel + 1 - dragged->folderLevel;
    for (TreeNode* each : convertTreeToArray(dragged))
        each->folderLevel += shift;
    appendChild(destination, owned);
    sortChildren(*destination);
}
