// Card bitmaps from card PDFs: the page analysis (one image over the page, or layers), the
// single-image extraction through forms, and the bitmaps of a card's two sides with their info.
#pragma once

#include "app/images/CardBitmap.h"
#include "platform/pdf/PdfDocument.h"

#include <QString>

#include <cstdint>
#include <string>

// 0, 1 missing argument, 2 failure. Sets the high-compression flag when the page has several
// images or its one image is not drawn over the whole page, and the rotation of that drawing.
int AcquirePDFPageInfo(const PdfPage& page, uint8_t* highCompression, int* rotation);

// The quarter turn of a form from the first matrix after "/Perceptual" (or after byte 10).
void GetRotateDegreeFromStreamData(const std::string& data, int* degrees);

// What a card's bitmap is decoded for: as the page stores it (to show, turn or save it), or for
// recognition, which reads 8-bit grey (1-bit stays 1-bit) and needs no colour decoded.
enum class CardDecoding { AsStored, Grey };

// Extracts and decodes the page's one image (through nested forms, adding their rotation to
// `rotation`). 0, 2 failure, or kImageNeedsRender when the image is stored in a way only a
// renderer decodes (CCITT, JBIG2, JPEG 2000, CMYK, indexed colours, unusual depths).
inline constexpr int kImageNeedsRender = 3;
int AcquireImageFromPDFPage(const PdfPage& page, QImage* bitmap, PageImageDescription* description, int* rotation,
                            CardDecoding decoding = CardDecoding::AsStored);

// Page 1 into `first` and page 2 into `second`, either may be null. 0, 2 failure, -50 no path or
// no bitmap asked for. A document of one page leaves `second` empty and succeeds.
int AcquireCardImageFromPDF(const QString& path, CardBitmap* first, CardBitmap* second, CardDecoding decoding = CardDecoding::AsStored);
// The same from a document already open.
int AcquireCardImageFromDocument(PdfDocument& document, CardBitmap* first, CardBitmap* second,
                                 CardDecoding decoding = CardDecoding::AsStored);
// Front from page 1 of the front file; the back from page 1 of the back file, or from page 2
// of the front file when the back path is blank.
int AcquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front, CardBitmap* back,
                      CardDecoding decoding = CardDecoding::AsStored);

// Degrees brought into 0 to 359.
int normalizedDegrees(long long degrees);
