// The operators of a page's content stream that matter for card pages, as a typed list in
// stream order: matrices, image draws, graphics-state saves and the colour settings.
#pragma once

#include "app/images/CardBitmap.h"
#include "platform/pdf/PdfDocument.h"

#include <QImage>
#include <QTransform>

#include <string>
#include <vector>

struct PageOperation {
    enum class Kind { cm, Do, q, Q, rg, RG, sc, SC, g, G };
    Kind kind = Kind::q;
    double values[6] = {0, 0, 0, 0, 0, 0}; // cm: a b c d e f; rg/RG: r g b; sc/SC/g/G: one value
    std::string name;                      // Do: the XObject name without its "/"
};

enum class OperatorSet { Reduced = 1, Full = 2 };

// An operator whose operands do not read as the numbers (or name) it needs adds nothing.
bool parsePageContents(const PdfPage& page, OperatorSet set, std::vector<PageOperation>& list);

// PDF matrix concatenation: the new current transformation is M x CTM.
void concatenate(QTransform& ctm, const PageOperation& cm);

// The highest resolution at which the listed operations draw an image of `xobjects`.
// 0 success, 1 missing argument, 2 a name without an image or a degenerate matrix.
int AcquirePageDpiByXObject(const PdfObject& xobjects, const std::vector<PageOperation>& list, int* hdpi, int* vdpi);

// Renders a layered page (several image layers, or one that does not cover the page) at its own
// resolution, without the page's /Rotate. 0, 1 missing argument, 2 failure (a page that draws no
// image is a failure).
int AcquireImageFromHighCompressPDFPage(PdfDocument& document, int pageIndex, QImage* bitmap,
                                        PageImageDescription* description);
