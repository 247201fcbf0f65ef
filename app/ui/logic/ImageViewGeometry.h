// The arithmetic of the card image view: the zoom table, the view frame and its scrollers, and
// the conversions between the view's centred coordinates (origin at the centre, y up) and image
// pixels (origin at the image's bottom-left corner, as the stored field rectangles have it).
// Qt widgets count y downwards from the top-left; the view converts at its edges only.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <array>

namespace ImageViewGeometry {

inline constexpr int kMinZoomStep = 1;
inline constexpr int kMaxZoomStep = 9;
inline constexpr int kCreationZoomStep = 6;
inline constexpr int kFitZoomStep = 5;

// Entry 0 is never used; steps 1..9.
using ZoomTable = std::array<double, 10>;

ZoomTable creationZoomTable();
// 1 / max(image.w / content.w, image.h / content.h); 1.0 when any of the sizes is not positive.
double fitFactor(const QSizeF& image, const QSizeF& content);
// Step 5 the fit factor, steps 6..9 fit × 1.3^k, steps 4..1 fit × 0.8^k.
ZoomTable fittedZoomTable(const QSizeF& image, const QSizeF& content);

// What the view's frame becomes inside its scroll view: `plain` is the content size without
// scrollers, `withScrollers` with both, `scaled` the image at the zoom factor (whole numbers).
struct ViewFrame {
    bool horizontalScroller = false;
    bool verticalScroller = false;
    QSize size;
    friend bool operator==(const ViewFrame&, const ViewFrame&) = default;
};
ViewFrame updateViewFrame(const QSize& plain, const QSize& withScrollers, const QSize& scaled);

// The image at factor `factor`, each side truncated to a whole number.
QSize scaledImageSize(const QSizeF& image, double factor);

// Between a widget point (y down, origin top-left of a view of `viewSize`) and the centred view.
QPointF toCentred(const QPointF& widgetPoint, const QSizeF& viewSize);
QPointF toWidget(const QPointF& centredPoint, const QSizeF& viewSize);
// A centred rectangle (origin at its bottom-left corner) as a widget rectangle, and back.
QRectF toWidget(const QRectF& centredRect, const QSizeF& viewSize);

// A centred rectangle in image pixels: ((x + W/2) / f, (y + H/2) / f, w / f, h / f), W × H the
// image at the factor.
QRectF convertBoxRect(const QRectF& centredRect, const QSizeF& image, double factor);
// Image pixels back into the centred view.
QRectF imageToCentred(const QRectF& imageRect, const QSizeF& image, double factor);

// The rectangle spanned by two points: the smaller coordinates as origin, the distances as size.
QRectF currentRect(const QPointF& down, const QPointF& point);
// The rectangle of `size` centred on `point`.
QRectF centerRect(const QSizeF& size, const QPointF& point);
// The rectangle from `down` to `point`, with `point` kept inside the scaled image centred on 0.
QRectF clampedDragRect(const QPointF& down, const QPointF& point, const QSizeF& scaledImage);
bool insideImage(const QPointF& centredPoint, const QSizeF& scaledImage);

// Each of x, y, width and height rounded to the nearest whole number.
QRectF roundedRect(const QRectF& rect);
// A recognised box is shown only when it lies wholly inside a bitmap of `bitmapSize`.
bool acceptsRecognizedBox(const QRectF& box, const QSizeF& bitmapSize);

// The scroll origin (from the image's bottom-left, in view units) that centres image point `p`
// in a visible area of `visible`, clamped to the scaled image.
QPointF scrollOriginForCenterPoint(const QPointF& p, double factor, const QSizeF& visible, const QSizeF& scaledImage);

} // namespace ImageViewGeometry
