#include "app/ui/views/PLCardListTableView.h"

#include "platform/foundation/NotificationCenter.h"

#include <QKeyEvent>

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
