// One PDF document held by qpdf: open, Info dictionary, pages, and atomic writing.
// qpdf reads lazily from its file, so a document is never written over the file it came from:
// every write goes to a temporary file in the target's folder and is renamed into place.
#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

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

    QPDF& qpdf() { return *m_qpdf; }

    bool isEncrypted();
    bool allowsPrinting();
    bool hasInfo();
    // A text entry of the Info dictionary ("/Creator"), decoded; nothing when absent or not text.
    std::optional<QString> infoText(const std::string& key);
    void setInfoText(const std::string& key, const QString& text);

    // The page list; qpdf errors in a broken page tree answer an empty list.
    std::vector<QPDFPageObjectHelper> pages();
    int pageCount();
    void removePage(int index);
    // Keeps the page at `index` and removes every other page.
    void keepOnlyPage(int index);
    // Appends a copy of a page that may belong to another document.
    void appendPage(QPDFPageObjectHelper page);

    // The whole document as PDF bytes; empty when writing fails.
    QByteArray toBytes();
    // Atomic: the target is either the old file or the complete new one. A durable write also
    // reaches the disk before the rename; staging files that live only for one operation skip that.
    enum class Durability { Durable, Staging };
    bool writeToFile(const QString& path, Durability durability = Durability::Durable);

private:
    PdfDocument();
    std::shared_ptr<QPDF> m_qpdf;
    QByteArray m_source; // keeps the bytes of openBytes alive while qpdf reads them
};

// Replaces a file atomically: a temporary file in the target's folder, then a rename over it.
bool replaceFile(const QString& path, const QByteArray& bytes, PdfDocument::Durability durability);

// Reads a dictionary entry as a number (integer or real).
std::optional<double> pdfNumber(QPDFObjectHandle object);
// A rectangle array of four numbers, as width and height (x2 - x1, y2 - y1).
bool pdfBoxSize(QPDFObjectHandle box, double& width, double& height);
