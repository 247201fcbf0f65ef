// Classification of PDF files: missing, unusable, this system's own or imageless, or a scanned
// card PDF whose every page holds an image.
#pragma once

#include "platform/pdf/PdfDocument.h"

#include <QString>
#include <QVariantMap>

inline constexpr char kPageCountKey[] = "PAGE_COUNT";
inline constexpr char kOwnCreator[] = "Pelmora";
inline constexpr char kScannerMark[] = "Brevix";
// The Creator this system gives card files that came without one, so that they classify as card PDFs.
inline constexpr char kScannerCreator[] = "Brevix Pelmora";

enum CardPdfClass {
    kPdfMissing = 0,
    kPdfUnusable = 1,
    kPdfOwnOrImageless = 2,
    kPdfCard = 3,
};

// 0 to 3 as above; -50 when no path is given.
int CheckPDF(const QString& path);
// The same; with 3, `result` (when given) receives "PAGE_COUNT".
int checkPdfFile2(const QString& path, QVariantMap* result);
// The same for a document already open (the file exists).
int checkPdfDocument(PdfDocument& document, QVariantMap* result);
bool isImagePdf(const QString& path, int pageCount);
// Images in the page's XObject resources (one more for each with a /Mask); -1 without them.
int GetImageCountFromPDFPage(const PdfPage& page);
