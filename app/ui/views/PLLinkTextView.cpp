#include "app/ui/views/PLLinkTextView.h"

#include "platform/foundation/NotificationCenter.h"

#include <QKeyEvent>

void PLLinkTextView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kReturnDownNotification));
        return;
    }
    QTextBrowser::keyPressEvent(event);
}
