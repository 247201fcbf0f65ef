#include "app/images/CardBitmapUtilities.h"

#include "app/core/DiskUtilities.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

#include <cmath>

namespace {

bool isColourFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_Alpha8:
        return false;
    default:
        return true;
    }
}

int dotsPerMeter(int dpi)
{
    return int(std::lround(dpi / 0.0254));
}

} // namespace

int AcquireCardImageFromAllPDF(const QString& path, std::unique_ptr<PdfPageRenderer>* document)
{
    if (path.isEmpty() || !document)
        return -50;
    std::unique_ptr<PdfPageRenderer> opened = PdfPageRenderer::openFile(path);
    if (!opened || opened->pageCount() < 1)
        return -50;
    *document = std::move(opened);
    return 0;
}

int AcquireCardImageFromSearchablePDF(const QString& path, CardBitmap* bitmap)
{
    if (!bitmap)
        return -1;
    *bitmap = CardBitmap();
    std::unique_ptr<PdfPageRenderer> document;
    if (AcquireCardImageFromAllPDF(path, &document) != 0)
        return -1;
    const QSizeF points = document->pagePointSize(0);
    const QSize pixels(int(points.width() * kRenderedPdfDpi / 72), int(points.height() * kRenderedPdfDpi / 72));
    if (pixels.isEmpty() || qint64(pixels.width()) * pixels.height() > kMaxCardBitmapPixels)
        return -1;
    QImage image = document->render(0, pixels);
    if (image.isNull())
        return -1;
    image.setDotsPerMeterX(dotsPerMeter(kRenderedPdfDpi));
    image.setDotsPerMeterY(dotsPerMeter(kRenderedPdfDpi));
    bitmap->image = image;
    bitmap->info = PageImageInfo{0, kRenderedPdfDpi, kRenderedPdfDpi, 1};
    return 0;
}

int RotateBitmapImageRep(const QImage& source, int degrees, QImage* turned)
{
    if (source.isNull() || !turned)
        return -50;
    const QImage::Format format = isColourFormat(source.format()) ? QImage::Format_RGBA8888 : QImage::Format_Grayscale8;
    const QImage base = source.convertToFormat(format);
    if (base.isNull())
        return -1;
    QImage result;
    if (degrees % 90 == 0) {
        // Quarter turns move whole pixels: no resampling.
        result = base.transformed(QTransform().rotate(degrees));
    } else {
        result = QImage(base.size(), format);
        if (result.isNull())
            return -1;
        result.fill(format == QImage::Format_RGBA8888 ? Qt::transparent : Qt::black);
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(base.width() / 2.0, base.height() / 2.0);
        painter.rotate(degrees);
        painter.translate(-base.width() / 2.0, -base.height() / 2.0);
        painter.drawImage(0, 0, base);
    }
    if (result.isNull())
        return -1;
    *turned = result.convertToFormat(format);
    return 0;
}

int ConvertImageToDepth(const QImage& source, int depth, QImage* widened)
{
    if (source.isNull() || !widened)
        return -50;
    QImage result = source.convertToFormat(depth == 8 ? QImage::Format_Grayscale8 : QImage::Format_RGBA8888);
    if (result.isNull())
        return -1;
    *widened = result;
    return 0;
}

int saveJpgFile(const QImage& bitmap, int rotation, int hdpi, int vdpi, int colour, const QString& path)
{
    if (bitmap.isNull() || hdpi <= 0 || vdpi <= 0)
        return -1;
    QImage image = bitmap;
    const bool bilevel = bitmap.depth() == 1;
    if (rotation != 0) {
        if (RotateBitmapImageRep(bitmap, rotation, &image) != 0)
            return -1;
        if (bitmap.depth() == 8 && colour == 1 && ConvertImageToDepth(image, 32, &image) != 0)
            return -1;
    } else if ((bilevel || colour == 0) && ConvertImageToDepth(image, 8, &image) != 0) {
        return -1;
    }
    // A quarter turn exchanges the axes, and with them their resolutions.
    const bool quarter = ((rotation % 180) + 180) % 180 == 90;
    image.setDotsPerMeterX(dotsPerMeter(quarter ? vdpi : hdpi));
    image.setDotsPerMeterY(dotsPerMeter(quarter ? hdpi : vdpi));
    if (image.hasAlphaChannel())
        image = image.convertToFormat(QImage::Format_RGB888);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    if (!writer.write(image))
        return -1;
    return saveFileToGivenPath(data, path);
}

int saveFileToGivenPath(const QByteArray& data, const QString& path)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (path.isEmpty() || !folder.isDir() || !folder.isWritable() || target.isDir())
        return -1;
    if (checkDiskSize(folder.absoluteFilePath(), uint64_t(data.size()) + uint64_t(kJpegSpaceReserve)) != 0)
        return -1;
    return writeThroughTemporary(path, data) ? 0 : -1;
}
