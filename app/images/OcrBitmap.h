// A card bitmap in the form the OCR application takes: 1 bit with 0 = black, or 8-bit grey,
// rows top to bottom, so that no page is read with its colours inverted. A grey image goes out
// as it stands in memory, its row padding included.
#pragma once

#include <QByteArray>
#include <QImage>

struct OcrBitmap {
    int width = 0;
    int height = 0;
    int bytesPerRow = 0;
    int bitsPerPixel = 0;
    QByteArray data; // for grey, the rows of `pixels` themselves, not a copy
    QImage pixels;
};

// False when the image is empty or too large to be described (sides above 65,535 pixels).
bool makeOcrBitmap(const QImage& image, OcrBitmap* out);
