#include "app/linkage/prefs/PLAppListTableView.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

PLAppListTableView::PLAppListTableView(QWidget* parent) : QTableWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
}

int PLAppListTableView::dropRowAt(const QPoint& pos, bool* above) const
{
    *above = true;
    const int row = rowAt(pos.y());
    if (row < 0)
        return pos.y() < 0 ? 0 : rowCount();
    const QRect rect = visualRect(model()->index(row, 0));
    // The quarter of a row next to either edge means the gap on that side; its middle means the row itself.
    const int edge = rect.height() / 4;
    if (pos.y() < rect.top() + edge)
        return row;
    if (pos.y() > rect.bottom() - edge)
        return row + 1;
    *above = false;
    return row;
}

void PLAppListTableView::startDrag(Qt::DropActions)
{
    if (!writeRows || !writeRows(currentRow()))
        return;
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kRowDragType), QByteArray());
    data->setText(QString());
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

void PLAppListTableView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(kRowDragType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PLAppListTableView::dragMoveEvent(QDragMoveEvent* event)
{
    bool above = false;
    const int row = dropRowAt(event->position().toPoint(), &above);
    if (event->mimeData()->hasFormat(QString::fromLatin1(kRowDragType)) && validateDrop && validateDrop(row, above)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void PLAppListTableView::dropEvent(QDropEvent* event)
{
    bool above = false;
    const int row = dropRowAt(event->position().toPoint(), &above);
    if (event->mimeData()->hasFormat(QString::fromLatin1(kRowDragType)) && validateDrop && validateDrop(row, above) && acceptDrop
        && acceptDrop(row)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}
