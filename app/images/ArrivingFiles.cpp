#include "app/images/ArrivingFiles.h"

#include "app/images/CardBitmap.h"
#include "app/images/CardPdfCheck.h"
#include "platform/foundation/Log.h"
#include "platform/pdf/JpegHeader.h"
#include "platform/pdf/PdfDocument.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <sys/stat.h>

namespace {

const QString kParameterError = QStringLiteral("parameter strPDFPath error");

bool isJpegName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0
        || suffix.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0;
}

double millimetres(double points)
{
    return points / 72 * 25.4;
}

bool pageTooLarge(const PdfPage& page)
{
    double w = 0, h = 0;
    if (!page.mediaBox().boxSize(w, h))
        return true;
    return millimetres(std::fabs(w)) > kMaxCardSideMm || millimetres(std::fabs(h)) > kMaxCardSideMm;
}

std::optional<QString> utf8Text(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// "hh" of the file name is the 12-hour clock.
QString twelveHourStamp(const QDateTime& now)
{
    int hour = now.time().hour() % 12;
    return now.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("%1").arg(hour == 0 ? 12 : hour, 2, 10, QLatin1Char('0'))
        + now.toString(QStringLiteral("mmss"));
}

// 0, or -201 when the document carries a signature.
int signatureCheck(PdfDocument& document)
{
    try {
        PdfObject form = document.catalog().key("/AcroForm");
        if (form.isDictionary()) {
            PdfObject flags = form.key("/SigFlags");
            if (flags.isInteger() && flags.intValue() > 0)
                return kAddedFileDamaged;
        }
        return 0;
    } catch (const std::exception&) {
        return kAddedFileDamaged;
    }
}

// The page a JPEG makes, in whole points: its pixels at its own resolution. Nothing when the image
// holds more pixels than a card's bitmap may, or a side would be under a point: no card page can
// be made of it.
std::optional<std::pair<long long, long long>> jpegPagePoints(const JpegHeader& header)
{
    if (qint64(header.width) * header.height > kMaxCardBitmapPixels)
        return std::nullopt;
    const auto width = (long long)(header.width * 72 / header.xDpi);
    const auto height = (long long)(header.height * 72 / header.yDpi);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return std::pair{width, height};
}

int jpegCheck(const QString& path)
{
    std::optional<QString> comment = GetJPEGCreator(path);
    if (!comment)
        return kAddedFileDamaged;
    if (!comment->contains(QLatin1String(kScannerMark)))
        return kAddedFileNotScanner;
    JpegHeader header;
    // Without a frame or a resolution the card's size cannot be known.
    if (readJpegHeaderFromFile(path, header) != JpegHeaderStatus::Complete || !header.hasDensity
        || header.width <= 0 || header.height <= 0)
        return kAddedFileDamaged;
    const int height = int(header.height / header.yDpi * 25.4);
    const int width = int(header.width / header.xDpi * 25.4);
    // Beyond a card's size, or not to be made into a card's page.
    return height <= kMaxCardSideMm && width <= kMaxCardSideMm && jpegPagePoints(header) ? kAddedFileOk : kAddedFileTooLarge;
}

// The documents the checks of arriving PDFs opened, kept for the splits that follow them, so that
// an arriving file is parsed once for both. A split finds its file's document by the file itself
// (a staged file is a second name of the one checked); the checks may run on several threads.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0;
    // Spelt out: the PDF fuzz targets compile this file as C++17 where qpdf's headers need it.
    bool operator==(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modified == other.modified;
    }
};

std::optional<FileIdentity> identityOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// A few checks run ahead of the splits; a document let go is only opened again.
constexpr size_t kMaxCheckedDocuments = 64;

struct CheckedDocuments {
    std::mutex mutex;
    std::deque<std::pair<FileIdentity, std::unique_ptr<PdfDocument>>> documents;
};

CheckedDocuments& checkedDocuments()
{
    static CheckedDocuments checked;
    return checked;
}

void keepChecked(const FileIdentity& identity, std::unique_ptr<PdfDocument> document)
{
    CheckedDocuments& checked = checkedDocuments();
    std::unique_ptr<PdfDocument> dropped;
    std::lock_guard lock(checked.mutex);
    checked.documents.emplace_back(identity, std::move(document));
    if (checked.documents.size() > kMaxCheckedDocuments) {
        dropped = std::move(checked.documents.front().second);
        checked.documents.pop_front();
    }
}

std::unique_ptr<PdfDocument> openForSplit(const QString& path)
{
    if (const std::optional<FileIdentity> identity = identityOf(path)) {
        CheckedDocuments& checked = checkedDocuments();
        std::unique_lock lock(checked.mutex);
        const auto found = std::find_if(checked.documents.begin(), checked.documents.end(),
                                        [&](const auto& entry) { return entry.first == *identity; });
        if (found != checked.documents.end()) {
            std::unique_ptr<PdfDocument> document = std::move(found->second);
            checked.documents.erase(found);
            return document;
        }
    }
    return PdfDocument::open(path);
}

} // namespace

int checkAddedFiles(const QString& path)
{
    QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return kAddedFileUnreadable;
    if (isJpegName(path))
        return jpegCheck(path);

    const bool pdfName = info.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    PdfDocument::OpenResult opened;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path, &opened);
    if (pdfName) {
        if (opened == PdfDocument::OpenResult::Locked)
            return kAddedFileLocked;
        if (!document)
            return kAddedFileDamaged;
    }
    if (!document)
        return kAddedFileNotScanner;
    try {
        if (pdfName) {
            if (document->isEncrypted())
                return kAddedFileDamaged;
            if (!document->allowsPrinting())
                return kAddedFileLocked;
            if (signatureCheck(*document) != 0)
                return kAddedFileDamaged;
        }
        std::optional<QString> creator = document->infoText("/Creator");
        if (!creator || !creator->contains(QLatin1String(kScannerMark)))
            return kAddedFileNotScanner;
        std::vector<PdfPage> pages = document->pages();
        int tooLarge = 0;
        for (const PdfPage& page : pages) {
            if (pageTooLarge(page))
                ++tooLarge;
        }
        if (tooLarge == int(pages.size()) && tooLarge > 0)
            return kAddedFileTooLarge;
        if (const std::optional<FileIdentity> identity = identityOf(path))
            keepChecked(*identity, std::move(document));
        return tooLarge == 0 ? kAddedFileOk : kAddedFileSomePagesTooLarge;
    } catch (const std::exception&) {
        return kAddedFileDamaged;
    }
}

void forgetCheckedFiles()
{
    CheckedDocuments& checked = checkedDocuments();
    std::deque<std::pair<FileIdentity, std::unique_ptr<PdfDocument>>> dropped;
    std::lock_guard lock(checked.mutex);
    dropped.swap(checked.documents);
}

int CheckPDFDigitalSignature(const QString& path)
{
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    return document ? signatureCheck(*document) : kAddedFileDamaged;
}

std::optional<QString> GetJPEGCreator(const QString& path)
{
    JpegHeader header;
    bool readable = false;
    JpegHeaderStatus status = readJpegHeaderFromFile(path, header, &readable);
    if (!readable || status == JpegHeaderStatus::NotJpeg)
        return std::nullopt;
    if (header.hasComment)
        return utf8Text(header.comment);
    if (status == JpegHeaderStatus::Malformed)
        return std::nullopt;
    return QString();
}

bool ConvertJPEGToPDF(const QString& jpegPath, QString* pdfPath)
{
    if (jpegPath.isEmpty() || !pdfPath)
        return false;
    QFile file(jpegPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray jpeg = file.readAll();
    JpegHeader header;
    if (readJpegHeader(jpeg, header) != JpegHeaderStatus::Complete || !header.hasDensity || header.width <= 0
        || header.height <= 0 || header.bitsPerSample != 8
        || !(header.components == 1 || header.components == 3 || header.components == 4))
        return false;
    const std::optional<std::pair<long long, long long>> page = jpegPagePoints(header);
    if (!page)
        return false;
    const auto [width, height] = *page;

    const QFileInfo source(jpegPath);
    const QString folder = source.absolutePath();
    const QString stamp = twelveHourStamp(QDateTime::currentDateTime());
    QString target;
    for (int counter = 0;; ++counter) {
        target = QStringLiteral("%1/%2_%3_%4.pdf").arg(folder, source.completeBaseName(), stamp).arg(counter);
        if (!QFileInfo::exists(target))
            break;
    }

    try {
        std::unique_ptr<PdfDocument> document = PdfDocument::createEmpty();
        document->appendJpegPage(jpeg, header, width, height);
        // An invalid or empty comment gives no Creator rather than a made-up one.
        std::optional<QString> comment = header.hasComment ? utf8Text(header.comment) : std::nullopt;
        if (comment && !comment->isEmpty())
            document->setInfoText("/Creator", *comment);
        if (!document->writeToFile(target, PdfDocument::Durability::Staging))
            return false;
    } catch (const std::exception&) {
        return false;
    }
    *pdfPath = target;
    return true;
}

std::optional<QStringList> divideMultiPagePDF(const QString& pdfPath, bool* success)
{
    if (success)
        *success = false;
    if (pdfPath.isEmpty())
        return std::nullopt;
    std::unique_ptr<PdfDocument> source = openForSplit(pdfPath);
    if (!source)
        return std::nullopt;
    try {
        std::vector<PdfPage> pages = source->pages();
        QStringList files;
        if (pages.size() == 1)
            files << pdfPath;
        if (pages.size() > 1) {
            std::optional<QString> creator = source->infoText("/Creator");
            const QString pageCreator = creator && !creator->isEmpty() ? *creator : QLatin1String(kScannerCreator);
            for (size_t i = 0; i < pages.size(); ++i) {
                if (pageTooLarge(pages[i]))
                    continue;
                std::unique_ptr<PdfDocument> single = PdfDocument::createEmpty();
                single->appendPage(pages[i]);
                PdfPage copy = single->pages().front();
                PdfObject xobjects = copy.attribute("/Resources").key("/XObject");
                // Resources shared by all pages would make every split page look layered.
                if (xobjects.isDictionary() && xobjects.entries().size() > 1)
                    copy.removeUnreferencedResources();
                single->setInfoText("/Creator", pageCreator);
                const QString target = QStringLiteral("%1_%2.pdf").arg(pdfPath).arg(i + 1);
                if (!single->writeToFile(target, PdfDocument::Durability::Staging))
                    return std::nullopt;
                files << target;
            }
        }
        if (success)
            *success = true;
        return files;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool addPDFCreatorInfo(const QString& pdfPath, const QString& creator)
{
    if (pdfPath.isEmpty()) {
        PLNSLog(kParameterError);
        return false;
    }
    std::unique_ptr<PdfDocument> document = PdfDocument::open(pdfPath);
    if (!document)
        return false;
    try {
        document->setInfoText("/Creator", creator.isEmpty() ? QLatin1String(kScannerCreator) : creator);
        return document->writeToFile(pdfPath);
    } catch (const std::exception&) {
        return false;
    }
}
