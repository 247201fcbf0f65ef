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
    takeOpen(path);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return CheckPDF(path);
    std::unique_ptr<PdfDocument> document = PdfDocument::openBytes(file.readAll());
    if (!document)
        return kPdfUnusable;
    const int kind = checkPdfDocument(*document, nullptr);
    if (kind == kPdfCard) {
        std::lock_guard lock(m_mutex);
        m_open[path] = std::move(document);
    }
    return kind;
}

int CardFileRecognitionImages::acquireCardImages(const QString& frontPath, const QString& backPath,
                                                 CardBitmap* front, CardBitmap* back)
{
    const std::unique_ptr<PdfDocument> frontDocument = takeOpen(frontPath);
    takeOpen(backPath);
    if (backPath.isEmpty() && frontDocument)
        return AcquireCardImageFromDocument(*frontDocument, front, back, CardDecoding::Grey);
    return AcquireCardImages(frontPath, backPath, front, back, CardDecoding::Grey);
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

std::unique_ptr<PdfDocument> CardFileRecognitionImages::takeOpen(const QString& path)
{
    std::lock_guard lock(m_mutex);
    const auto found = m_open.find(path);
    if (found == m_open.end())
        return nullptr;
    std::unique_ptr<PdfDocument> document = std::move(found->second);
    m_open.erase(found);
    return document;
}
