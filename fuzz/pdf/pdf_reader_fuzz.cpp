// Arbitrary bytes as an arriving PDF and as a card PDF.
#include "app/images/ArrivingFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"
#include "fuzz/pdf/FuzzFiles.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = writeFuzzInput(QStringLiteral("input.pdf"), data, size);
    checkAddedFiles(path);
    QVariantMap result;
    checkPdfFile2(path, &result);
    CardBitmap first, second;
    AcquireCardImageFromPDF(path, &first, &second);
    return 0;
}
