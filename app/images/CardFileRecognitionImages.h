// The card image files of the open database as recognition uses them. A card file is read and
// parsed once: the one last classified is kept open for the decoding that follows.
#pragma once

#include "app/images/RecognitionImages.h"
#include "platform/pdf/PdfDocument.h"

#include <memory>

class OpenDatabase;

class CardFileRecognitionImages : public RecognitionImages {
public:
    explicit CardFileRecognitionImages(const OpenDatabase& database) : m_database(database) {}

    QString databaseFolder() const override;
    int checkPDF(const QString& path) override;
    int acquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front,
                          CardBitmap* back) override;
    bool rotateBitmap(CardBitmap* bitmap, int degrees) override;
    int rotatePDFPage(const QString& path, int page, int degrees) override;

private:
    const OpenDatabase& m_database;
    QString m_openPath;
    std::unique_ptr<PdfDocument> m_open;
};
