#include "app/ui/views/PLCardListTableView.h"

#include "app/ui/logic/PLCardListUndoManager.h"
#include "platform/foundation/NotificationCenter.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

void PLCardListTableView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && !(event->modifiers() & ~Qt::KeypadModifier)) {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kKeyDownNotification), this);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void PLCardListTableView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    emit firstResponderChanged(true);
}

void PLCardListTableView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    emit firstResponderChanged(false);
    emit lostUndo();
}

void PLCardListTableView::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_menu) {
        QTableView::contextMenuEvent(event);
        return;
    }
    m_menu->popup(event->globalPos());
    event->accept();
}

void PLCardListTableView::startDrag(Qt::DropActions)
{
    if (!m_dragSource || !selectionModel())
        return;
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QMimeData* data = rows.isEmpty() ? nullptr : m_dragSource(rows);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(m_dragActions, m_dragActions & Qt::CopyAction ? Qt::CopyAction : Qt::MoveAction);
}

PLCardListUndoManager* PLCardListTableView::undoManager()
{
    return m_delegate ? m_delegate->undoManagerForTableView(this) : nullptr;
}

bool PLCardListTableView::validateUndo(QString* undoTitle)
{
    PLCardListUndoManager* manager = undoManager();
    if (!manager || !manager->canUndo())
        return false;
    if (undoTitle)
        *undoTitle = manager->undoMenuItemTitle();
    return true;
}

bool PLCardListTableView::validateDelete() const
{
    return m_delegate && m_delegate->canDeleteRecords() && selectionModel() && selectionModel()->hasSelection();
}

bool PLCardListTableView::undo()
{
    PLCardListUndoManager* manager = undoManager();
    return manager && manager->undo();
}

void PLCardListTableView::deleteItem()
{
    if (m_delegate)
        m_delegate->deleteTableViewItem(window()->focusWidget());
}
