// The folder tree's view. A right click offers the contextual menu (add a folder under the row,
// remove the row's folder) by the rules of FolderContextMenu, and tells which row was clicked; it
// leaves the selection, and so the card list, on the folder that was selected;
// the Delete and Backspace keys post "delete key down" with the view as object, unless the
// database is open read-only; the view keeps those keys from the Edit menu's shortcut.
#pragma once

#include "app/ui/logic/FolderMenuRules.h"

#include <QTreeView>

#include <functional>

class QMenu;

inline constexpr const char* kDeleteKeyDownNotification = "delete key down";

class PLOutlineView : public QTreeView {
    Q_OBJECT
public:
    explicit PLOutlineView(QWidget* parent = nullptr);

    // Item 0 adds a folder, item 1 removes one.
    QMenu* outlineMenu() const { return m_outlineMenu; }
    // The folder type and level of a row's folder: the tree answers.
    void setFolderOfRow(std::function<std::pair<int, int>(const QModelIndex&)> folderOfRow) { m_folderOfRow = std::move(folderOfRow); }
    // Whether the main window shows a sheet.
    void setSheetShown(std::function<bool()> sheetShown) { m_sheetShown = std::move(sheetShown); }
    // The menu for a click at `position` (viewport coordinates), its items set; null for none.
    QMenu* menuForEvent(const QPoint& position);

signals:
    // setRightClickRow: the row the menu was opened on.
    void rightClickRow(const QModelIndex& index);

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_outlineMenu = nullptr;
    std::function<std::pair<int, int>(const QModelIndex&)> m_folderOfRow;
    std::function<bool()> m_sheetShown;
};
