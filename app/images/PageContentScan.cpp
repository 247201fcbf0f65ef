#include "app/images/PageContentScan.h"

#include "platform/pdf/PdfContentScan.h"
#include "platform/pdf/PdfPageRenderer.h"

#include <cmath>

namespace {

struct OperatorRule {
    const char* op;
    PageOperation::Kind kind;
    int numbers; // numeric operands taken from the end of the operand list; -1 for a name
    bool reduced;
};

constexpr OperatorRule kRules[] = {
    {"cm", PageOperation::Kind::cm, 6, true}, {"Do", PageOperation::Kind::Do, -1, true},
    {"q", PageOperation::Kind::q, 0, true},   {"Q", PageOperation::Kind::Q, 0, true},
    {"rg", PageOperation::Kind::rg, 3, false}, {"RG", PageOperation::Kind::RG, 3, false},
    {"sc", PageOperation::Kind::sc, 1, false}, {"SC", PageOperation::Kind::SC, 1, false},
    {"g", PageOperation::Kind::g, 1, false},   {"G", PageOperation::Kind::G, 1, false},
};

bool readOperation(const OperatorRule& rule, const std::vector<PdfObject>& operands, PageOperation& out)
{
    out.kind = rule.kind;
    if (rule.numbers < 0) {
        if (operands.empty())
            return false;
        const PdfObject& name = operands.back();
        if (!name.isName())
            return false;
        out.name = name.name().substr(1);
        return true;
    }
    if (operands.size() < size_t(rule.numbers))
        return false;
    size_t first = operands.size() - size_t(rule.numbers);
    for (int i = 0; i < rule.numbers; ++i) {
        std::optional<double> value = operands[first + size_t(i)].number();
        if (!value)
            return false;
        out.values[i] = *value;
    }
    return true;
}

// The scale of a matrix along the image's own axes, as the angle of its first column tells.
bool imageScales(const QTransform& m, double& horizontal, double& vertical)
{
    const double a = m.m11(), b = m.m12(), c = m.m21(), d = m.m22();
    double t;
    if (a == 0)
        t = b >= 0 ? M_PI / 2 : -M_PI / 2;
    else if (a > 0)
        t = std::atan(b / a);
    else
        t = b >= 0 ? std::atan(b / a) + M_PI : std::atan(b / a) - M_PI;
    const double at = std::fabs(t);
    if (at >= M_PI / 4 && at <= 3 * M_PI / 4) {
        horizontal = b / std::sin(t);
        vertical = c / -std::sin(t);
    } else {
        horizontal = a / std::cos(t);
        vertical = d / std::cos(t);
    }
    horizontal = std::fabs(horizontal);
    vertical = std::fabs(vertical);
    return std::isfinite(horizontal) && std::isfinite(vertical) && horizontal > 1e-9 && vertical > 1e-9;
}

} // namespace

bool parsePageContents(const PdfPage& page, OperatorSet set, std::vector<PageOperation>& list)
{
    return scanPageContents(page, [&](const std::string& op, const std::vector<PdfObject>& operands) {
        for (const OperatorRule& rule : kRules) {
            if (op != rule.op)
                continue;
            if (set == OperatorSet::Reduced && !rule.reduced)
                return;
            PageOperation operation;
            if (readOperation(rule, operands, operation))
                list.push_back(std::move(operation));
            return;
        }
    });
}

void concatenate(QTransform& ctm, const PageOperation& cm)
{
    const double* v = cm.values;
    ctm = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]) * ctm;
}

int AcquirePageDpiByXObject(const PdfObject& xobjects, const std::vector<PageOperation>& list, int* hdpi, int* vdpi)
{
    if (!hdpi || !vdpi || !xobjects.isDictionary())
        return 1;
    *hdpi = 0;
    *vdpi = 0;
    QTransform ctm;
    std::vector<QTransform> saved;
    for (const PageOperation& operation : list) {
        switch (operation.kind) {
        case PageOperation::Kind::q:
            saved.push_back(ctm);
            break;
        case PageOperation::Kind::Q:
            if (!saved.empty()) {
                ctm = saved.back();
                saved.pop_back();
            }
            break;
        case PageOperation::Kind::cm:
            concatenate(ctm, operation);
            break;
        case PageOperation::Kind::Do: {
            PdfObject image = xobjects.key("/" + operation.name);
            if (!image.isStream())
                return 2;
            PdfObject dict = image.streamDictionary();
            if (!dict.key("/Width").isInteger() || !dict.key("/Height").isInteger())
                return 2;
            double horizontal = 0, vertical = 0;
            if (!imageScales(ctm, horizontal, vertical))
                return 2;
            const double width = double(dict.key("/Width").intValue());
            const double height = double(dict.key("/Height").intValue());
            const double h = width * 72 / horizontal + 0.5;
            const double v = height * 72 / vertical + 0.5;
            if (!(h < 1e6 && v < 1e6))
                return 2;
            *hdpi = std::max(*hdpi, int(h));
            *vdpi = std::max(*vdpi, int(v));
            break;
        }
        default:
            break;
        }
    }
    return 0;
}

int AcquireImageFromHighCompressPDFPage(PdfDocument& document, int pageIndex, QImage* bitmap,
                                        PageImageDescription* description)
{
    if (!bitmap || !description)
        return 1;
    *bitmap = QImage();
    try {
        std::vector<PdfPage> pages = document.pages();
        if (pageIndex < 0 || size_t(pageIndex) >= pages.size())
            return 2;
        const PdfPage& page = pages[size_t(pageIndex)];
        double w = 0, h = 0;
        if (!page.mediaBox().boxSize(w, h) || w <= 0 || h <= 0)
            return 2;
        PdfObject resources = page.attribute("/Resources");
        if (!resources.isDictionary() || !resources.key("/XObject").isDictionary())
            return 2;
        std::vector<PageOperation> list;
        if (!parsePageContents(page, OperatorSet::Full, list))
            return 2;
        int hdpi = 0, vdpi = 0;
        if (AcquirePageDpiByXObject(resources.key("/XObject"), list, &hdpi, &vdpi) != 0 || hdpi <= 0
            || vdpi <= 0)
            return 2;
        const int width = int(w / 72 * hdpi);
        const int height = int(h / 72 * vdpi);
        if (width <= 0 || height <= 0 || qint64(width) * height > kMaxCardBitmapPixels)
            return 2;

        // The page alone, upright: the caller adds the page's /Rotate to the bitmap's rotation.
        std::unique_ptr<PdfDocument> single = PdfDocument::createEmpty();
        single->appendPage(page);
        single->pages().front().removeRotation();
        std::unique_ptr<PdfPageRenderer> renderer = PdfPageRenderer::openBytes(single->toBytes());
        if (!renderer)
            return 2;
        QImage rendered = renderer->render(0, QSize(width, height));
        if (rendered.isNull())
            return 2;
        *bitmap = rendered.convertToFormat(QImage::Format_RGBA8888);
        description->jpegEncoded = true;
        description->depth = 24;
        description->kind = -1;
        description->invert = false;
        description->width = width;
        description->height = height;
        description->dataLength = qint64(bitmap->bytesPerLine()) * height;
        description->hdpi = truncatedDpi(width / w * 72);
        description->vdpi = truncatedDpi(height / h * 72);
        return 0;
    } catch (const std::exception&) {
        *bitmap = QImage();
        return 2;
    }
}
