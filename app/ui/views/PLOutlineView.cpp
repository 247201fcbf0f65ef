#include "app/ui/views/PLOutlineView.h"

#include "app/core/LocalString.h"
#include "app/core/PLNetDBLockController.h"
#include "platform/foundation/NotificationCenter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

PLOutlineView::PLOutlineView(QWidget* parent) : QTreeView(parent)
{
    m_outlineMenu = new QMenu(this);
    m_outlineMenu->setObjectName(QStringLiteral("outlineMenu"));
    m_outlineMenu->addAction(getLocalString(QStringLiteral("IDS_FOLDER_MENU_ADD")))->setObjectName(QStringLiteral("addFolderFromContextMenu"));
    m_outlineMenu->addAction(getLocalString(QStringLiteral("IDS_FOLDER_MENU_REMOVE")))->setObjectName(QStringLiteral("removeFolder"));
}

QMenu* PLOutlineView::menuForEvent(const QPoint& position)
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid() || !m_folderOfRow)
        return nullptr;
    const auto [type, level] = m_folderOfRow(index);
    const bool editing = state() == QAbstractItemView::EditingState && index == currentIndex();
    const bool blocked = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly || (m_sheetShown && m_sheetShown());
    const FolderContextMenu rules = folderContextMenu(type, level, editing, blocked);
    if (!rules.shown)
        return nullptr;
    emit rightClickRow(index);
    const QList<QAction*> items = m_outlineMenu->actions();
    items[0]->setEnabled(rules.addEnabled);
    items[1]->setVisible(rules.removeVisible);
    items[1]->setEnabled(rules.removeEnabled);
    // A name being typed in another row is committed before the menu opens.
    if (state() == QAbstractItemView::EditingState)
        setFocus(Qt::OtherFocusReason);
    viewport()->update();
    return m_outlineMenu;
}

void PLOutlineView::contextMenuEvent(QContextMenuEvent* event)
{
    if (QMenu* menu = menuForEvent(event->pos()))
        menu->popup(event->globalPos());
}

// The right button only opens the menu: the view's own handling would select the row under it.
void PLOutlineView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void PLOutlineView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

namespace {

bool takesDeleteKey(const QKeyEvent* event)
{
    const bool deleteKey = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
    return deleteKey && event->modifiers() == Qt::NoModifier && PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly;
}

} // namespace

bool PLOutlineView::event(QEvent* event)
{
    // The Delete key removes a folder here: the Edit menu's Delete shortcut must not take it first.
    if (event->type() == QEvent::ShortcutOverride && takesDeleteKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTreeView::event(event);
}

void PLOutlineView::keyPressEvent(QKeyEvent* event)
{
    if (takesDeleteKey(event)) {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kDeleteKeyDownNotification), this);
        return;
    }
    QTreeView::keyPressEvent(event);
}
