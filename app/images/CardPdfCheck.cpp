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
        std::vector<QPDFPageObjectHelper> pages = document.pages();
        // An empty document is no card, whatever its maker.
        if (pages.empty())
            return kPdfUnusable;
        for (QPDFPageObjectHelper& page : pages) {
            if (!page.getObjectHandle().isDictionary()
                || !page.getAttribute("/Resources", false).isDictionary())
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

int GetImageCountFromPDFPage(QPDFPageObjectHelper page)
{
    try {
        if (!page.getObjectHandle().isDictionary())
            return -1;
        QPDFObjectHandle resources = page.getAttribute("/Resources", false);
        if (!resources.isDictionary())
            return -1;
        QPDFObjectHandle xobjects = resources.getKey("/XObject");
        if (!xobjects.isDictionary())
            return -1;
        int count = 0;
        for (auto& [key, value] : xobjects.ditems()) {
            if (!value.isStream())
                continue;
            QPDFObjectHandle dict = value.getDict();
            if (dict.getKey("/Type").isNameAndEquals("/XObject") && dict.getKey("/Subtype").isNameAndEquals("/Image")) {
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
