#include "app/images/CardFileRecognitionImages.h"

#include "app/core/Globals.h"
#include "app/images/CardBitmapUtilities.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"

QString CardFileRecognitionImages::databaseFolder() const { return g_strCurDBPath; }

int CardFileRecognitionImages::checkPDF(const QString& path) { return CheckPDF(path); }

int CardFileRecognitionImages::acquireCardImages(const QString& frontPath, const QString& backPath,
                                                 CardBitmap* front, CardBitmap* back)
{
    return AcquireCardImages(frontPath, backPath, front, back);
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
