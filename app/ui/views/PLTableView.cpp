#include "app/ui/views/PLTableView.h"

#include "app/ui/views/MatterAdapter.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace {

// Name cells are edited in a line edit that takes at most 255 characters, line breaks refused.
class NameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            MatterAdapter::attach(line, std::make_shared<PLMatter>(PLTableView::kNameMaxLength));
        return editor;
    }
};

} // namespace

PLTableView::PLTableView(QWidget* parent) : QTableView(parent)
{
    setItemDelegateForColumn(kNameColumn, new NameDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

int PLTableView::editedRow() const
{
    return state() == QAbstractItemView::EditingState ? currentIndex().row() : -1;
}

void PLTableView::endEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PLTableView::commitData(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        m_editedName = PLMatter::firstLine(line->text());
}

void PLTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool movesOn = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, movesOn ? QAbstractItemDelegate::NoHint : hint);
    setFocus(Qt::OtherFocusReason);
    // The rename reloads the list, which must not happen under an open editor.
    if (!m_editedName.isNull())
        emit fileNameEdited(std::exchange(m_editedName, QString()));
}

void PLTableView::contextMenuEvent(QContextMenuEvent* event)
{
    // Right clicks reach the list through its viewport, in the viewport's coordinates.
    m_clickedRow = indexAt(event->pos()).row();
    if (m_menu)
        m_menu->popup(event->globalPos());
}

void PLTableView::startDrag(Qt::DropActions)
{
    if (!m_dataSource || !selectionModel())
        return;
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QMimeData* data = m_dataSource->writeRowsWithIndexes(rows);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void PLTableView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void PLTableView::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_dataSource && m_dataSource->validateDrop(event->mimeData(), event->source() != nullptr)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void PLTableView::dropEvent(QDropEvent* event)
{
    const bool fromInside = event->source() != nullptr;
    if (m_dataSource && m_dataSource->validateDrop(event->mimeData(), fromInside) && m_dataSource->acceptDrop(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}
