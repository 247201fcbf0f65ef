// What recognition needs of the card image files: the open database's folder, the kind of a
// card PDF, the card's decoded sides, and the turning of bitmaps and PDF pages. A run calls
// checkPDF, acquireCardImages and rotateBitmap from several threads at once, for different cards;
// rotatePDFPage only from the thread that runs it.
#pragma once

#include "app/images/CardBitmap.h"

#include <QString>

class RecognitionImages {
public:
    static constexpr int kCardPdf = 3;

    virtual ~RecognitionImages() = default;
    // The folder of the open database (holding "Images").
    virtual QString databaseFolder() const = 0;
    // The kind of a PDF file; kCardPdf for a scanned card.
    virtual int checkPDF(const QString& path) = 0;
    // The front (and, when there is one, the back) of a card as recognition reads it (grey will
    // do); an empty back path means the back, if any, is page 2 of the front file. 0 on success.
    virtual int acquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front,
                                  CardBitmap* back) = 0;
    // Turns a bitmap clockwise; false when it could not.
    virtual bool rotateBitmap(CardBitmap* bitmap, int degrees) = 0;
    // Turns page `page` (0-based) of a PDF file clockwise; 0 on success.
    virtual int rotatePDFPage(const QString& path, int page, int degrees) = 0;
};
