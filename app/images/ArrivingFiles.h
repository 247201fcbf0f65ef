// Checks and conversions for card files that arrive from anyone but the scanner driver:
// the maker and size test, JPEG comments, JPEG to PDF, and splitting into one PDF per card page.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The largest card side in millimetres.
inline constexpr double kMaxCardSideMm = 158.0;

enum AddedFileCheck {
    kAddedFileOk = 0,
    kAddedFileNotScanner = -1,
    kAddedFileLocked = -2,
    kAddedFileUnreadable = -3,
    kAddedFileTooLarge = -4,
    kAddedFileSomePagesTooLarge = -5,
    kAddedFileDamaged = -201,
};

int checkAddedFiles(const QString& path);
// 0, or -201 when the document cannot be opened or carries a signature.
int CheckPDFDigitalSignature(const QString& path);
// The first comment before the image data: its text, "" when there is none, nothing when the file
// is not a JPEG, is malformed before a comment, or the comment is not UTF-8.
std::optional<QString> GetJPEGCreator(const QString& path);
// A one-page card PDF beside the JPEG, at the JPEG's own resolution, the JPEG stored unchanged.
bool ConvertJPEGToPDF(const QString& jpegPath, QString* pdfPath);
// One file per card-sized page ("<path>_<page>.pdf"); a one-page file is its own list. After
// checkAddedFiles on the same file (or another name of it), it reads the document that check
// opened.
std::optional<QStringList> divideMultiPagePDF(const QString& pdfPath, bool* success);
// Lets go of the documents checks kept for splits that did not come.
void forgetCheckedFiles();
// Sets the Creator ("Brevix Pelmora" for an empty one) and rewrites the file.
bool addPDFCreatorInfo(const QString& pdfPath, const QString& creator);
