#include "app/linkage/prefs/PLAppListBtnView.h"

#include <QPainter>

PLAppListBtnView::PLAppListBtnView(QWidget* parent) : QWidget(parent) {}

void PLAppListBtnView::setImgCenter(const QPixmap& center, const QPixmap& right)
{
    if (center.isNull() || right.isNull())
        return;
    m_imgCenter = center;
    m_imgRight = right;
    update();
}

void PLAppListBtnView::paintEvent(QPaintEvent*)
{
    if (m_imgCenter.isNull() || m_imgRight.isNull())
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(rect(), m_imgCenter, m_imgCenter.rect());
    const int rightWidth = qRound(m_imgRight.deviceIndependentSize().width());
    painter.drawPixmap(QRect(width() - rightWidth, 0, rightWidth, height()), m_imgRight, m_imgRight.rect());
}
