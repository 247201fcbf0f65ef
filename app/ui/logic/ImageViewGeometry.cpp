#include "app/ui/logic/ImageViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace ImageViewGeometry {

ZoomTable creationZoomTable()
{
    return {0, 0.06, 0.12, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0};
}

double fitFactor(const QSizeF& image, const QSizeF& content)
{
    // A pane not laid out yet, or an empty page, would give an infinite or undefined factor.
    if (image.width() <= 0 || image.height() <= 0 || content.width() <= 0 || content.height() <= 0)
        return 1.0;
    return 1.0 / std::max(image.width() / content.width(), image.height() / content.height());
}

ZoomTable fittedZoomTable(const QSizeF& image, const QSizeF& content)
{
    const double fit = fitFactor(image, content);
    ZoomTable table{};
    table[kFitZoomStep] = fit;
    for (int k = 1; k <= 4; ++k) {
        table[size_t(kFitZoomStep + k)] = fit * std::pow(1.3, k);
        table[size_t(kFitZoomStep - k)] = fit * std::pow(0.8, k);
    }
    return table;
}

ViewFrame updateViewFrame(const QSize& n, const QSize& h, const QSize& s)
{
    ViewFrame frame;
    int width = 0;
    if (s.width() <= n.width() && !(s.width() > h.width() && s.height() > n.height()))
        width = s.height() <= n.height() ? n.width() : h.width();
    else {
        frame.horizontalScroller = true;
        width = s.width();
    }
    int height = 0;
    if (s.height() > n.height() || (s.height() > h.height() && s.width() > n.width())) {
        frame.verticalScroller = true;
        height = s.height();
    } else
        height = s.width() <= n.width() ? n.height() : h.height();
    frame.size = QSize(width, height);
    return frame;
}

QSize scaledImageSize(const QSizeF& image, double factor)
{
    return QSize(int(image.width() * factor), int(image.height() * factor));
}

QPointF toCentred(const QPointF& p, const QSizeF& view)
{
    return {p.x() - view.width() / 2, view.height() / 2 - p.y()};
}

QPointF toWidget(const QPointF& p, const QSizeF& view)
{
    return {p.x() + view.width() / 2, view.height() / 2 - p.y()};
}

QRectF toWidget(const QRectF& r, const QSizeF& view)
{
    const QPointF topLeft = toWidget(QPointF(r.x(), r.y() + r.height()), view);
    return {topLeft, r.size()};
}

QRectF convertBoxRect(const QRectF& r, const QSizeF& image, double f)
{
    const double w = image.width() * f;
    const double h = image.height() * f;
    return {(r.x() + w / 2) / f, (r.y() + h / 2) / f, r.width() / f, r.height() / f};
}

QRectF imageToCentred(const QRectF& r, const QSizeF& image, double f)
{
    const double w = image.width() * f;
    const double h = image.height() * f;
    return {r.x() * f - w / 2, r.y() * f - h / 2, r.width() * f, r.height() * f};
}

QRectF currentRect(const QPointF& down, const QPointF& p)
{
    return {std::min(down.x(), p.x()), std::min(down.y(), p.y()), std::abs(down.x() - p.x()), std::abs(down.y() - p.y())};
}

QRectF centerRect(const QSizeF& size, const QPointF& p)
{
    return {p.x() - size.width() / 2, p.y() - size.height() / 2, size.width(), size.height()};
}

QRectF clampedDragRect(const QPointF& down, const QPointF& p, const QSizeF& s)
{
    const QPointF kept(std::clamp(p.x(), -s.width() / 2, s.width() / 2), std::clamp(p.y(), -s.height() / 2, s.height() / 2));
    return currentRect(down, kept);
}

bool insideImage(const QPointF& p, const QSizeF& s)
{
    return !(p.x() < -s.width() / 2 || p.x() > s.width() / 2 || p.y() < -s.height() / 2 || p.y() > s.height() / 2);
}

QRectF roundedRect(const QRectF& r)
{
    return {std::round(r.x()), std::round(r.y()), std::round(r.width()), std::round(r.height())};
}

bool acceptsRecognizedBox(const QRectF& r, const QSizeF& bitmap)
{
    return r.width() > 0 && r.height() > 0 && r.x() >= 0 && r.x() < bitmap.width() && r.y() >= 0
        && r.y() < bitmap.height() && bitmap.width() - r.x() >= r.width() && bitmap.height() - r.y() >= r.height();
}

QPointF scrollOriginForCenterPoint(const QPointF& p, double f, const QSizeF& k, const QSizeF& s)
{
    const double y = std::max(0.0, std::min(p.y() * f - k.height() / 2, s.height() - k.height()));
    const double x = std::max(0.0, std::min(p.x() * f - k.width() / 2, s.width() - k.width()));
    return {x, y};
}

} // namespace ImageViewGeometry
