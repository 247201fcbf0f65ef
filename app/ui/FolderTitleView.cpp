#include "app/ui/FolderTitleView.h"

#include <QPainter>
#include <QStyle>

#include <cmath>

FolderTitleView::Placement FolderTitleView::placeTitle(int barWidth, int needed)
{
    const int room = barWidth - 2 * kSideMargin;
    if (room >= needed)
        return {int((room - needed) * 0.5) + kSideMargin, needed, false};
    return {kSideMargin, std::max(room, 0), true};
}

FolderTitleView::FolderTitleView(QWidget* parent) : QWidget(parent), m_cell(this)
{
    // A strip of one line's height; a long title is cut rather than widening the card area.
    setFixedHeight(sizeHint().height());
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void FolderTitleView::setTitle(const QPixmap& icon, const QString& text)
{
    m_cell.setImage(icon);
    m_text = text;
    setAccessibleName(text);
    resetLayout();
    update();
}

QSize FolderTitleView::sizeHint() const
{
    const QSize text(fontMetrics().horizontalAdvance(m_text) + ImageAndTextCell::kTextShift,
                     std::max(fontMetrics().height(), ImageAndTextCell::kImageSide) + 4);
    return m_cell.cellSize(text) + QSize(2 * kSideMargin, 0);
}

void FolderTitleView::resetLayout()
{
    const int needed = m_text.isEmpty() && m_cell.image().isNull() ? 0 : sizeHint().width() - 2 * kSideMargin;
    const Placement placement = placeTitle(width(), needed);
    m_titleRect = QRect(placement.x, 0, placement.width, height());
    setToolTip(placement.cut ? m_text : QString());
}

void FolderTitleView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    resetLayout();
}

void FolderTitleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect textRect = m_titleRect;
    if (!m_cell.image().isNull()) {
        QRect imageRect(m_titleRect.x() + ImageAndTextCell::kImageGap, 0, ImageAndTextCell::kImageSide, ImageAndTextCell::kImageSide);
        imageRect.translate(0, int(std::ceil((height() - ImageAndTextCell::kImageSide) * 0.5)));
        painter.drawPixmap(imageRect, m_cell.image());
        textRect = m_cell.titleRectForBounds(m_titleRect);
    }
    const QString shown = fontMetrics().elidedText(m_text, Qt::ElideRight, textRect.width());
    style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), shown, QPalette::WindowText);
}
