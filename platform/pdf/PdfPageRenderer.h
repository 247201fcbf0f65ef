// Renders PDF pages into bitmaps with Qt PDF, always on white paper (Qt PDF itself leaves
// uncovered pixels transparent). The page's own /Rotate is applied, as a viewer shows it.
#pragma once

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
    // ARGB32 bitmap of `pixelSize`; a null image when the render fails.
    QImage render(int page, const QSize& pixelSize) const;

private:
    PdfPageRenderer() = default;
    std::unique_ptr<QPdfDocument> m_document;
    std::unique_ptr<QBuffer> m_buffer;
    QByteArray m_bytes;
};
