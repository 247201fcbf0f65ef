// Turning, widening and saving card bitmaps, and the bitmaps of PDFs that are not card PDFs
// (their first page rendered at 150 dpi).
#pragma once

#include "app/images/CardBitmap.h"
#include "platform/pdf/PdfPageRenderer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

inline constexpr int kRenderedPdfDpi = 150;
// Room left on the volume beyond a written JPEG.
inline constexpr qint64 kJpegSpaceReserve = 524288;

// The whole PDF, ready to draw any page. 0, or -50 for no path, no output or no readable PDF.
int AcquireCardImageFromAllPDF(const QString& path, std::unique_ptr<PdfPageRenderer>* document);
// Page 1 at 150 dpi with info 0/150/150/1. 0, or -1 when the file cannot be read or drawn.
int AcquireCardImageFromSearchablePDF(const QString& path, CardBitmap* bitmap);
// Turns clockwise; quarter turns exchange width and height. Colour sources give RGBA, the others
// 8-bit grey. 0, -1 when the new bitmap cannot be made, -50 for no bitmap.
int RotateBitmapImageRep(const QImage& source, int degrees, QImage* turned);
// Depth 8 gives 8-bit grey, any other RGBA. 0, -1, -50.
int ConvertImageToDepth(const QImage& source, int depth, QImage* widened);
// Writes a JPEG turned by `rotation`, each axis with its own resolution. 0 or -1.
int saveJpgFile(const QImage& bitmap, int rotation, int hdpi, int vdpi, int colour, const QString& path);
// Replaces the file atomically when its folder is writable and has room. 0 or -1.
int saveFileToGivenPath(const QByteArray& data, const QString& path);
