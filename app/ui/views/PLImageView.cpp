#include "app/ui/views/PLImageView.h"

#include "platform/pdf/PdfPageRenderer.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

using namespace ImageViewGeometry;

namespace {

// Assistive technologies present the view as a picture.
QAccessibleInterface* imageViewAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(PLImageView::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

PLImageView::PLImageView(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(imageViewAccessible), true);
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

PLImageView::~PLImageView() = default;

void PLImageView::setScrollView(QScrollArea* scrollView)
{
    _scrollView = scrollView;
    _scrollView->setWidgetResizable(false);
    _scrollView->setAlignment(Qt::AlignCenter);
    _scrollView->setWidget(this);
    _scrollView->installEventFilter(this);
    setIsMoveImage(_isMoveImage);
}

QSizeF PLImageView::imageSize() const
{
    if (_pdfRep)
        return _pdfRep->pageCount() > 0 ? _pdfRep->pagePointSize(0) : QSizeF();
    return _imageRep.isNull() ? QSizeF() : QSizeF(_imageRep.size());
}

QSizeF PLImageView::scaledSize() const
{
    return imageSize() * zoomFactor();
}

void PLImageView::setImage(const QImage& image)
{
    replaceImage(image, nullptr);
}

void PLImageView::setTextPdfImage(std::shared_ptr<PdfPageRenderer> pdf)
{
    replaceImage(QImage(), std::move(pdf));
}

void PLImageView::replaceImage(const QImage& image, std::shared_ptr<PdfPageRenderer> pdf)
{
    _imageRep = image;
    _pdfRep = std::move(pdf);
    m_pdfCache = QImage();
    _downPoint = QPointF();
    clearBox();
    imageInitializationDisplay();
    updateViewFrame();
    update();
}

void PLImageView::imageInitializationDisplay()
{
    _currentRateIndex = kFitZoomStep;
    if (!hasImage())
        return;
    const QSize content = plainContentSize();
    m_fitPending = content.width() <= 0 || content.height() <= 0;
    _zoomRate = fittedZoomTable(imageSize(), QSizeF(content));
}

QSize PLImageView::plainContentSize() const
{
    if (!_scrollView)
        return {};
    const int frame = _scrollView->frameWidth() * 2;
    return _scrollView->size() - QSize(frame, frame);
}

void PLImageView::updateViewFrame()
{
    if (!_scrollView)
        return;
    const QSize plain = plainContentSize();
    const int bar = _scrollView->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, _scrollView);
    const QSize withScrollers = plain - QSize(bar, bar);
    const QSize scaled = hasImage() ? scaledImageSize(imageSize(), zoomFactor()) : QSize();
    const ViewFrame frame = ImageViewGeometry::updateViewFrame(plain, withScrollers, scaled);
    _scrollView->setHorizontalScrollBarPolicy(frame.horizontalScroller ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    _scrollView->setVerticalScrollBarPolicy(frame.verticalScroller ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setIsMoveImage(_isMoveImage);
    resize(frame.size.expandedTo(QSize(0, 0)));
}

void PLImageView::zoomIn()
{
    if (_currentRateIndex >= kMaxZoomStep)
        return;
    const QPointF centre = getOriginalCenterPoint();
    ++_currentRateIndex;
    imageZoom();
    scrollToCenterPoint(centre);
}

void PLImageView::zoomOut()
{
    if (_currentRateIndex <= kMinZoomStep)
        return;
    const QPointF centre = getOriginalCenterPoint();
    --_currentRateIndex;
    imageZoom();
    scrollToCenterPoint(centre);
}

void PLImageView::imageZoom()
{
    updateViewFrame();
    updateViewFrame();
    m_pdfCache = QImage();
    update();
}

void PLImageView::setCurrentRate(int step)
{
    if (step >= kMinZoomStep && step <= kMaxZoomStep)
        _currentRateIndex = step;
}

void PLImageView::setIsMoveImage(bool move)
{
    _isMoveImage = move;
    if (!_scrollView)
        return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (hasImage() && !move)
        shape = Qt::CrossCursor;
    else if (hasImage() && (_scrollView->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn || _scrollView->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn))
        shape = Qt::OpenHandCursor;
    _scrollView->viewport()->setCursor(shape);
}

void PLImageView::setRecognizedBoxRect(const QRectF& box)
{
    // A PDF has no bitmap: its boxes are never shown.
    if (!acceptsRecognizedBox(box, showsPdf() ? QSizeF() : QSizeF(_imageRep.size())))
        clearBox();
    else {
        _isHaveRedBox = false;
        _isHaveRecognizedBox = true;
        _finalBlueRect = box;
    }
    update();
}

void PLImageView::clearBox()
{
    _isHaveRedBox = false;
    _isHaveRecognizedBox = false;
}

QPointF PLImageView::getOriginalCenterPoint() const
{
    if (!_scrollView || !hasImage())
        return {};
    const QWidget* port = _scrollView->viewport();
    const QRectF visible(-pos(), port->size());
    const QRectF inView(centred(visible.bottomLeft()), visible.size());
    const QRectF image = convertBoxRect(inView, imageSize(), zoomFactor());
    const QPointF centre = image.center();
    return {double(int(centre.x())), double(int(centre.y()))};
}

void PLImageView::scrollToCenterPoint(const QPointF& p)
{
    if (!_scrollView || (_scrollView->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOn
                         && _scrollView->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOn))
        return;
    const QSizeF visible = _scrollView->viewport()->size();
    const QSizeF scaled = scaledSize();
    const QPointF origin = scrollOriginForCenterPoint(p, zoomFactor(), visible, scaled);
    // The origin counts from the bottom of the image; the scroll bar from the top of the view.
    const double imageTop = (height() - scaled.height()) / 2;
    _scrollView->horizontalScrollBar()->setValue(int(origin.x() + (width() - scaled.width()) / 2));
    _scrollView->verticalScrollBar()->setValue(int(imageTop + scaled.height() - visible.height() - origin.y()));
}

QPointF PLImageView::centred(const QPointF& widgetPoint) const
{
    return toCentred(widgetPoint, QSizeF(size()));
}

QRectF PLImageView::widgetRectForImageRect(const QRectF& imageRect) const
{
    return toWidget(imageToCentred(imageRect, imageSize(), zoomFactor()), QSizeF(size()));
}

QPointF PLImageView::widgetPointForImagePoint(const QPointF& imagePoint) const
{
    return widgetRectForImageRect(QRectF(imagePoint, QSizeF())).topLeft();
}

const QImage& PLImageView::renderedPdf(const QSize& pixels) const
{
    if (m_pdfCache.size() != pixels)
        m_pdfCache = _pdfRep->render(0, pixels);
    return m_pdfCache;
}

void PLImageView::paintEvent(QPaintEvent*)
{
    if (!hasImage())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF scaled = scaledSize();
    const QRectF imageRect = toWidget(centerRect(scaled, QPointF()), QSizeF(size()));
    if (_pdfRep) {
        const QSize pixels = (scaled * devicePixelRatioF()).toSize();
        if (!pixels.isEmpty())
            painter.drawImage(imageRect, renderedPdf(pixels));
        return;
    }
    painter.drawImage(imageRect, _imageRep);
    if (_isHaveRedBox) {
        QPen pen(Qt::red);
        pen.setDashPattern({5, 2});
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(widgetRectForImageRect(_finalRedRect));
    }
    if (_isHaveRecognizedBox) {
        painter.setPen(QPen(Qt::blue, 1));
        painter.setBrush(Qt::NoBrush);
        const QRectF box = widgetRectForImageRect(_finalBlueRect);
        if (_finalBlueRect.height() == 1) {
            // A double underline: the second line 3 points below the first.
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            painter.drawLine(box.bottomLeft() + QPointF(0, 3), box.bottomRight() + QPointF(0, 3));
        } else
            painter.drawRect(box);
    }
}

void PLImageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (_isMoveImage) {
        m_pressGlobal = event->globalPosition().toPoint();
        if (_scrollView)
            m_pressScroll = QPoint(_scrollView->horizontalScrollBar()->value(), _scrollView->verticalScrollBar()->value());
        return;
    }
    _downPoint = centred(event->position());
    // Boxes are drawn on bitmaps only: a PDF or no image counts as outside.
    if (showsPdf() || _imageRep.isNull() || !insideImage(_downPoint, scaledSize())) {
        _isOutRange = true;
        return;
    }
    _finalRedRect = convertBoxRect(currentRect(_downPoint, _downPoint), imageSize(), zoomFactor());
    _isHaveRedBox = false;
    _isOutRange = false;
    update();
}

void PLImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    if (_isMoveImage) {
        if (!_scrollView || (_scrollView->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOn
                             && _scrollView->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOn))
            return;
        const QPoint delta = m_pressGlobal - event->globalPosition().toPoint();
        _scrollView->horizontalScrollBar()->setValue(m_pressScroll.x() + delta.x());
        _scrollView->verticalScrollBar()->setValue(m_pressScroll.y() + delta.y());
        return;
    }
    if (_isOutRange)
        return;
    const QPointF point = centred(event->position());
    _finalRedRect = convertBoxRect(clampedDragRect(_downPoint, point, scaledSize()), imageSize(), zoomFactor());
    _isHaveRedBox = true;
    if (_scrollView)
        _scrollView->ensureVisible(int(event->position().x()), int(event->position().y()), 0, 0);
    update();
}

void PLImageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || _isMoveImage || _isOutRange)
        return QWidget::mouseReleaseEvent(event);
    const QPointF point = centred(event->position());
    if (insideImage(point, scaledSize()))
        _finalRedRect = convertBoxRect(currentRect(_downPoint, point), imageSize(), zoomFactor());
    update();
}

bool PLImageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == _scrollView && event->type() == QEvent::Resize) {
        // An image still at its fit step follows the pane's size, as does one that came before
        // the pane had any.
        if (hasImage() && (m_fitPending || _currentRateIndex == kFitZoomStep))
            imageInitializationDisplay();
        updateViewFrame();
    }
    return QWidget::eventFilter(watched, event);
}
