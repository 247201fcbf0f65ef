// A drag from another program over a view, sent as the window system sends it.
#pragma once

#include "app/ui/logic/FolderDropRules.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPoint>
#include <QWidget>

// The drag enters `viewport` at `enter` and moves to `at`: the operation it would end in. It
// leaves again, or with `drop` is dropped at `at`.
inline int dragOverViewport(QWidget* viewport, const QMimeData* data, const QPoint& enter, const QPoint& at, bool drop = false)
{
    QDragEnterEvent entered(enter, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &entered);
    if (!entered.isAccepted())
        return kDragOperationNone;
    QDragMoveEvent moved(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &moved);
    int operation = moved.isAccepted() ? (moved.dropAction() == Qt::CopyAction ? kDragOperationCopy : kDragOperationMove)
                                       : kDragOperationNone;
    if (drop) {
        QDropEvent dropped(at, moved.dropAction(), data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &dropped);
        if (!dropped.isAccepted())
            operation = kDragOperationNone;
    } else {
        QDragLeaveEvent left;
        QCoreApplication::sendEvent(viewport, &left);
    }
    return operation;
}
