// The card image files of the open database as recognition uses them.
#pragma once

#include "app/images/RecognitionImages.h"

class CardFileRecognitionImages : public RecognitionImages {
public:
    QString databaseFolder() const override;
    int checkPDF(const QString& path) override;
    int acquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front,
                          CardBitmap* back) override;
    bool rotateBitmap(CardBitmap* bitmap, int degrees) override;
    int rotatePDFPage(const QString& path, int page, int degrees) override;
};
