// The card image files in a database's "Images" folder: importing an arriving PDF as a card's
// front (and back), exporting, turning pages, swapping and adding or removing the back.
// Every write replaces its file atomically; an operation that fails half-way takes back the
// files it made, so no card is left without its front or with an orphan back.
#pragma once

#include "app/core/DatabaseFolder.h"
#include "app/images/CardFileBatch.h"
#include "app/images/CardRecord.h"
#include "platform/pdf/PdfDocument.h"

#include <QString>

#include <functional>

inline constexpr char kFrontSuffix[] = "_N1.pdf";
inline constexpr char kBackSuffix[] = "_N2.pdf";

QString cardImagesFolder(const QString& databaseFolder);

int importCardImageFile(CardRecord* card, const QString& cardID, const QString& pdfPath,
                        const QString& databaseFolder, int inputType);
// The steps of that import apart, for an import of many cards: the card files written from the
// file the caller has read (`bytes`) and opened (`source`, which may be changed), touching no
// card so that any thread may write its own card's; then, on the card's thread, the files added
// to the batch that makes them durable and recorded on the card.
int writeImportedCardFiles(const QString& cardID, const QString& pdfPath, PdfDocument& source, const QByteArray& bytes,
                           const QString& databaseFolder, int inputType, PdfDocument::Durability durability, int* pageCount);
// The files such an import wrote: the front, and the back of a card of several pages.
QStringList importedCardFilePaths(const QString& databaseFolder, const QString& cardID, int pages);
void addImportedCardFiles(CardFileBatch* batch, const QString& databaseFolder, const QString& cardID, int pages);
void recordImportedCardFiles(CardRecord* card, const QString& cardID, int pages);
int exportCardImageFile(const QString& frontPath, const QString& backPath, const QString& destination);
int GetPDFPageCount(const QString& path);
// Page index from 0, or -1 for every page; degrees 90, 180 or 270.
int RotatePDFPage(const QString& path, int pageIndex, int degrees);
// Turns a page of an older two-page front file by 90 degrees and splits the card into front
// and back files, keeping the whole document as "<cardID>.pdf".
int RotateMultiPageCard(const QString& frontPath, CardRecord* card, int pageIndex);
// Exchanges the contents of the front and back files.
int ReverseCard(const QString& databaseFolder, CardRecord* card);
int ReverseMultiPageCard(const QString& databaseFolder, CardRecord* card);
int AddBackImageInfo(const QString& databaseFolder, const QString& sourcePath, CardRecord* card);
int DelBackImageInfo(const QString& databaseFolder, CardRecord* card);
// Leaves page 1 alone in an older two-page front file, keeping the whole document beside it.
int RemovePDFPage(const QString& frontPath, int pageIndex);
// True when the document now stands complete at `target`.
bool PLPDFWriteToFile(PdfDocument& document, const QString& target);

// The rename the card swap uses; tests replace it to make a step fail.
using CardFileRename = std::function<bool(const QString& from, const QString& to)>;
void setCardFileRename(CardFileRename rename);
