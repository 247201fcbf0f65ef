// Renders PDF pages into bitmaps with Qt PDF, always on white paper (Qt PDF itself leaves
// uncovered pixels transparent). The page's own /Rotate is applied, as a viewer shows it.
// A page is rendered only when the bitmap and everything the page draws decode within the
// ceiling of PdfLimits.h: the document is read a second time, by qpdf, to check that first.
#pragma once

#include "platform/pdf/PdfDocument.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPdfDocument>
#include <QSizeF>
#include <QString>

#include <memory>

class PdfPageRenderer {
public:
    // nullptr when the file or bytes are not a PDF that Qt PDF can load.
    static std::unique_ptr<PdfPageRenderer> openFile(const QString& path);
    static std::unique_ptr<PdfPageRenderer> openBytes(const QByteArray& bytes);

    int pageCount() const;
    // Page size in points, rotation applied.
    QSizeF pagePointSize(int page) const;
    // ARGB32 bitmap of `pixelSize`; a null image when the render fails or passes the ceiling.
    QImage render(int page, const QSize& pixelSize) const;

private:
    PdfPageRenderer() = default;
    bool pageWithinCeiling(int page) const;
    std::unique_ptr<PdfDocument> m_structure;
    std::unique_ptr<QPdfDocument> m_document;
    std::unique_ptr<QBuffer> m_buffer;
    QByteArray m_bytes;
};
