#include "tests/support/pdf/TestPdf.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace testpdf {
namespace {

std::string text(const QByteArray& bytes)
{
    return std::string(bytes.constData(), size_t(bytes.size()));
}

std::string number(double value)
{
    return QString::number(value, 'f', 6).toStdString();
}

QByteArray zlib(const QByteArray& bytes)
{
    return qCompress(bytes).mid(4); // qCompress prefixes the plain length
}

QPDFObjectHandle colorSpaceObject(QPDF& q, const std::string& name)
{
    if (name == "ICCGray" || name == "ICCRGB") {
        QPDFObjectHandle profile = q.newStream(std::string());
        profile.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(name == "ICCGray" ? 1 : 3));
        QPDFObjectHandle array = QPDFObjectHandle::newArray();
        array.appendItem(QPDFObjectHandle::newName("/ICCBased"));
        array.appendItem(profile);
        return array;
    }
    return QPDFObjectHandle::newName(name);
}

QPDFObjectHandle imageObject(QPDF& q, const Image& image)
{
    QPDFObjectHandle stream = q.newStream();
    if (image.encoded)
        stream.replaceStreamData(text(image.data), QPDFObjectHandle::parse(image.filter), QPDFObjectHandle::newNull());
    else if (image.filter == "/DCTDecode")
        stream.replaceStreamData(text(image.data), QPDFObjectHandle::newName("/DCTDecode"),
                                 QPDFObjectHandle::newNull());
    else if (image.filter == "/FlateDecode")
        stream.replaceStreamData(text(zlib(image.data)), QPDFObjectHandle::newName("/FlateDecode"),
                                 QPDFObjectHandle::newNull());
    else
        stream.replaceStreamData(text(image.data), QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
    QPDFObjectHandle dict = stream.getDict();
    if (image.typeKey)
        dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(image.width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(image.height));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(image.imageMask ? 1 : image.bitsPerComponent));
    if (image.imageMask)
        dict.replaceKey("/ImageMask", QPDFObjectHandle::newBool(true));
    else
        dict.replaceKey("/ColorSpace", colorSpaceObject(q, image.colorSpace));
    if (!image.decode.empty())
        dict.replaceKey("/Decode", QPDFObjectHandle::parse(image.decode));
    if (image.mask)
        dict.replaceKey("/Mask", QPDFObjectHandle::parse("[0 0 0 0 0 0]"));
    if (!image.smask.isEmpty()) {
        QPDFObjectHandle soft = q.newStream();
        soft.replaceStreamData(text(zlib(image.smask)), QPDFObjectHandle::newName("/FlateDecode"),
                               QPDFObjectHandle::newNull());
        QPDFObjectHandle sd = soft.getDict();
        sd.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
        sd.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
        sd.replaceKey("/Width", QPDFObjectHandle::newInteger(image.width));
        sd.replaceKey("/Height", QPDFObjectHandle::newInteger(image.height));
        sd.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
        sd.replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceGray"));
        dict.replaceKey("/SMask", soft);
    }
    return stream;
}

QPDFObjectHandle xobjectDictionary(QPDF& q, const std::vector<Image>& images)
{
    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
    for (const Image& image : images)
        xobjects.replaceKey("/" + image.name, imageObject(q, image));
    return xobjects;
}

QPDFObjectHandle box(double width, double height)
{
    QPDFObjectHandle array = QPDFObjectHandle::newArray();
    array.appendItem(QPDFObjectHandle::newInteger(0));
    array.appendItem(QPDFObjectHandle::newInteger(0));
    array.appendItem(QPDFObjectHandle::newReal(number(width)));
    array.appendItem(QPDFObjectHandle::newReal(number(height)));
    return array;
}

} // namespace

QByteArray buildPdf(const Document& document)
{
    QPDF q;
    q.emptyPDF();
    QPDFPageDocumentHelper pages(q);
    for (const Page& page : document.pages) {
        QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
        dict.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
        if (!page.inheritMediaBox)
            dict.replaceKey("/MediaBox", box(page.width, page.height));
        if (page.rotate)
            dict.replaceKey("/Rotate", QPDFObjectHandle::newInteger(page.rotate));
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        if (page.formContent) {
            QPDFObjectHandle form = q.newStream(*page.formContent);
            QPDFObjectHandle fd = form.getDict();
            fd.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
            fd.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
            fd.replaceKey("/BBox", box(page.width, page.height));
            QPDFObjectHandle formResources = QPDFObjectHandle::newDictionary();
            formResources.replaceKey("/XObject", xobjectDictionary(q, page.images));
            fd.replaceKey("/Resources", formResources);
            if (page.formNamesItself) {
                QPDFObjectHandle itself = QPDFObjectHandle::newDictionary();
                itself.replaceKey("/Fm0", form);
                formResources.replaceKey("/XObject", itself);
            }
            QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
            xobjects.replaceKey("/Fm0", form);
            resources.replaceKey("/XObject", xobjects);
        } else {
            resources.replaceKey("/XObject", xobjectDictionary(q, page.images));
        }
        dict.replaceKey("/Resources", resources);
        QPDFObjectHandle contents = q.newStream(page.content);
        if (!page.contentFilter.empty())
            contents.replaceStreamData(page.content, QPDFObjectHandle::parse(page.contentFilter), QPDFObjectHandle::newNull());
        if (page.contentCopies > 1) {
            QPDFObjectHandle copies = QPDFObjectHandle::newArray();
            for (int i = 0; i < page.contentCopies; ++i)
                copies.appendItem(contents);
            dict.replaceKey("/Contents", copies);
        } else {
            dict.replaceKey("/Contents", contents);
        }
        pages.addPage(QPDFPageObjectHelper(q.makeIndirectObject(dict)), false);
        if (page.inheritMediaBox)
            q.getRoot().getKey("/Pages").replaceKey("/MediaBox", box(page.width, page.height));
    }
    if (document.info) {
        QPDFObjectHandle info = q.makeIndirectObject(QPDFObjectHandle::newDictionary());
        if (document.creator)
            info.replaceKey("/Creator", QPDFObjectHandle::newUnicodeString(*document.creator));
        if (document.producer)
            info.replaceKey("/Producer", QPDFObjectHandle::newUnicodeString(*document.producer));
        q.getTrailer().replaceKey("/Info", info);
    }
    if (document.signatureFlags)
        q.getRoot().replaceKey("/AcroForm", QPDFObjectHandle::parse("<< /Fields [] /SigFlags 3 >>"));

    QPDFWriter writer(q);
    writer.setOutputMemory();
    writer.setStaticID(true);
    // Streams stored as given are written as they are, however far they would inflate.
    if (std::any_of(document.pages.begin(), document.pages.end(), [](const Page& page) {
            return !page.contentFilter.empty()
                || std::any_of(page.images.begin(), page.images.end(), [](const Image& image) { return image.encoded; });
        })) {
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setCompressStreams(false);
    }
    if (document.userPassword) {
        writer.setStaticID(false);
        writer.setR6EncryptionParameters(document.userPassword->c_str(), "owner", true, true, true, true, true,
                                         true, qpdf_r3p_full, true);
    }
    writer.write();
    auto buffer = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), qsizetype(buffer->getSize()));
}

QByteArray deflatedZeros(qint64 size)
{
    Pl_Buffer out("deflated zeros");
    Pl_Flate flate("deflate", &out, Pl_Flate::a_deflate);
    const std::string chunk(size_t(1) << 20, '\0');
    for (qint64 left = size; left > 0; left -= qint64(chunk.size()))
        flate.write(reinterpret_cast<const unsigned char*>(chunk.data()), size_t(std::min<qint64>(left, qint64(chunk.size()))));
    flate.finish();
    auto buffer = out.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), qsizetype(buffer->getSize()));
}

QByteArray deflated(const QByteArray& bytes)
{
    return zlib(bytes);
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writePdf(const QString& path, const Document& document)
{
    return writeBytes(path, buildPdf(document));
}

Page imagePage(const Image& image, double widthPt, double heightPt, double a, double b, double c, double d,
               double e, double f)
{
    Page page;
    page.width = widthPt;
    page.height = heightPt;
    page.images = {image};
    page.content = "q " + number(a) + " " + number(b) + " " + number(c) + " " + number(d) + " " + number(e) + " "
        + number(f) + " cm /" + image.name + " Do Q";
    return page;
}

Page fullPage(const Image& image, double widthPt, double heightPt)
{
    return imagePage(image, widthPt, heightPt, widthPt, 0, 0, heightPt);
}

Document scannerDocument(int pages, const std::string& creator)
{
    Document document;
    document.creator = creator;
    Image image = jpegImage(patternImage(120, 60));
    for (int i = 0; i < pages; ++i)
        document.pages.push_back(fullPage(image));
    return document;
}

QImage patternImage(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::black);
    painter.end();
    return image;
}

Image jpegImage(const QImage& source, int quality)
{
    Image image;
    image.width = source.width();
    image.height = source.height();
    image.filter = "/DCTDecode";
    image.colorSpace = source.format() == QImage::Format_Grayscale8 ? "/DeviceGray" : "/DeviceRGB";
    QBuffer buffer(&image.data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(quality);
    writer.write(source);
    return image;
}

Image flateImage(int width, int height, int bitsPerComponent, const std::string& colorSpace,
                 const QByteArray& samples)
{
    Image image;
    image.width = width;
    image.height = height;
    image.bitsPerComponent = bitsPerComponent;
    image.colorSpace = colorSpace;
    image.filter = "/FlateDecode";
    image.data = samples;
    return image;
}

QByteArray halfBits(int width, int height, bool leftOnes)
{
    int row = (width + 7) / 8;
    QByteArray bits(row * height, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool one = (x < width / 2) == leftOnes;
            if (one)
                bits[y * row + x / 8] = char(uchar(bits[y * row + x / 8]) | (0x80 >> (x % 8)));
        }
    }
    return bits;
}

QByteArray halfGrey(int width, int height, uchar left, uchar right)
{
    QByteArray samples(width * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            samples[y * width + x] = char(x < width / 2 ? left : right);
    return samples;
}

QByteArray insertJpegSegment(const QByteArray& jpeg, uchar marker, const QByteArray& payload)
{
    int at = 2;
    if (jpeg.size() > 6 && uchar(jpeg[2]) == 0xFF && uchar(jpeg[3]) == 0xE0)
        at = 4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5]));
    QByteArray segment;
    segment.append(char(0xFF)).append(char(marker));
    int length = int(payload.size()) + 2;
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    segment.append(payload);
    return jpeg.left(at) + segment + jpeg.mid(at);
}

QByteArray makeJpeg(int width, int height, const JpegOptions& options)
{
    QImage image = patternImage(width, height, options.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    image.setDotsPerMeterX(int(std::lround(options.xDpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(options.yDpi / 0.0254)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.write(image);
    buffer.close();
    // JFIF APP0: "JFIF\0" at 6, then version (2 bytes), units at 13, densities at 14 and 16.
    if (bytes.size() > 18 && bytes.mid(6, 5) == QByteArray("JFIF\0", 5)) {
        if (options.density) {
            bytes[13] = 1;
            bytes[14] = char(options.xDpi >> 8);
            bytes[15] = char(options.xDpi & 0xFF);
            bytes[16] = char(options.yDpi >> 8);
            bytes[17] = char(options.yDpi & 0xFF);
        } else {
            bytes[13] = 0;
            bytes[14] = 0;
            bytes[15] = 1;
            bytes[16] = 0;
            bytes[17] = 1;
        }
    }
    if (options.comment)
        bytes = insertJpegSegment(bytes, 0xFE, *options.comment);
    return bytes;
}

} // namespace testpdf
