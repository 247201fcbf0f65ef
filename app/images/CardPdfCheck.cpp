#include "app/images/CardPdfCheck.h"

#include "platform/pdf/PdfDocument.h"

#include <QFileInfo>

namespace {

enum class MakerTest { Own, PageTest, Foreign };

MakerTest makerOf(PdfDocument& document)
{
    if (std::optional<QString> creator = document.infoText("/Creator")) {
        if (*creator == QLatin1String(kOwnCreator))
            return MakerTest::Own;
        if (creator->contains(QLatin1String(kScannerMark)) || creator->contains(QLatin1String(kOwnCreator)))
            return MakerTest::PageTest;
        return MakerTest::Foreign;
    }
    std::optional<QString> producer = document.infoText("/Producer");
    return producer && producer->contains(QLatin1String(kScannerMark)) ? MakerTest::PageTest : MakerTest::Foreign;
}

} // namespace

int CheckPDF(const QString& path)
{
    return checkPdfFile2(path, nullptr);
}

int checkPdfFile2(const QString& path, QVariantMap* result)
{
    if (path.isEmpty())
        return -50;
    if (!QFileInfo::exists(path))
        return kPdfMissing;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    return document ? checkPdfDocument(*document, result) : kPdfUnusable;
}

int checkPdfDocument(PdfDocument& document, QVariantMap* result)
{
    try {
        if (document.isEncrypted() || !document.hasInfo())
            return kPdfUnusable;
        switch (makerOf(document)) {
        case MakerTest::Own:
            return kPdfOwnOrImageless;
        case MakerTest::Foreign:
            return kPdfUnusable;
        case MakerTest::PageTest:
            break;
        }
        std::vector<PdfPage> pages = document.pages();
        // An empty document is no card, whatever its maker.
        if (pages.empty())
            return kPdfUnusable;
        for (const PdfPage& page : pages) {
            if (!page.object().isDictionary() || !page.attribute("/Resources").isDictionary())
                return kPdfUnusable;
            if (GetImageCountFromPDFPage(page) < 1)
                return kPdfOwnOrImageless;
        }
        if (result)
            result->insert(QLatin1String(kPageCountKey), int(pages.size()));
        return kPdfCard;
    } catch (const std::exception&) {
        return kPdfUnusable;
    }
}

bool isImagePdf(const QString& path, int pageCount)
{
    QVariantMap result;
    return checkPdfFile2(path, &result) == kPdfCard && result.value(QLatin1String(kPageCountKey)).toInt() == pageCount;
}

int GetImageCountFromPDFPage(const PdfPage& page)
{
    try {
        if (!page.object().isDictionary())
            return -1;
        PdfObject resources = page.attribute("/Resources");
        if (!resources.isDictionary())
            return -1;
        PdfObject xobjects = resources.key("/XObject");
        if (!xobjects.isDictionary())
            return -1;
        int count = 0;
        for (auto& [key, value] : xobjects.entries()) {
            if (!value.isStream())
                continue;
            PdfObject dict = value.streamDictionary();
            if (dict.key("/Type").isName("/XObject") && dict.key("/Subtype").isName("/Image")) {
                ++count;
                if (dict.hasKey("/Mask"))
                    ++count;
            }
        }
        return count;
    } catch (const std::exception&) {
        return -1;
    }
}
