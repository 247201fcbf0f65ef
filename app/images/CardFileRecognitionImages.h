// The card image files of the open database as recognition uses them. A card file is read and
// parsed once: a card PDF that was classified is kept open for the decoding that follows. The
// checks and decoding may run on several threads at once, each on its own card's files.
#pragma once

#include "app/images/RecognitionImages.h"
#include "platform/pdf/PdfDocument.h"

#include <map>
#include <memory>
#include <mutex>

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
    std::unique_ptr<PdfDocument> takeOpen(const QString& path);

    const OpenDatabase& m_database;
    std::mutex m_mutex;
    std::map<QString, std::unique_ptr<PdfDocument>> m_open; // classified card PDFs by path
};
