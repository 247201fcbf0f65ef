#include "app/images/merge/PLMergeCardImageView.h"

#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/images/PLMergeModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kRingColour = QColor::fromRgbF(0.9f, 0.5f, 0.2f, 1.0f);
constexpr int kDragImageSide = 150;

// Watches the keyboard while a drag runs: a drag ended with Escape is a cancel, not a drop outside.
class EscapeWatcher : public QObject {
public:
    bool escaped = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            escaped = true;
        return false;
    }
};

} // namespace

PLMergeCardImageView::PLMergeCardImageView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PLMergeCardImageView::setImageRep(const QImage& image)
{
    _imageRep = image;
    if (image.isNull())
        _drawImageRect = QRect();
}

QRect PLMergeCardImageView::computeDrawImageRect(const QRectF& rect, const QSizeF& imageSize)
{
    const auto positive = [](qreal v) { return v > 0 ? v : 1.0; };
    const qreal rw = positive(rect.width()), rh = positive(rect.height());
    const qreal iw = positive(imageSize.width()), ih = positive(imageSize.height());
    const qreal scale = std::min(rh / ih, rw / iw);
    const qreal w = iw * scale, h = ih * scale;
    const qreal x = rect.x() + (rect.width() - w) * 0.5, y = rect.y() + (rect.height() - h) * 0.5;
    const int left = int(std::floor(x)), top = int(std::floor(y));
    return QRect(left, top, int(std::ceil(x + w)) - left, int(std::ceil(y + h)) - top);
}

Qt::DropActions PLMergeCardImageView::draggingSourceOperationMask() const
{
    if (_cardImageType == kThumbnail)
        return Qt::CopyAction;
    if (isPreview())
        return Qt::MoveAction;
    return Qt::IgnoreAction;
}

bool PLMergeCardImageView::isZoomBusy() const
{
    if (!_controller)
        return false;
    const int status = _controller->displayStatus();
    return status == PLMergeModel::kZoomingIn || status == PLMergeModel::kZoomingOut;
}

// Drawing ---------------------------------------------------------------------------------------

void PLMergeCardImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawHighlight(painter);
    if (_imageRep.isNull()) {
        drawNoImageHintString(painter);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QRect fitted = computeDrawImageRect(QRectF(rect()).adjusted(3, 3, -3, -3), _imageRep.size());
    _drawImageRect = fitted.adjusted(2, 2, -2, -2);
    painter.drawImage(_drawImageRect, _imageRep);
    drawFocusRing(painter, fitted);
    painter.restore();
}

void PLMergeCardImageView::drawFocusRing(QPainter& painter, const QRect& rect)
{
    if (_cardImageType != kThumbnail || !_controller || !_controller->isSelected(_index))
        return;
    QPen pen(hasFocus() ? kRingColour : QColor(Qt::lightGray), 3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect).adjusted(-1.5, -1.5, 1.5, 1.5));
}

void PLMergeCardImageView::drawHighlight(QPainter& painter)
{
    if (!isPreview() || !_isHighlight)
        return;
    painter.setPen(QPen(kRingColour, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

void PLMergeCardImageView::drawNoImageHintString(QPainter& painter)
{
    if (!_controller || !isPreview())
        return;
    const QString hint = _controller->noImageHintString(_cardImageType);
    if (hint.isEmpty())
        return;
    const QSize size = painter.fontMetrics().size(0, hint);
    const QRect box = computeDrawImageRect(QRectF(QPointF((width() - size.width()) / 2.0, (height() - size.height()) / 2.0), size),
                                           size);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(box, Qt::AlignCenter, hint);
}

// Mouse -----------------------------------------------------------------------------------------

void PLMergeCardImageView::mousePressEvent(QMouseEvent* event)
{
    _startPoint = event->globalPosition().toPoint();
    _pressed = false;
    if (!isEnabled() || _cardImageType < kFacePreview || _cardImageType > kZoomView || !_controller || event->button() != Qt::LeftButton)
        return;
    if (_cardImageType == kThumbnail && !_drawImageRect.contains(event->position().toPoint()))
        return;
    const int status = _controller->displayStatus();
    if (_cardImageType == kZoomView && status == PLMergeModel::kZoomed) {
        _controller->startAnimations(this);
        return;
    }
    if (status != PLMergeModel::kDisplayNormal && status != PLMergeModel::kZoomed)
        return;
    if (_cardImageType == kThumbnail)
        _controller->doSelected(this);
    _pressed = true;
}

void PLMergeCardImageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!isEnabled() || !_controller || event->button() != Qt::LeftButton)
        return;
    if (_cardImageType == kThumbnail && !_drawImageRect.contains(event->position().toPoint()))
        return;
    if (_cardImageType == kThumbnail || _cardImageType == kZoomView)
        _controller->startAnimations(this);
}

void PLMergeCardImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (!_pressed || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->globalPosition().toPoint() - _startPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    _pressed = false;
    doMouseDragged(mapFromGlobal(_startPoint));
}

void PLMergeCardImageView::mouseReleaseEvent(QMouseEvent*)
{
    _pressed = false;
}

void PLMergeCardImageView::doMouseDragged(const QPoint& pressPosition)
{
    if (!isEnabled() || _cardImageType < kFacePreview || _cardImageType > kThumbnail || _imageRep.isNull() || !_mergeInfo)
        return;
    if (_cardImageType == kThumbnail && (!_controller || !_controller->isSelected(_index)))
        return;
    if (!_drawImageRect.contains(pressPosition))
        return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMergeCardDragType), QByteArray());
    const QRect fitted = computeDrawImageRect(QRectF(0, 0, kDragImageSide, kDragImageSide), _imageRep.size());
    QPixmap pixmap = QPixmap::fromImage(_imageRep.scaled(fitted.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(pixmap);
    drag->setHotSpot(QPoint(pixmap.width() / 2, pixmap.height() / 2));
    EscapeWatcher escape;
    qApp->installEventFilter(&escape);
    _draggingOut = false;
    const Qt::DropAction result = drag->exec(draggingSourceOperationMask());
    qApp->removeEventFilter(&escape);
    if (isPreview()) {
        _draggingOut = !rect().contains(mapFromGlobal(QCursor::pos()));
        if (result == Qt::IgnoreAction && _draggingOut && !escape.escaped && _controller
            && !_controller->isInPreviewRect(QCursor::pos()))
            _controller->previewDraggedOut(this);
        _draggingOut = false;
        update();
        if (_controller)
            _controller->updateMergeButtonStatus();
    }
}

void PLMergeCardImageView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = nullptr;
    if (isPreview() || _cardImageType == kZoomView) {
        menu = _menu;
    } else if (_cardImageType == kThumbnail && _controller && _drawImageRect.contains(event->pos())) {
        _controller->doSelected(this);
        menu = _controller->menuOfThumbnail();
    }
    if (menu)
        menu->exec(event->globalPos());
}

void PLMergeCardImageView::keyPressEvent(QKeyEvent* event)
{
    if (isZoomBusy())
        return;
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_Left
                       || event->key() == Qt::Key_Right;
    if (isEnabled() && arrow && _controller && _controller->moveArrowKey(event->key()))
        return;
    QWidget::keyPressEvent(event);
}

void PLMergeCardImageView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (isEnabled())
        update();
}

void PLMergeCardImageView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (isEnabled())
        update();
}

// Drop target -----------------------------------------------------------------------------------

void PLMergeCardImageView::dragEnterEvent(QDragEnterEvent* event)
{
    auto* source = qobject_cast<PLMergeCardImageView*>(event->source());
    Qt::DropAction action = Qt::IgnoreAction;
    if (isPreview() && source && _controller && event->mimeData()->hasFormat(QString::fromLatin1(kMergeCardDragType))) {
        const Qt::DropActions offered = source->draggingSourceOperationMask();
        if (source->cardImageType() == kThumbnail && (offered & Qt::CopyAction) && _controller->hasCandidateCards())
            action = Qt::CopyAction;
        else if (source->isPreview() && (offered & Qt::MoveAction))
            action = Qt::MoveAction;
    }
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    _isHighlight = true;
    update();
}

void PLMergeCardImageView::dragMoveEvent(QDragMoveEvent* event)
{
    if (_isHighlight)
        event->accept();
    else
        event->ignore();
}

void PLMergeCardImageView::dragLeaveEvent(QDragLeaveEvent*)
{
    _isHighlight = false;
    update();
}

void PLMergeCardImageView::dropEvent(QDropEvent* event)
{
    _isHighlight = false;
    update();
    auto* source = qobject_cast<PLMergeCardImageView*>(event->source());
    if (!source || !isPreview() || !_controller || !event->mimeData()->hasFormat(QString::fromLatin1(kMergeCardDragType))
        || (_mergeInfo && _mergeInfo == source->mergeInfo()) || source == this) {
        event->ignore();
        return;
    }
    const Qt::DropActions offered = source->draggingSourceOperationMask();
    if (offered & Qt::CopyAction) {
        _controller->doDrop(source, this);
        event->setDropAction(Qt::CopyAction);
    } else if (offered & Qt::MoveAction) {
        _controller->swapImageViewContents(source, this);
        event->setDropAction(Qt::MoveAction);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}
