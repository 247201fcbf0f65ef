// The folder tree's rules as plain functions over TreeNode: building the tree from Folder
// records, the sibling order, look-ups, depth, the name rules and the default name.
#pragma once

#include "app/ui/TreeNode.h"

#include <QCollator>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

inline constexpr int kFolderMaxLevel = 4;
inline constexpr int kFolderNameMaxLength = 40;
inline constexpr int kFolderNameForbidden = 205;
inline constexpr int kFolderNameLeadingDot = 206;
inline constexpr int kFolderNameDuplicate = 207;
inline constexpr int kFolderNotEmpty = 209;
inline constexpr int kFolderNameEmpty = 210;
inline constexpr int kFolderMoveDuplicate = 214;

struct FolderRecord {
    QString folderID;
    QString folderName;
    QString folderParent;
    int folderLevel = 1;
    int folderType = 3;
};

// The tree of `records` under the last kind-1 record; null when there is none. The root and the
// Inbox are named `rootName` and `inboxName`. A folder whose parent is missing, or that sits in a
// cycle of parents, is shown under the root as it is: nothing is rewritten until it is moved.
std::shared_ptr<TreeNode> buildFolderTree(const QList<FolderRecord>& records, const QString& rootName, const QString& inboxName);

// Sibling order: the Inbox first, then the names by the locale's collation, case-sensitive.
QCollator folderNameCollator();
bool folderNameSort(const TreeNode& a, const TreeNode& b, const QCollator& collator);
void sortChildren(TreeNode& node);
void SortAllNodeChilden(TreeNode& node);

// Pre-order search of `tree`; null when no node has `folderID`.
TreeNode* getTreeNodeByFolderID(const QString& folderID, TreeNode* tree);
QList<TreeNode*> convertTreeToArray(TreeNode* node);
// Levels below and including `node` (a folder without sub-folders has depth 1); 0 for null.
int getTreeNodeDepth(const TreeNode* node);
// The names from the level below the root down to `node`.
QStringList folderPathBelowRoot(const TreeNode* node);
bool isInSubtree(const TreeNode* node, const TreeNode* subtreeRoot);

// 210 empty, 205 a forbidden character, 206 a leading ".", 0 a good name.
int checkFolderNameFormat(const QString& name);
// True when another child of `node`'s parent, the Inbox excepted, bears `name` ignoring case.
bool checkSameFolder(const QString& name, const TreeNode* node);
// True when a child of `parent` other than `except` and the Inbox bears `name` ignoring case.
bool hasChildNamed(const TreeNode* parent, const QString& name, const TreeNode* except = nullptr);
// `base`, else `base` followed by " 2", " 3"… : the first no child of `parent` bears exactly.
QString createDefaultFolderName(const TreeNode* parent, const QString& base);

// Moves `dragged` under `destination` and gives its subtree the levels of its new place.
void moveNode(TreeNode* dragged, TreeNode* destination);
