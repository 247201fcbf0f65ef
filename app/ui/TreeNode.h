// One folder of the folder tree in memory.
#pragma once

#include <QList>
#include <QString>

#include <memory>

struct TreeNode {
    QString folderName;
    QString folderID;
    int folderType = 3;   // 1 the root "All data", 2 the Inbox, 3 a user folder
    int folderLevel = 1;  // 1 to 4
    TreeNode* folderParent = nullptr;
    QList<std::shared_ptr<TreeNode>> children;

    bool isLeaf() const { return children.isEmpty(); }
};
