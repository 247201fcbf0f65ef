// Arbitrary bytes as an arriving JPEG: the header and comment reader, the check, and the
// conversion to a card PDF whose image is then decoded, as stored and for recognition.
#include "app/images/ArrivingFiles.h"
#include "app/images/CardPdfDecoding.h"
#include "fuzz/pdf/FuzzFiles.h"
#include "platform/pdf/JpegHeader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    JpegHeader header;
    readJpegHeader(data, size, header);
    const QString path = writeFuzzInput(QStringLiteral("input.jpg"), data, size);
    checkAddedFiles(path);
    GetJPEGCreator(path);
    QString pdf;
    if (ConvertJPEGToPDF(path, &pdf)) {
        CardBitmap bitmap;
        AcquireCardImageFromPDF(pdf, &bitmap, nullptr);
        AcquireCardImageFromPDF(pdf, &bitmap, nullptr, CardDecoding::Grey);
        QFile::remove(pdf);
    }
    return 0;
}
