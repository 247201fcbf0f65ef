#include "app/images/OcrBitmap.h"

#include "platform/events/OcrProtocol.h"

#include <cstring>

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
    out->pixels = image.convertToFormat(QImage::Format_Grayscale8);
    out->bitsPerPixel = ocr::kBitsGrey;
    out->bytesPerRow = int(out->pixels.bytesPerLine());
    if (out->bytesPerRow > 0xFFFF)
        return false;
    out->data = QByteArray::fromRawData(reinterpret_cast<const char*>(out->pixels.constBits()),
                                        qsizetype(out->bytesPerRow) * out->height);
    return true;
}
