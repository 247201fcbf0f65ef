#include "app/ui/views/PLView.h"

#include "platform/foundation/NotificationCenter.h"

void PLView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kViewDidResizeNotification), this);
}
