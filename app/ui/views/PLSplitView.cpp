#include "app/ui/views/PLSplitView.h"

#include "platform/foundation/NotificationCenter.h"

#include <QResizeEvent>

PLSplitView::PLSplitView(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent)
{
    setHandleWidth(1);
    setChildrenCollapsible(false);
    setStyleSheet(QStringLiteral("QSplitter::handle { background-color: rgb(102, 102, 102); }"));
}

void PLSplitView2::resizeEvent(QResizeEvent* event)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(QString::fromLatin1(kSplitViewWillResizeNotification), this, {{QStringLiteral("oldSize"), event->oldSize()}});
    PLSplitView::resizeEvent(event);
    center.post(QString::fromLatin1(kSplitViewDidResizeNotification), this);
}
