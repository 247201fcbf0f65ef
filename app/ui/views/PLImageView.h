// One side of a card in the image pane: a decoded page bitmap, or the whole page of an own or
// text PDF, centred in its scroll view at one of nine zoom steps. Over a bitmap it draws the
// user's box (red, dashed), which the mouse draws in box mode, and the recognised box of a field
// (blue; a double underline when its height is 1). In move mode the mouse drags the image.
//
// Boxes are kept in image pixels with the origin at the image's bottom-left corner, as the
// stored field rectangles have them.
#pragma once

#include "app/ui/logic/ImageViewGeometry.h"

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QWidget>

#include <memory>

class PdfPageRenderer;
class QScrollArea;

class PLImageView : public QWidget {
    Q_OBJECT
public:
    explicit PLImageView(QWidget* parent = nullptr);
    ~PLImageView() override;

    // The enclosing scroll view; the view becomes its document.
    void setScrollView(QScrollArea* scrollView);
    QScrollArea* scrollView() const { return _scrollView; }

    // A bitmap (null: none) or a PDF's first page (null: none); either replaces the other, clears
    // the boxes and starts at the fit step.
    void setImage(const QImage& image);
    void setTextPdfImage(std::shared_ptr<PdfPageRenderer> pdf);
    bool hasImage() const { return !_imageRep.isNull() || _pdfRep != nullptr; }
    bool showsPdf() const { return _pdfRep != nullptr; }
    const QImage& image() const { return _imageRep; }
    // The bitmap's size, or the PDF page's in points; empty without an image.
    QSizeF imageSize() const;

    void zoomIn();
    void zoomOut();
    void imageZoom();
    int currentRate() const { return _currentRateIndex; }
    // Accepts 1..9 and ignores other values.
    void setCurrentRate(int step);
    double zoomFactor() const { return _zoomRate[size_t(_currentRateIndex)]; }
    const ImageViewGeometry::ZoomTable& zoomTable() const { return _zoomRate; }

    void setIsMoveImage(bool move);
    bool isMoveImage() const { return _isMoveImage; }

    void setRecognizedBoxRect(const QRectF& box);
    QRectF getRedBoxRect() const { return ImageViewGeometry::roundedRect(_finalRedRect); }
    bool getRedBoxState() const { return _isHaveRedBox; }
    bool hasRecognizedBox() const { return _isHaveRecognizedBox; }
    QRectF recognizedBox() const { return _finalBlueRect; }
    void clearBox();

    // Sizes the view inside its scroll view and shows the scrollers the image needs.
    void updateViewFrame();
    // Recomputes the zoom table from the visible area; the step becomes the fit step.
    void imageInitializationDisplay();
    // Scrolls so that image point `p` lies in the middle of the visible area.
    void scrollToCenterPoint(const QPointF& p);
    // The image point at the centre of the visible area, truncated to whole pixels.
    QPointF getOriginalCenterPoint() const;

    // A box in image pixels as a rectangle of this widget (y down), for drawing and tests.
    QRectF widgetRectForImageRect(const QRectF& imageRect) const;
    QPointF widgetPointForImagePoint(const QPointF& imagePoint) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSizeF scaledSize() const;
    QSize plainContentSize() const;
    QPointF centred(const QPointF& widgetPoint) const;
    void replaceImage(const QImage& image, std::shared_ptr<PdfPageRenderer> pdf);
    const QImage& renderedPdf(const QSize& pixels) const;

    QScrollArea* _scrollView = nullptr;
    QImage _imageRep;
    std::shared_ptr<PdfPageRenderer> _pdfRep;
    int _currentRateIndex = ImageViewGeometry::kCreationZoomStep;
    bool _isMoveImage = false;
    bool _isHaveRedBox = false;
    bool _isHaveRecognizedBox = false;
    bool _isOutRange = false;
    QPointF _downPoint;
    QRectF _finalRedRect;
    QRectF _finalBlueRect;
    ImageViewGeometry::ZoomTable _zoomRate = ImageViewGeometry::creationZoomTable();
    // The zoom table was made before the scroll view had a size.
    bool m_fitPending = false;
    // Move mode: where the press fell (global) and the scroll values then.
    QPoint m_pressGlobal;
    QPoint m_pressScroll;
    mutable QImage m_pdfCache;
};
