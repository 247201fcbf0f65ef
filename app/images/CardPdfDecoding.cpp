#include "app/images/CardPdfDecoding.h"

#include "app/core/PLChecker.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/JpegGreyDecoder.h"
#include "app/images/PageContentScan.h"
#include "platform/pdf/PdfLimits.h"

#include <QBuffer>
#include <QImageReader>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Nested forms deeper than this are not followed (a form may name itself).
constexpr int kMaxFormDepth = 16;

// Reads a number the way atof does: leading blanks skipped, the longest numeric prefix, 0 when none.
double leadingNumber(const std::string& data, size_t pos)
{
    while (pos < data.size() && std::isspace(static_cast<unsigned char>(data[pos])))
        ++pos;
    if (pos < data.size() && data[pos] == '+')
        ++pos;
    double value = 0;
    std::from_chars(data.data() + pos, data.data() + data.size(), value);
    return value;
}

int pageRotateAttribute(const PdfPage& page)
{
    PdfObject rotate = page.attribute("/Rotate");
    return rotate.isInteger() ? int(rotate.intValue() % 360) : 0;
}

// The image that the resource walk reaches: the last stream entry of each XObject dictionary,
// followed into forms named "Fm…".
bool findPageImage(PdfObject resources, PdfObject& image, long long& rotation)
{
    for (int depth = 0; depth < kMaxFormDepth; ++depth) {
        if (!resources.isDictionary())
            return false;
        PdfObject xobjects = resources.key("/XObject");
        if (!xobjects.isDictionary())
            return false;
        std::string name;
        PdfObject last;
        for (auto& [key, value] : xobjects.entries()) {
            if (value.isStream()) {
                name = key.substr(1);
                last = value;
            }
        }
        if (name.empty())
            return false;
        if (name.rfind("Fm", 0) != 0) {
            image = last;
            return true;
        }
        int degrees = 0;
        GetRotateDegreeFromStreamData(last.streamData(PdfObject::Decoding::General), &degrees);
        rotation += degrees;
        resources = last.streamDictionary().key("/Resources");
    }
    return false;
}

std::vector<std::string> filterNames(const PdfObject& filter, bool& valid)
{
    valid = true;
    if (filter.isNull())
        return {};
    if (filter.isName())
        return {filter.name()};
    std::vector<std::string> names;
    if (!filter.isArray()) {
        valid = false;
        return names;
    }
    for (const PdfObject& item : filter.items()) {
        if (!item.isName()) {
            valid = false;
            return {};
        }
        names.push_back(item.name());
    }
    return names;
}

// Samples per pixel of a colour space this decoder handles: 1 grey, 3 RGB; 0 otherwise.
int componentsOf(const PdfObject& space)
{
    if (space.isName()) {
        if (space.name() == "/DeviceGray" || space.name() == "/CalGray")
            return 1;
        if (space.name() == "/DeviceRGB" || space.name() == "/CalRGB")
            return 3;
        return 0;
    }
    if (!space.isArray() || space.arraySize() < 1 || !space.item(0).isName())
        return 0;
    const std::string family = space.item(0).name();
    if (family == "/CalGray")
        return 1;
    if (family == "/CalRGB")
        return 3;
    if (family == "/ICCBased" && space.arraySize() >= 2 && space.item(1).isStream()) {
        PdfObject n = space.item(1).streamDictionary().key("/N");
        if (n.isInteger() && (n.intValue() == 1 || n.intValue() == 3))
            return int(n.intValue());
    }
    return 0;
}

enum class DecodeArray { Normal, Inverted, Other };

DecodeArray decodeArrayOf(const PdfObject& decode, int components)
{
    if (decode.isNull())
        return DecodeArray::Normal;
    if (!decode.isArray() || decode.arraySize() != 2 * components)
        return DecodeArray::Other;
    bool normal = true, inverted = true;
    for (int i = 0; i < components; ++i) {
        std::optional<double> low = decode.item(2 * i).number();
        std::optional<double> high = decode.item(2 * i + 1).number();
        if (!low || !high)
            return DecodeArray::Other;
        normal = normal && *low == 0 && *high == 1;
        inverted = inverted && *low == 1 && *high == 0;
    }
    return normal ? DecodeArray::Normal : inverted ? DecodeArray::Inverted : DecodeArray::Other;
}

QImage decodeJpeg(const std::string& bytes, CardDecoding decoding)
{
    if (decoding == CardDecoding::Grey) {
        QImage grey;
        const JpegGreyResult result = decodeJpegToGrey(bytes.data(), bytes.size(), &grey);
        if (result != JpegGreyResult::Unsupported)
            return grey;
    }
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxCardBitmapPixels
        || qint64(size.width()) * size.height() * 4 > qint64(kMaxPdfDecodedBytes))
        return {};
    return reader.read();
}

QImage rawSamples(const std::string& data, int width, int height, int components, int bits, bool inverted)
{
    const qint64 rowBytes = bits == 1 ? (qint64(width) + 7) / 8 : qint64(width) * components;
    if (qint64(data.size()) < rowBytes * height)
        return {};
    QImage::Format format = bits == 1 ? QImage::Format_Mono
        : components == 1             ? QImage::Format_Grayscale8
                                      : QImage::Format_RGB888;
    QImage image(width, height, format);
    if (image.isNull())
        return {};
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), data.data() + rowBytes * y, size_t(rowBytes));
    if (bits == 1) {
        // Sample 0 is black unless the Decode array turns it round.
        image.setColorTable(inverted ? QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}
                                     : QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)});
    } else if (inverted) {
        image.invertPixels();
    }
    return image;
}

// The stored image of a card page, decoded by its colour space, depth and Decode array.
int decodeImageStream(const PdfObject& image, QImage& bitmap, PageImageDescription& description, CardDecoding decoding)
{
    PdfObject dict = image.streamDictionary();
    if (!dict.key("/Type").isName("/XObject") || !dict.key("/Subtype").isName("/Image")
        || !dict.key("/BitsPerComponent").isInteger())
        return 2;
    if (!dict.key("/Width").isInteger() || !dict.key("/Height").isInteger())
        return 2;
    const long long width = dict.key("/Width").intValue();
    const long long height = dict.key("/Height").intValue();
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || width * height > kMaxCardBitmapPixels)
        return 2;
    const long long bits = dict.key("/BitsPerComponent").intValue();
    bool validFilter = true;
    std::vector<std::string> filters = filterNames(dict.key("/Filter"), validFilter);
    if (!validFilter)
        return 2;
    description.width = int(width);
    description.height = int(height);
    description.invert = false;

    if (filters.size() == 1 && filters[0] == "/DCTDecode") {
        if (!dict.key("/Decode").isNull())
            return kImageNeedsRender;
        const std::string raw = image.streamData(PdfObject::Decoding::Raw);
        bitmap = decodeJpeg(raw, decoding);
        if (bitmap.isNull())
            return 2;
        description.jpegEncoded = true;
        description.kind = -1;
        description.depth = 24;
        description.dataLength = qint64(raw.size());
        return 0;
    }
    for (const std::string& filter : filters) {
        if (filter != "/FlateDecode" && filter != "/LZWDecode" && filter != "/RunLengthDecode"
            && filter != "/ASCIIHexDecode" && filter != "/ASCII85Decode")
            return kImageNeedsRender;
    }
    if (dict.key("/ImageMask").isBool() && dict.key("/ImageMask").boolValue())
        return kImageNeedsRender;
    const int components = componentsOf(dict.key("/ColorSpace"));
    if (components == 0 || !(bits == 8 || (bits == 1 && components == 1)))
        return kImageNeedsRender;
    DecodeArray decode = decodeArrayOf(dict.key("/Decode"), components);
    if (decode == DecodeArray::Other)
        return kImageNeedsRender;
    std::string samples;
    try {
        samples = image.streamData(PdfObject::Decoding::Specialized);
    } catch (const std::exception&) {
        return 2;
    }
    bitmap = rawSamples(samples, int(width), int(height), components, int(bits), decode == DecodeArray::Inverted);
    if (bitmap.isNull())
        return 2;
    description.jpegEncoded = false;
    description.depth = bits == 1 ? 1 : components == 1 ? 8 : 24;
    description.kind = bits == 1 ? (decode == DecodeArray::Normal ? -1 : 3) : components == 1 ? 2 : 1;
    description.invert = decode == DecodeArray::Inverted;
    description.dataLength = qint64(samples.size());
    return 0;
}

// What a stored image decodes to, so that a rendered fallback keeps the image's kind.
QImage::Format storedFormat(const PdfObject& image)
{
    PdfObject dict = image.streamDictionary();
    PdfObject bits = dict.key("/BitsPerComponent");
    const bool mask = dict.key("/ImageMask").isBool() && dict.key("/ImageMask").boolValue();
    if (mask || (bits.isInteger() && bits.intValue() == 1))
        return QImage::Format_Mono;
    return componentsOf(dict.key("/ColorSpace")) == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
}

int renderPage(PdfDocument& document, int index, QImage::Format format, CardBitmap& out)
{
    PageImageDescription description;
    QImage rendered;
    int status = AcquireImageFromHighCompressPDFPage(document, index, &rendered, &description);
    if (status != 0)
        return status;
    out.image = format == QImage::Format_RGBA8888 ? rendered
                                                  : rendered.convertToFormat(format, Qt::ThresholdDither);
    out.info.rotation = 0;
    out.info.hdpi = description.hdpi;
    out.info.vdpi = description.vdpi;
    out.info.colour = format == QImage::Format_Mono ? 0 : 1;
    return 0;
}

int buildPageBitmap(PdfDocument& document, int index, CardBitmap& out, CardDecoding decoding)
{
    PdfPage page = document.pages().at(size_t(index));
    uint8_t highCompression = 0;
    int rotation = 0;
    if (AcquirePDFPageInfo(page, &highCompression, &rotation) != 0)
        return 2;
    int status;
    if (highCompression) {
        status = renderPage(document, index, QImage::Format_RGBA8888, out);
    } else {
        PageImageDescription description;
        status = AcquireImageFromPDFPage(page, &out.image, &description, &rotation, decoding);
        if (status == kImageNeedsRender) {
            PdfObject image;
            long long ignored = 0;
            findPageImage(page.attribute("/Resources"), image, ignored);
            status = renderPage(document, index, storedFormat(image), out);
        } else if (status == 0) {
            out.info.rotation = rotation;
            out.info.hdpi = description.hdpi;
            out.info.vdpi = description.vdpi;
            out.info.colour = description.depth == 1 ? 0 : 1;
        }
    }
    if (status != 0)
        return 2;
    out.info.rotation = normalizedDegrees(static_cast<long long>(out.info.rotation) + pageRotateAttribute(page));
    out.image.setDotsPerMeterX(int(std::lround(out.info.hdpi / 0.0254)));
    out.image.setDotsPerMeterY(int(std::lround(out.info.vdpi / 0.0254)));
    return 0;
}

} // namespace

int normalizedDegrees(long long degrees)
{
    long long r = degrees % 360;
    return int(r < 0 ? r + 360 : r);
}

int AcquirePDFPageInfo(const PdfPage& page, uint8_t* highCompression, int* rotation)
{
    if (!highCompression || !rotation)
        return 1;
    try {
        if (!page.object().isDictionary())
            return 2;
        PdfObject resources = page.attribute("/Resources");
        if (!resources.isDictionary() || !resources.key("/XObject").isDictionary())
            return 2;
        const int images = GetImageCountFromPDFPage(page);
        if (images == 0)
            return 0;
        if (images >= 2) {
            *highCompression = 1;
            return 0;
        }
        double w = 0, h = 0;
        if (!page.mediaBox().boxSize(w, h))
            return 2;
        std::vector<PageOperation> list;
        if (!parsePageContents(page, OperatorSet::Reduced, list))
            return 2;
        QTransform ctm;
        std::vector<QTransform> saved;
        for (const PageOperation& operation : list) {
            if (operation.kind == PageOperation::Kind::q) {
                saved.push_back(ctm);
            } else if (operation.kind == PageOperation::Kind::Q) {
                if (!saved.empty()) {
                    ctm = saved.back();
                    saved.pop_back();
                }
            } else if (operation.kind == PageOperation::Kind::cm) {
                concatenate(ctm, operation);
            } else if (operation.kind == PageOperation::Kind::Do) {
                const double a = ctm.m11(), b = ctm.m12(), c = ctm.m21(), d = ctm.m22();
                auto near = [](double value, double size) { return std::fabs(std::fabs(value) - size) <= 0.01; };
                const bool covers = (near(a, w) && near(d, h)) || (near(c, w) && near(b, h));
                *highCompression = covers ? 0 : 1;
                double degrees;
                if (a == 0) {
                    degrees = c > 0 ? 90 : 270;
                } else {
                    const double t = std::atan(b / a) * 180 / M_PI;
                    degrees = a > 0 ? t : (b >= 0 ? t + 180 : t - 180);
                }
                *rotation = int(degrees);
                return 0;
            }
        }
        return 0;
    } catch (const std::exception&) {
        return 2;
    }
}

void GetRotateDegreeFromStreamData(const std::string& data, int* degrees)
{
    if (!degrees)
        return;
    *degrees = 0;
    if (data.size() < 20)
        return;
    size_t from = data.find("/Perceptual");
    if (from == std::string::npos)
        from = 10;
    size_t q = data.find('q', from);
    if (q == std::string::npos)
        return;
    double m[6];
    size_t pos = q + 2;
    for (int i = 0; i < 6; ++i) {
        if (pos >= data.size())
            return;
        m[i] = leadingNumber(data, pos);
        if (i < 5) {
            size_t blank = data.find(' ', pos);
            if (blank == std::string::npos)
                return;
            pos = blank + 1;
        }
    }
    const double a = m[0], b = m[1], c = m[2], d = m[3], e = m[4], f = m[5];
    if (a != 0 && d != 0 && b == 0 && c == 0)
        *degrees = (e != 0 && f != 0) ? 180 : 0;
    else if (a == 0 && d == 0 && b != 0 && c != 0)
        *degrees = (e == 0 && f != 0) ? 90 : (e != 0 && f == 0) ? 270 : 0;
}

int AcquireImageFromPDFPage(const PdfPage& page, QImage* bitmap, PageImageDescription* description, int* rotation, CardDecoding decoding)
{
    if (!bitmap || !description || !rotation)
        return 2;
    try {
        PdfObject contents = page.object().key("/Contents");
        if (!contents.isStream() && !(contents.isArray() && contents.arraySize() > 0 && contents.item(0).isStream()))
            return 2;
        double w = 0, h = 0;
        if (!page.mediaBox().boxSize(w, h) || w <= 0 || h <= 0)
            return 2;
        PdfObject resources = page.attribute("/Resources");
        if (!resources.isDictionary())
            return 2;
        PdfObject image;
        long long turned = *rotation;
        if (!findPageImage(resources, image, turned))
            return 2;
        *rotation = normalizedDegrees(turned);
        QImage decoded;
        int status = decodeImageStream(image, decoded, *description, decoding);
        if (status != 0)
            return status;
        const bool quarter = *rotation == 90 || *rotation == 270;
        const double width = description->width, height = description->height;
        description->hdpi = truncatedDpi(quarter ? width / h * 72 : width / w * 72);
        description->vdpi = truncatedDpi(quarter ? height / w * 72 : height / h * 72);
        *bitmap = decoded;
        return 0;
    } catch (const std::exception&) {
        *bitmap = QImage();
        return 2;
    }
}

int AcquireCardImageFromPDF(const QString& path, CardBitmap* first, CardBitmap* second, CardDecoding decoding)
{
    if (PLChecker::isBlank(path) || (!first && !second))
        return -50;
    if (first)
        *first = CardBitmap();
    if (second)
        *second = CardBitmap();
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    return document ? AcquireCardImageFromDocument(*document, first, second, decoding) : 2;
}

int AcquireCardImageFromDocument(PdfDocument& document, CardBitmap* first, CardBitmap* second, CardDecoding decoding)
{
    if (!first && !second)
        return -50;
    if (first)
        *first = CardBitmap();
    if (second)
        *second = CardBitmap();
    try {
        const int pages = document.pageCount();
        if (pages == 0)
            return 2;
        CardBitmap front, back;
        if (first && buildPageBitmap(document, 0, front, decoding) != 0)
            return 2;
        if (second && pages >= 2 && buildPageBitmap(document, 1, back, decoding) != 0)
            return 2;
        if (first)
            *first = front;
        if (second)
            *second = back;
        return 0;
    } catch (const std::exception&) {
        return 2;
    }
}

int AcquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front, CardBitmap* back, CardDecoding decoding)
{
    if (PLChecker::isBlank(backPath))
        return AcquireCardImageFromPDF(frontPath, front, back, decoding);
    if (!front && !back)
        return -50;
    if (front) {
        int status = AcquireCardImageFromPDF(frontPath, front, nullptr, decoding);
        if (status != 0)
            return status;
    }
    if (back) {
        int status = AcquireCardImageFromPDF(backPath, back, nullptr, decoding);
        if (status != 0) {
            if (front)
                *front = CardBitmap();
            return status;
        }
    }
    return 0;
}
