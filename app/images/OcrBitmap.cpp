#include "app/images/OcrBitmap.h"

#include "platform/events/OcrProtocol.h"

#include <cstring>

namespace {

// 8-bit grey straight from the decoded samples (the weights of qGray): the platform's own
// conversion goes through colour-space handling that costs more than decoding the card did.
QImage greyOf(const QImage& image)
{
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    QImage grey(rgb.size(), QImage::Format_Grayscale8);
    if (grey.isNull())
        return grey;
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* row = grey.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = uchar((qRed(in[x]) * 11 + qGreen(in[x]) * 16 + qBlue(in[x]) * 5) / 32);
    }
    return grey;
}

} // namespace

bool makeOcrBitmap(const QImage& image, OcrBitmap* out)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0 || image.width() > 0xFFFF
        || image.height() > 0xFFFF)
        return false;
    out->width = image.width();
    out->height = image.height();
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) {
        // Whatever the colour table says, a dark pixel goes out as 0.
        const QImage mono = image.convertToFormat(QImage::Format_Mono);
        const bool zeroIsDark = mono.colorCount() < 2 || qGray(mono.color(0)) < qGray(mono.color(1));
        out->bitsPerPixel = ocr::kBitsMono;
        out->bytesPerRow = (out->width + 7) / 8;
        out->data = QByteArray(qsizetype(out->bytesPerRow) * out->height, '\0');
        for (int y = 0; y < out->height; ++y) {
            uchar* row = reinterpret_cast<uchar*>(out->data.data()) + qsizetype(y) * out->bytesPerRow;
            std::memcpy(row, mono.constScanLine(y), size_t(out->bytesPerRow));
            if (!zeroIsDark) {
                for (int i = 0; i < out->bytesPerRow; ++i)
                    row[i] = uchar(~row[i]);
            }
        }
        return true;
    }
    out->pixels = greyOf(image);
    out->bitsPerPixel = ocr::kBitsGrey;
    out->bytesPerRow = int(out->pixels.bytesPerLine());
    if (out->bytesPerRow > 0xFFFF)
        return false;
    out->data = QByteArray::fromRawData(reinterpret_cast<const char*>(out->pixels.constBits()),
                                        qsizetype(out->bytesPerRow) * out->height);
    return true;
}
