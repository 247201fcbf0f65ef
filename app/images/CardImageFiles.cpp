#include "app/images/CardImageFiles.h"

#include "app/core/DiskUtilities.h"
#include "app/core/PLChecker.h"
#include "app/images/CardPdfCheck.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

const QString kFaceFile = QStringLiteral("face_Image_File");
const QString kFacePage = QStringLiteral("face_Image_Page");
const QString kOtherPage = QStringLiteral("other_Image_Page");
const QString kBackFile = QStringLiteral("back_Image_File");
const QString kBackPage = QStringLiteral("back_Image_page");
const QString kCardID = QStringLiteral("cardID");
const QString kNoDiskSpace = QStringLiteral("No enough disk space! [%@]");

bool posixRename(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

CardFileRename& renameFunction()
{
    static CardFileRename rename = posixRename;
    return rename;
}

QString text(const CardRecord& card, const QString& key)
{
    QVariant value = card.valueForKey(key);
    return value.isNull() ? QString() : value.toString();
}

// A file name taken from a card must name a file inside the Images folder, nothing else.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".")
        && name != QLatin1String("..");
}

// "<folder>/<cardID>_N1.pdf" with its "_N1.pdf" replaced; empty when the path lacks it.
QString siblingOfFront(const QString& frontPath, const QString& suffix)
{
    if (!frontPath.endsWith(QLatin1String(kFrontSuffix)))
        return {};
    return frontPath.left(frontPath.size() - int(qstrlen(kFrontSuffix))) + suffix;
}

// A one-page document holding a copy of `page`.
std::unique_ptr<PdfDocument> singlePage(PdfDocument& source, int page, const std::optional<QString>& creator)
{
    std::unique_ptr<PdfDocument> single = PdfDocument::createEmpty();
    single->appendPage(source.pages().at(size_t(page)));
    if (creator)
        single->setInfoText("/Creator", *creator);
    return single;
}

// The Creator a written card file keeps, or the system's own when it has none.
QString creatorOrScanner(PdfDocument& document)
{
    std::optional<QString> creator = document.infoText("/Creator");
    return creator ? *creator : QString::fromLatin1(kScannerCreator);
}

// Copies a file to a new name that must not exist yet; with the durable kind the copy reaches
// the disk before it appears under its name.
bool copyToNewFile(const QString& source, const QString& target, PdfDocument::Durability durability)
{
    if (QFileInfo::exists(target))
        return false;
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return !bytes.isEmpty() && replaceFile(target, bytes, durability);
}

QString timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmsszzz"));
}

// Splits a two-page card document into its front and back files: the back first, then the
// front over the old two-page file; a failed front takes the new back away again.
bool writeSplitCard(PdfDocument& document, int frontPage, const QString& frontPath, const QString& backPath)
{
    std::optional<QString> creator = document.infoText("/Creator");
    std::unique_ptr<PdfDocument> reverse = singlePage(document, 1 - frontPage, creator);
    std::unique_ptr<PdfDocument> face = singlePage(document, frontPage, creator);
    if (!PLPDFWriteToFile(*reverse, backPath))
        return false;
    if (!PLPDFWriteToFile(*face, frontPath)) {
        QFile::remove(backPath);
        return false;
    }
    return true;
}

} // namespace

QString cardImagesFolder(const QString& databaseFolder)
{
    return QDir(databaseFolder).filePath(QLatin1String(DatabaseLayout::kImagesFolderName));
}

void setCardFileRename(CardFileRename rename)
{
    renameFunction() = rename ? std::move(rename) : CardFileRename(posixRename);
}

bool PLPDFWriteToFile(PdfDocument& document, const QString& target)
{
    return document.writeToFile(target);
}

// The arguments, the free space and the Images folder of an import: 0, -1001, -1002 or -4004.
static int checkImportTarget(const QString& cardID, const QString& pdfPath, const QString& databaseFolder, qint64 size)
{
    if (PLChecker::isBlank(cardID) || PLChecker::isBlank(databaseFolder) || !PLChecker::isPathExists(pdfPath, PLChecker::kPathFile)
        || !PLChecker::isPathExists(databaseFolder, PLChecker::kPathFolder) || !isPlainName(cardID))
        return -1001;
    if (checkDiskSize(databaseFolder, uint64_t(size) + g_lDiskSize) != 0)
        return -1002;
    // An "Images" that is a link would put the card's files outside the database.
    const QString images = cardImagesFolder(databaseFolder);
    return isLinkFreeInside(images, databaseFolder) && PLChecker::makeDirectoryIfNotExists(images) ? 0 : -4004;
}

int importCardImageFile(CardRecord* card, const QString& cardID, const QString& pdfPath,
                        const QString& databaseFolder, int inputType)
{
    if (!card)
        return -1001;
    if (const int refused = checkImportTarget(cardID, pdfPath, databaseFolder, QFileInfo(pdfPath).size()))
        return refused;
    QFile file(pdfPath);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::unique_ptr<PdfDocument> source = bytes.isEmpty() ? nullptr : PdfDocument::openBytes(bytes);
    if (!source)
        return -4005;
    int pages = 0;
    if (const int refused = writeImportedCardFiles(cardID, pdfPath, *source, bytes, databaseFolder, inputType,
                                                   PdfDocument::Durability::Durable, &pages))
        return refused;
    recordImportedCardFiles(card, cardID, pages);
    return 0;
}

int writeImportedCardFiles(const QString& cardID, const QString& pdfPath, PdfDocument& source, const QByteArray& bytes,
                           const QString& databaseFolder, int inputType, PdfDocument::Durability durability, int* pageCount)
{
    if (const int refused = checkImportTarget(cardID, pdfPath, databaseFolder, bytes.size()))
        return refused;
    const QString images = cardImagesFolder(databaseFolder);
    const QString front = QDir(images).filePath(cardID + QLatin1String(kFrontSuffix));
    const QString back = QDir(images).filePath(cardID + QLatin1String(kBackSuffix));
    try {
        const int pages = source.pageCount();
        if (pages == 0)
            return -4005;
        // A card's existing files are never written over by an import.
        if (QFileInfo::exists(front) || (pages > 1 && QFileInfo::exists(back)))
            return -4006;
        const std::optional<QString> creator = source.infoText("/Creator");
        const bool ownCreator = !creator || inputType == 2 || inputType == 3 || inputType == 5;
        if (pages == 1) {
            if (!ownCreator) {
                // The scanner's file as it came, from the bytes already read.
                if (bytes.isEmpty() || QFileInfo::exists(front) || !replaceFile(front, bytes, durability))
                    return -4006;
            } else {
                source.setInfoText("/Creator", QString::fromLatin1(kScannerCreator));
                if (!source.writeToFile(front, durability))
                    return -4006;
            }
        } else {
            std::unique_ptr<PdfDocument> face = singlePage(
                source, 0, ownCreator ? std::optional<QString>(QString::fromLatin1(kScannerCreator)) : creator);
            if (!face->writeToFile(front, durability))
                return -4006;
            std::unique_ptr<PdfDocument> reverse = singlePage(source, 1, creatorOrScanner(source));
            if (!reverse->writeToFile(back, durability)) {
                QFile::remove(front);
                return -4006;
            }
        }
        *pageCount = pages;
        return 0;
    } catch (const std::exception&) {
        QFile::remove(front);
        return -4005;
    }
}

QStringList importedCardFilePaths(const QString& databaseFolder, const QString& cardID, int pages)
{
    const QDir images(cardImagesFolder(databaseFolder));
    QStringList paths{images.filePath(cardID + QLatin1String(kFrontSuffix))};
    if (pages > 1)
        paths << images.filePath(cardID + QLatin1String(kBackSuffix));
    return paths;
}

void addImportedCardFiles(CardFileBatch* batch, const QString& databaseFolder, const QString& cardID, int pages)
{
    for (const QString& path : importedCardFilePaths(databaseFolder, cardID, pages))
        batch->add(cardID, path);
}

void recordImportedCardFiles(CardRecord* card, const QString& cardID, int pages)
{
    card->setValueForKey(kFaceFile, cardID + QLatin1String(kFrontSuffix));
    card->setValueForKey(kFacePage, 1);
    card->setValueForKey(kOtherPage, 1);
    if (pages > 1) {
        card->setValueForKey(kBackFile, cardID + QLatin1String(kBackSuffix));
        card->setValueForKey(kBackPage, 1);
    }
}

int exportCardImageFile(const QString& frontPath, const QString& backPath, const QString& destination)
{
    if (PLChecker::isBlank(frontPath) || PLChecker::isBlank(destination))
        return -1001;
    if (!PLChecker::isPathExists(frontPath, PLChecker::kPathFile))
        return -4008;
    const QString folder = QFileInfo(destination).absolutePath();
    if (!PLChecker::makeDirectoryIfNotExists(folder))
        return -4004;
    if (!QFileInfo(folder).isWritable())
        return -4006;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(frontPath);
    if (!document)
        return -4005;
    try {
        if (!PLChecker::isBlank(backPath) && PLChecker::isPathExists(backPath, PLChecker::kPathFile)) {
            std::unique_ptr<PdfDocument> back = PdfDocument::open(backPath);
            if (!back)
                return -4005;
            std::vector<PdfPage> pages = back->pages();
            if (!pages.empty())
                document->appendPage(pages.front());
        }
        const QByteArray bytes = document->toBytes();
        if (bytes.isEmpty())
            return -4006;
        if (checkDiskSize(folder, uint64_t(bytes.size()) + g_lDiskSize) != 0) {
            PLNSLog(kNoDiskSpace, folder);
            return -1002;
        }
        return writeThroughTemporary(destination, bytes) ? 0 : -4006;
    } catch (const std::exception&) {
        return -4005;
    }
}

int GetPDFPageCount(const QString& path)
{
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    return document ? document->pageCount() : 0;
}

int RotatePDFPage(const QString& path, int pageIndex, int degrees)
{
    if (PLChecker::isBlank(path) || (degrees != 90 && degrees != 180 && degrees != 270) || pageIndex < -1)
        return -50;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    if (!document)
        return -38;
    try {
        std::vector<PdfPage> pages = document->pages();
        if (pages.empty())
            return 0;
        if (pageIndex >= int(pages.size()))
            return -1;
        for (size_t i = 0; i < pages.size(); ++i) {
            if (pageIndex == -1 || size_t(pageIndex) == i)
                pages[i].rotate(degrees);
        }
    } catch (const std::exception& e) {
        PLNSLog(QStringLiteral("%@"), QString::fromUtf8(e.what()));
        return -1;
    }
    return PLPDFWriteToFile(*document, path) ? 0 : -20;
}

int RotateMultiPageCard(const QString& frontPath, CardRecord* card, int pageIndex)
{
    const QString whole = siblingOfFront(frontPath, QStringLiteral(".pdf"));
    const QString back = siblingOfFront(frontPath, QLatin1String(kBackSuffix));
    if (PLChecker::isBlank(frontPath) || !card || whole.isEmpty())
        return -50;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(frontPath);
    if (!document || !PLPDFWriteToFile(*document, whole))
        return -20;
    try {
        document->pages().at(size_t(pageIndex)).rotate(90);
        if (!writeSplitCard(*document, 0, frontPath, back))
            return -20;
    } catch (const std::exception& e) {
        PLNSLog(QStringLiteral("%@"), QString::fromUtf8(e.what()));
        return -20;
    }
    card->setValueForKey(kBackFile, QFileInfo(back).fileName());
    card->setValueForKey(kBackPage, 1);
    return 0;
}

int ReverseCard(const QString& databaseFolder, CardRecord* card)
{
    if (!card)
        return -1;
    const QString faceName = text(*card, kFaceFile), backName = text(*card, kBackFile);
    if (PLChecker::isBlank(faceName) || PLChecker::isBlank(backName) || !isPlainName(faceName)
        || !isPlainName(backName) || faceName == backName)
        return -1;
    const QDir images(cardImagesFolder(databaseFolder));
    const QString front = images.filePath(faceName), back = images.filePath(backName);
    if (!PLChecker::isPathExists(front, PLChecker::kPathFile) || !PLChecker::isPathExists(back, PLChecker::kPathFile))
        return -1;
    const QString parked = front + timeStamp();
    const CardFileRename& rename = renameFunction();
    if (!rename(front, parked))
        return -1;
    if (!rename(back, front)) {
        rename(parked, front);
        return -1;
    }
    if (!rename(parked, back)) {
        rename(front, back);
        rename(parked, front);
        return -1;
    }
    return 0;
}

int ReverseMultiPageCard(const QString& databaseFolder, CardRecord* card)
{
    if (!card)
        return -1;
    const QString faceName = text(*card, kFaceFile), cardID = text(*card, kCardID);
    if (!isPlainName(faceName) || !isPlainName(cardID))
        return -1;
    const QDir images(cardImagesFolder(databaseFolder));
    const QString front = images.filePath(faceName);
    const QString whole = images.filePath(cardID + QStringLiteral(".pdf"));
    const QString back = images.filePath(cardID + QLatin1String(kBackSuffix));
    std::unique_ptr<PdfDocument> document = PdfDocument::open(front);
    if (!document)
        return -1;
    try {
        if (document->pageCount() <= 1)
            return -1;
        if (!PLPDFWriteToFile(*document, whole) || !writeSplitCard(*document, 1, front, back))
            return -1;
    } catch (const std::exception&) {
        return -1;
    }
    card->setValueForKey(kBackFile, cardID + QLatin1String(kBackSuffix));
    card->setValueForKey(kBackPage, 1);
    return 0;
}

int AddBackImageInfo(const QString& databaseFolder, const QString& sourcePath, CardRecord* card)
{
    if (PLChecker::isBlank(sourcePath) || !card)
        return -50;
    const QString cardID = text(*card, kCardID), faceName = text(*card, kFaceFile);
    if (PLChecker::isBlank(cardID) || PLChecker::isBlank(faceName) || !isPlainName(cardID) || !isPlainName(faceName))
        return -50;
    const QDir images(cardImagesFolder(databaseFolder));
    if (!isImagePdf(images.filePath(faceName), 1) || !isImagePdf(sourcePath, 1))
        return -50;
    const QString backName = cardID + QLatin1String(kBackSuffix);
    const QString back = images.filePath(backName);
    if (QFileInfo::exists(back))
        return -50;
    if (!copyToNewFile(sourcePath, back, PdfDocument::Durability::Durable))
        return -20;
    card->setValueForKey(kBackFile, backName);
    card->setValueForKey(kBackPage, 1);
    return 0;
}

int DelBackImageInfo(const QString& databaseFolder, CardRecord* card)
{
    if (!card)
        return -50;
    const QString cardID = text(*card, kCardID), backName = text(*card, kBackFile);
    if (PLChecker::isBlank(cardID) || PLChecker::isBlank(backName) || !isPlainName(backName))
        return -50;
    const QString back = QDir(cardImagesFolder(databaseFolder)).filePath(backName);
    QFileInfo info(back);
    if (info.exists() || info.isSymLink()) {
        if (info.isDir() || !QFile::remove(back))
            return -20;
    }
    card->setValueForKey(kBackFile, QString());
    card->setValueForKey(kBackPage, 0);
    return 0;
}

int RemovePDFPage(const QString& frontPath, int pageIndex)
{
    const QString whole = siblingOfFront(frontPath, QStringLiteral(".pdf"));
    if (pageIndex < 0 || whole.isEmpty())
        return -50;
    std::unique_ptr<PdfDocument> document = PdfDocument::open(frontPath);
    if (!document)
        return -50;
    if (!PLPDFWriteToFile(*document, whole))
        return -20;
    try {
        if (document->pageCount() > 1)
            document->keepOnlyPage(0);
    } catch (const std::exception& e) {
        PLNSLog(QStringLiteral("%@"), QString::fromUtf8(e.what()));
    }
    return PLPDFWriteToFile(*document, frontPath) ? 0 : -20;
}
