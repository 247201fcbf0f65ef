#include "app/ui/PLPrintView.h"

#include "platform/pdf/PdfPageRenderer.h"

#include <QPainter>
#include <QPrinter>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double kBandHeight = 25;
// Card sides are rendered at the printer's resolution, but at most this fine: as fine as the
// finest card scan, while a 1200 dpi bitmap of a card would take tens of megabytes.
constexpr double kMaxRenderDpi = 600;

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

PLPrintView::PLPrintView(const QRectF& frame) : _sizePaperSize(frame.size()) {}

void PLPrintView::setVCount(int columns)
{
    if (columns >= 1 && columns <= 7)
        _nVCount = columns;
}

void PLPrintView::setHCount(int rows)
{
    if (rows >= 1 && rows <= 10)
        _nHCount = rows;
}

bool PLPrintView::setFiles(const QVariantList& files)
{
    m_sides.clear();
    if (files.isEmpty())
        return false;
    std::vector<std::pair<QString, int>> listed;
    for (const QVariant& entry : files) {
        if (entry.typeId() != QMetaType::QVariantMap)
            return false;
        const QVariantMap card = entry.toMap();
        const QString face = card.value(QString::fromLatin1(kPrintPdfPathFace)).toString();
        const QString back = card.value(QString::fromLatin1(kPrintPdfPathBack)).toString();
        if (!isBlank(face))
            listed.emplace_back(face, 0);
        if (isBlank(back)) {
            // A front file of two pages carries its back as the second page.
            if (!isBlank(face))
                listed.emplace_back(face, 1);
        } else {
            listed.emplace_back(back, 0);
        }
    }
    QString openPath;
    std::unique_ptr<PdfPageRenderer> document;
    for (const auto& [path, page] : listed) {
        if (path != openPath) {
            document = PdfPageRenderer::openFile(path);
            openPath = path;
        }
        // A side whose file or page is missing is left out; the others still print.
        if (document && page < document->pageCount())
            m_sides.push_back({path, page, document->pagePointSize(page)});
    }
    return !m_sides.empty();
}

int PLPrintView::knowsPageRange() const
{
    const int cells = _nVCount * _nHCount;
    return (sideCount() + cells - 1) / cells;
}

QRectF PLPrintView::rectForPage(int sheet) const
{
    if (sheet < 1 || sheet > knowsPageRange())
        return QRectF();
    return QRectF(QPointF(0, (sheet - 1) * _sizePaperSize.height()), _sizePaperSize);
}

QRectF PLPrintView::frame() const
{
    return QRectF(0, 0, _sizePaperSize.width(), _sizePaperSize.height() * sideCount());
}

QRectF PLPrintView::rectForDraw(int side, const QRectF& rectCanDraw) const
{
    if (side < 1 || side > sideCount())
        return QRectF();
    const int i = side - 1;
    const int cells = _nVCount * _nHCount;
    const double sheetOffset = _sizePaperSize.height() * (i / cells);
    const int k = i % cells;
    const int column = k % _nVCount;
    const int rowFromBottom = (cells - 1 - k) / _nVCount;
    const double cellWidth = rectCanDraw.width() / _nVCount;
    const double band = _printNum ? kBandHeight : 0;
    const double cellHeight = (rectCanDraw.height() - band) / _nHCount;
    const QRectF cell(rectCanDraw.x() + column * cellWidth,
        rectCanDraw.y() + sheetOffset + band + rowFromBottom * cellHeight, cellWidth, cellHeight);
    return adjustRectByPaperSize(cell, m_sides[size_t(i)].size, _bIsCenter, _bIsAutoScale);
}

QRectF PLPrintView::adjustRectByPaperSize(const QRectF& cell, const QSizeF& pageSize, bool center, bool autoScale)
{
    if (cell.width() <= 0 || cell.height() <= 0 || pageSize.width() <= 0 || pageSize.height() <= 0)
        return QRectF(cell.topLeft(), QSizeF(0, 0));
    const double sx = pageSize.width() / cell.width();
    const double sy = pageSize.height() / cell.height();
    const double s = std::max(sx, sy);
    QSizeF drawn = pageSize;
    if (sx > 1 || sy > 1 || autoScale)
        drawn = QSizeF(pageSize.width() / s, pageSize.height() / s);
    if (center)
        return QRectF(QPointF(cell.x() + (cell.width() - drawn.width()) * 0.5, cell.y() + (cell.height() - drawn.height()) * 0.5), drawn);
    return QRectF(QPointF(cell.x(), cell.y() + cell.height() - drawn.height()), drawn);
}

bool PLPrintView::drawSheets(QPrinter& printer)
{
    if (m_sides.empty())
        return false;
    // The job's own layout: its paper, and its margins as the imageable area (y from the bottom).
    const QPageLayout layout = printer.pageLayout();
    _sizePaperSize = layout.fullRectPoints().size();
    const QRectF paint = layout.paintRectPoints();
    const double paperHeight = _sizePaperSize.height();
    const QRectF drawable(paint.x(), paperHeight - paint.bottom(), paint.width(), paint.height());
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / 72.0;
    painter.scale(scale, scale);
    const double renderScale = std::min<double>(printer.resolution(), kMaxRenderDpi) / 72.0;
    const int cells = _nVCount * _nHCount;
    QString openPath;
    std::unique_ptr<PdfPageRenderer> document;
    for (int i = 0; i < sideCount(); ++i) {
        if (i > 0 && i % cells == 0 && !printer.newPage())
            return false;
        const Side& side = m_sides[size_t(i)];
        const QRectF placed = rectForDraw(i + 1, drawable);
        const double yOnSheet = placed.y() - paperHeight * (i / cells);
        const QRectF target(placed.x(), paperHeight - yOnSheet - placed.height(), placed.width(), placed.height());
        if (side.path != openPath) {
            document = PdfPageRenderer::openFile(side.path);
            openPath = side.path;
        }
        if (!document || target.isEmpty())
            continue;
        const QSize pixels(std::max(1, int(std::lround(target.width() * renderScale))),
            std::max(1, int(std::lround(target.height() * renderScale))));
        const QImage image = document->render(side.page, pixels);
        if (!image.isNull())
            painter.drawImage(target, image);
    }
    return painter.end();
}
