// Builds small PDFs and JPEGs for tests: scanner-like card pages with one image over the whole
// page, layered pages, forms, Info entries, encryption and signature flags.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace testpdf {

struct Image {
    std::string name = "Im0";
    int width = 0;
    int height = 0;
    int bitsPerComponent = 8;
    std::string colorSpace = "/DeviceRGB"; // a name, or "ICCGray" / "ICCRGB" for an ICCBased array
    std::string filter;                    // "/DCTDecode", "/FlateDecode" or empty for raw samples
    QByteArray data;                       // stored bytes (already encoded for DCT; plain samples otherwise)
    bool encoded = false;                  // data stored as given under `filter`, a name or an array
    std::string decode;                    // e.g. "[1 0]"; empty for none
    bool typeKey = true;                   // writes /Type /XObject
    bool mask = false;                     // adds a /Mask colour-key array
    bool imageMask = false;                // a stencil: /ImageMask true, no colour space
    QByteArray smask;                      // 8-bit grey soft mask of the same size when not empty
};

struct Page {
    double width = 288;
    double height = 144;
    int rotate = 0;
    std::string content;         // the content stream; empty gives one that draws nothing
    std::string contentFilter;   // with it, `content` is stored as given under this /Filter value
    int contentCopies = 1;       // more than 1: /Contents is an array naming the one stream that often
    std::vector<Image> images;
    // When set, the images live in a form XObject "Fm0" with this content, and the page draws the form.
    std::optional<std::string> formContent;
    bool formNamesItself = false; // the form's resources hold only itself, as "Fm0" again
    bool inheritMediaBox = false; // puts the MediaBox on the page tree instead of the page
};

struct Document {
    std::optional<std::string> creator;
    std::optional<std::string> producer;
    bool info = true;
    std::vector<Page> pages;
    std::optional<std::string> userPassword; // encrypts the file (empty text: opens without asking)
    bool signatureFlags = false;             // AcroForm with SigFlags 3
};

QByteArray buildPdf(const Document& document);
bool writePdf(const QString& path, const Document& document);
bool writeBytes(const QString& path, const QByteArray& bytes);

// A page of `widthPt` x `heightPt` whose one image is drawn with the matrix a b c d e f.
Page imagePage(const Image& image, double widthPt, double heightPt, double a, double b, double c, double d,
               double e = 0, double f = 0);
// A page whose one image covers it upright.
Page fullPage(const Image& image, double widthPt = 288, double heightPt = 144);
// A scanner card document: every page one image over the whole page.
Document scannerDocument(int pages, const std::string& creator = "Brevix Scan");

// The zlib stream of `size` zero bytes, made a mebibyte at a time.
QByteArray deflatedZeros(qint64 size);
// The zlib stream of `bytes`.
QByteArray deflated(const QByteArray& bytes);

// Pixel patterns: left half dark, right half light, so orientation and polarity can be checked.
QImage patternImage(int width, int height, QImage::Format format = QImage::Format_RGB888);
Image jpegImage(const QImage& image, int quality = 90);
Image flateImage(int width, int height, int bitsPerComponent, const std::string& colorSpace,
                 const QByteArray& samples);
// 1-bit samples of the half pattern: bit 1 on the left half when `leftOnes`.
QByteArray halfBits(int width, int height, bool leftOnes);
QByteArray halfGrey(int width, int height, uchar left, uchar right);

struct JpegOptions {
    int xDpi = 300;
    int yDpi = 300;
    bool density = true;                   // false writes a JFIF header without dots per inch
    std::optional<QByteArray> comment;     // a COM segment after the first APP0
    bool grey = false;
};
QByteArray makeJpeg(int width, int height, const JpegOptions& options = {});
// Inserts a segment after the SOI and any APP0 segment.
QByteArray insertJpegSegment(const QByteArray& jpeg, uchar marker, const QByteArray& payload);

} // namespace testpdf
