// The card image files of the open database as recognition uses them. A card file is read and
// parsed once: the one last classified is kept open for the decoding that follows.
#pragma once

#include "app/images/RecognitionImages.h"
#include "platform/pdf/PdfDocument.h"

#include <memory>

class CardFileRecognitionImages : public RecognitionImages {
public:
    QString databaseFolder() const override;
    int checkPDF(const QString& path) override;
    int acquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front,
                          CardBitmap* back) override;
    bool rotateBitmap(CardBitmap* bitmap, int degrees) override;
    int rotatePDFPage(const QString& path, int page, int degrees) override;

private:
    QString m_openPath;
    std::unique_ptr<PdfDocument> m_open;
};
