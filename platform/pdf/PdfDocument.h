// One PDF document: open, Info dictionary, pages, the few objects this system makes, and atomic
// writing. The library reads lazily from the file, so a document is never written over the file
// it came from: every write goes to a temporary file in the target's folder and is renamed into
// place. The library stays inside platform/pdf; its objects are read through PdfObject.
#pragma once

#include "platform/pdf/PdfObject.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class PdfDocument {
public:
    enum class OpenResult { Opened, CannotOpen, Locked };

    // nullptr when the file cannot be read as a PDF or needs a password.
    static std::unique_ptr<PdfDocument> open(const QString& path, OpenResult* result = nullptr);
    static std::unique_ptr<PdfDocument> openBytes(const QByteArray& bytes, OpenResult* result = nullptr);
    static std::unique_ptr<PdfDocument> createEmpty();

    ~PdfDocument();

    bool isEncrypted();
    bool allowsPrinting();
    bool hasInfo();
    // A text entry of the Info dictionary ("/Creator"), decoded; nothing when absent or not text.
    std::optional<QString> infoText(const std::string& key);
    void setInfoText(const std::string& key, const QString& text);

    // The document catalog (the trailer's /Root).
    PdfObject catalog();

    // The page list; errors in a broken page tree answer an empty list.
    std::vector<PdfPage> pages();
    int pageCount();
    void removePage(int index);
    // Keeps the page at `index` and removes every other page.
    void keepOnlyPage(int index);
    // Appends a copy of a page that may belong to another document.
    void appendPage(const PdfPage& page);
    // Appends a page of `width` x `height` points that draws the JPEG `jpeg` over its whole
    // area, the JPEG passed through as stored (/DCTDecode). `header` is the JPEG's own.
    void appendJpegPage(const QByteArray& jpeg, const struct JpegHeader& header, long long width, long long height);
    // Draws the first page of `source` under the content of the page at `index`, as a form
    // XObject named `formName`, so that vector art stays vector art. False when the page has no
    // resource dictionary to hold the form.
    bool drawPageUnder(int index, PdfDocument& source, const std::string& formName);

    // The whole document as PDF bytes; empty when writing fails.
    QByteArray toBytes();
    // Atomic: the target is either the old file or the complete new one. A durable write also
    // reaches the disk before the rename; staging files that live only for one operation skip that.
    enum class Durability { Durable, Staging };
    bool writeToFile(const QString& path, Durability durability = Durability::Durable);

private:
    PdfDocument();
    struct Private;
    std::unique_ptr<Private> d;
};

// Replaces a file atomically: a temporary file in the target's folder, then a rename over it.
bool replaceFile(const QString& path, const QByteArray& bytes, PdfDocument::Durability durability);
