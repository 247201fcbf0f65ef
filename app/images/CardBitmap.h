// A decoded card side: the bitmap and the four integers that travel with it.
#pragma once

#include <QImage>

#include <cstdint>

struct PageImageInfo {
    int32_t rotation = 0;   // degrees clockwise to turn the bitmap to the page's view, 0 to 359
    int32_t hdpi = 0;
    int32_t vdpi = 0;
    int32_t colour = 0;     // 1 grey or colour, 0 bi-level
};

struct CardBitmap {
    QImage image;
    PageImageInfo info;
};

// How a page's image is handed from extraction or rendering to the bitmap building.
struct PageImageDescription {
    bool jpegEncoded = false;
    int width = 0;
    int height = 0;
    int hdpi = 0;
    int vdpi = 0;
    qint64 dataLength = 0;
    int depth = 0;   // 1, 8 or 24 bits per pixel
    int kind = -1;   // -1 as delivered, 1 raw RGB, 2 raw grey, 3 raw 1-bit with a Decode array
    bool invert = false;
};

// Bitmaps larger than this are refused rather than allocated: no card side comes near it.
inline constexpr qint64 kMaxCardBitmapPixels = 120'000'000;

// A resolution worked out in floating point: rounded to three decimals, then truncated.
int truncatedDpi(double dpi);
