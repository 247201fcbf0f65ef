#include "plugin/Common/PdfFunctions.h"

#include "platform/pdf/PdfDocument.h"

#include <QFileInfo>

int CheckPdfFile(const QString& path, int* pageCount)
{
    if (path.isNull())
        return kPdfNoPath;
    if (!QFileInfo::exists(path))
        return kPdfNoFile;
    PdfDocument::OpenResult result = PdfDocument::OpenResult::CannotOpen;
    const auto document = PdfDocument::open(path, &result);
    if (!document || result != PdfDocument::OpenResult::Opened)
        return kPdfNotOurs;
    const std::optional<QString> creator = document->infoText("/Creator");
    if (!creator || !(creator->contains(QLatin1String("Brevix")) || creator->contains(QLatin1String("Pelmora"))))
        return kPdfNotOurs;
    if (pageCount)
        *pageCount = document->pageCount();
    return kPdfOurs;
}

bool isImageOrTextPdf(const QString& path, int minimumPages)
{
    int pages = 0;
    return !path.isNull() && CheckPdfFile(path, &pages) == kPdfOurs && pages >= minimumPages;
}

int RemovePDFPage(const QString& path, int index, QByteArray& data)
{
    if (path.isNull() || index < 0 || !isImageOrTextPdf(path, index + 1))
        return kPdfNoPath;
    const auto document = PdfDocument::open(path);
    if (!document || index >= document->pageCount())
        return kPdfNoPath;
    try {
        document->removePage(index);
    } catch (const std::exception&) {
        // A page that cannot be taken out is a failed split, not a document to send whole.
        return kPdfNoPath;
    }
    data = document->toBytes();
    return data.isEmpty() ? kPdfNoPath : 0;
}
