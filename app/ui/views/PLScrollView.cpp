#include "app/ui/views/PLScrollView.h"

#include "platform/foundation/NotificationCenter.h"

PLScrollView::PLScrollView(QWidget* parent) : QScrollArea(parent)
{
    setBackgroundRole(QPalette::Dark);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Dark, QColor::fromRgbF(0.4f, 0.4f, 0.4f));
    setPalette(palette);
    setFrameShape(QFrame::NoFrame);
}

void PLScrollView::postUnlessHidden(const char* name)
{
    if (!isHidden())
        NotificationCenter::defaultCenter().post(QString::fromLatin1(name));
}

void PLScrollView::framechanged()
{
    postUnlessHidden(kSetButtonPosNotification);
}

void PLScrollView::enterEvent(QEnterEvent* event)
{
    QScrollArea::enterEvent(event);
    postUnlessHidden(kShowButtonNotification);
}

void PLScrollView::leaveEvent(QEvent* event)
{
    QScrollArea::leaveEvent(event);
    postUnlessHidden(kHideButtonNotification);
}

void PLScrollView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    framechanged();
}

void PLScrollView::moveEvent(QMoveEvent* event)
{
    QScrollArea::moveEvent(event);
    framechanged();
}
