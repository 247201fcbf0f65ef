// The card PDF of a hand-off: whether it is one our host or the scanner software made, how many
// pages it has, and each page as a document of its own. The file itself is never changed.
#pragma once

#include <QByteArray>
#include <QString>

inline constexpr int kPdfNoPath = -50;
inline constexpr int kPdfNoFile = 0;
inline constexpr int kPdfNotOurs = 1;
inline constexpr int kPdfOurs = 2;

// kPdfOurs when the document's Creator names the host or the scanner software; `pageCount` is
// then set when given.
int CheckPdfFile(const QString& path, int* pageCount = nullptr);
// One of our PDFs with at least `minimumPages` pages.
bool isImageOrTextPdf(const QString& path, int minimumPages);
// The document without the page at `index`: 0 and the bytes, or -50 when it cannot be made.
int RemovePDFPage(const QString& path, int index, QByteArray& data);
