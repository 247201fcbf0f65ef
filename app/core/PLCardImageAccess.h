// What the store migration needs of the card image files: the classification of a card PDF and
// the import that splits a two-page front into a front and a back file. The application installs
// the card image functions; tests install fakes.
#pragma once

#include "platform/store/ManagedObject.h"

#include <QString>

class PLCardImageAccess {
public:
    // Classifications of CheckPDF.
    static constexpr int kPdfMissing = 0;
    static constexpr int kPdfUnusable = 1;
    static constexpr int kPdfOwnOrImageless = 2;
    static constexpr int kPdfScannedCard = 3;

    virtual ~PLCardImageAccess() = default;
    // 0 to 3; with 3, `pageCount` receives the document's page count.
    virtual int CheckPDF(const QString& path, int* pageCount) = 0;
    // Copies the pages of `arrivingPath` into "<cardId>_N1.pdf" (and "_N2.pdf" for a second page)
    // in the database's "Images" folder and sets the card's image attributes; 0 or a negative code.
    virtual int importCardImageFile(const ManagedObjectPtr& card, const QString& cardId, const QString& arrivingPath,
                                    const QString& databaseFolder, int inputType) = 0;
};
