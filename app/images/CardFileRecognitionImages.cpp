#include "app/images/CardFileRecognitionImages.h"

#include "app/core/OpenDatabase.h"
#include "app/images/CardBitmapUtilities.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"

#include <QFile>

QString CardFileRecognitionImages::databaseFolder() const { return m_database.folder(); }

int CardFileRecognitionImages::checkPDF(const QString& path)
{
    m_open.reset();
    m_openPath.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return CheckPDF(path);
    std::unique_ptr<PdfDocument> document = PdfDocument::openBytes(file.readAll());
    if (!document)
        return kPdfUnusable;
    const int kind = checkPdfDocument(*document, nullptr);
    if (kind == kPdfCard) {
        m_open = std::move(document);
        m_openPath = path;
    }
    return kind;
}

int CardFileRecognitionImages::acquireCardImages(const QString& frontPath, const QString& backPath,
                                                 CardBitmap* front, CardBitmap* back)
{
    if (backPath.isEmpty() && m_open && frontPath == m_openPath) {
        const std::unique_ptr<PdfDocument> document = std::move(m_open);
        m_openPath.clear();
        return AcquireCardImageFromDocument(*document, front, back);
    }
    return AcquireCardImages(frontPath, backPath, front, back);
}

bool CardFileRecognitionImages::rotateBitmap(CardBitmap* bitmap, int degrees)
{
    QImage turned;
    if (RotateBitmapImageRep(bitmap->image, degrees, &turned) != 0)
        return false;
    bitmap->image = turned;
    return true;
}

int CardFileRecognitionImages::rotatePDFPage(const QString& path, int page, int degrees)
{
    return RotatePDFPage(path, page, degrees);
}
