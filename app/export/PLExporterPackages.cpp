// Export packages for linked applications: a fresh folder holding the cards as numbered vCard or
// ContactXML files and their images as numbered PDF or JPEG files, optionally with a list of
// them in "ExportResult.plist".
#include "app/export/PLExporter.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/Identifiers.h"
#include "app/core/PLChecker.h"
#include "app/export/CardDataContainerConverter.h"
#include "app/export/ExportItemMask.h"
#include "app/images/CardBitmapUtilities.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/PLImageCreator.h"
#include "app/linkage/LinkageLanguage.h"
#include "app/linkage/PLExtAppExportFileInfo.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PlainFile.h"
#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kMaxFolderAttempts = 11;
constexpr int kMaxFileNumber = 10000;
constexpr int kNoTempFolder = -4960;

bool isDataType(int type)
{
    return type == PLExporter::kDataVCard || type == PLExporter::kDataContactXML;
}

// Removes a package that failed and answers its status.
int failed(const QString& packageFolder, int status)
{
    cleanFolder(packageFolder);
    return status;
}

QString cardImage(const CardDict& card, const QString& key)
{
    const QString name = card.value(key).toString();
    if (PLChecker::isBlank(name) || name.contains(QLatin1Char('/')))
        return QString();
    return QDir(cardImagesFolder(g_strCurDBPath)).filePath(name);
}

// The data files of a package: all in one, or a new one for each card.
class DataFiles {
public:
    DataFiles(const QString& folder, int type, QStringList* paths) : m_folder(folder), m_type(type), m_paths(paths) {}
    // The file the next card goes to; empty when no name is free.
    QString next(bool allInOne)
    {
        if (allInOne && !m_current.isEmpty())
            return m_current;
        m_current = PLExporter::uniqueFullPathUnder(m_folder, false, m_type);
        if (!m_current.isEmpty())
            m_paths->append(m_current);
        return m_current;
    }

private:
    QString m_folder;
    int m_type;
    QStringList* m_paths;
    QString m_current;
};

// The sample card file of the link test in the localisation of the language, else in English.
QString sampleResource(const QString& language, const QString& extension)
{
    static const QHash<QString, QString> folders{
        {"English", "en"}, {"French", "fr"}, {"Japanese", "ja"}, {"German", "de"}, {"Spanish", "es"}, {"Italian", "it"},
        {"Portuguese", "pt"}, {"Russian", "ru"}, {"Korean", "ko"}, {"zh-CN", "zh_CN"}, {"zh-TW", "zh_TW"},
    };
    const QDir resources(Bundle::main().resourcePath());
    for (const QString& folder : {folders.value(language), QStringLiteral("en")}) {
        const QString path = resources.filePath(folder + QStringLiteral("/Sample.") + extension);
        if (!folder.isEmpty() && PLChecker::isPathExists(path, PLChecker::kPathFile))
            return path;
    }
    return QString();
}

} // namespace

QString PLExporter::fileExtensionName(int fileType)
{
    switch (fileType) {
    case kDataVCard: return QStringLiteral("vcf");
    case kDataContactXML: return QStringLiteral("xml");
    case kImagePdf: return QStringLiteral("pdf");
    case kImageJpeg: return QStringLiteral("jpg");
    default: return QString();
    }
}

QString PLExporter::uniqueFullPathUnder(const QString& parent, bool isFolder, int fileType)
{
    if (PLChecker::isBlank(parent))
        return QString();
    const QDir folder(parent);
    if (isFolder) {
        for (int attempt = 0; attempt < kMaxFolderAttempts; ++attempt) {
            const QString path = folder.filePath(generateUID());
            if (!QFileInfo::exists(path))
                return path;
        }
        return QString();
    }
    const QString extension = fileExtensionName(fileType);
    if (extension.isEmpty())
        return QString();
    const QString base = isDataType(fileType) ? QStringLiteral("DataFile%1.") : QStringLiteral("ImageFile%1.");
    for (int number = 1; number <= kMaxFileNumber; ++number) {
        const QString path = folder.filePath(base.arg(number) + extension);
        if (!QFileInfo::exists(path))
            return path;
    }
    return QString();
}

int PLExporter::saveData(const QByteArray& data, const QString& filePath)
{
    if (filePath.isEmpty())
        return kLinkageArgument;
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!PLChecker::isPathExists(folder, PLChecker::kPathFolder)) {
        PLNSLog(QStringLiteral("Folder doesn't exist! [%@]"), folder);
        return kPackageFailure;
    }
    if (!QFileInfo(folder).isWritable()) {
        PLNSLog(QStringLiteral("Folder is not writeable! [%@]"), folder);
        return kPackageFailure;
    }
    if (checkDiskSize(folder, static_cast<uint64_t>(data.size()) + g_lDiskSize) != 0) {
        PLNSLog(QStringLiteral("No enough disk space! [%@]"), folder);
        return kPackageFailure;
    }
    // Data files are plain documents for other programs to read, never executable.
    const int fd = ::open(QFile::encodeName(filePath).constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        PLNSLog(QStringLiteral("Open or Create file failure! [%@]"), filePath);
        return kPackageFailure;
    }
    const bool written = writeAll(fd, data);
    return (::close(fd) == 0 && written) ? 0 : kLinkageException;
}

QStringList PLExporter::convertPdf2Jpg(const QString& pdfPath, const QString& toPath, int* errors)
{
    int status = 0;
    QStringList written;
    CardBitmap first;
    CardBitmap second;
    const int kind = CheckPDF(pdfPath);
    bool ok = false;
    if (kind == kPdfCard)
        ok = AcquireCardImageFromPDF(pdfPath, &first, &second) == 0;
    if ((kind == kPdfOwnOrImageless || (kind == kPdfCard && !ok))) {
        second = CardBitmap();
        ok = AcquireCardImageFromSearchablePDF(pdfPath, &first) == 0;
    }
    if (!ok) {
        status = kPdfToJpegFailure;
    } else {
        for (const CardBitmap* bitmap : {&first, &second}) {
            if (bitmap->image.isNull())
                continue;
            const QString path = uniqueFullPathUnder(toPath, false, kImageJpeg);
            if (path.isEmpty() || saveJpgFile(bitmap->image, bitmap->info.rotation, bitmap->info.hdpi, bitmap->info.vdpi, bitmap->info.colour, path) != 0) {
                status = kPdfToJpegFailure;
                break;
            }
            written.append(path);
        }
    }
    if (errors)
        *errors = status;
    return status == 0 ? written : QStringList();
}

int PLExporter::exportCardImage2File(const CardDict& card, const QString& folder, int imageFileType, QStringList* newFilePaths)
{
    if (folder.isEmpty() || !newFilePaths)
        return kLinkageArgument;
    const QString front = cardImage(card, cardkey::kFaceImageFile);
    if (!PLChecker::isPathExists(front, PLChecker::kPathFile) && PLImageCreator::writeCardImage(g_strCurDBPath, card) != 0) {
        PLNSLog(QStringLiteral("Image Create failed. %@"), front);
        return kPackageFailure;
    }
    if (front.isEmpty())
        return kPackageFailure;
    const QString back = cardImage(card, cardkey::kBackImageFile);
    if (imageFileType == kImageJpeg) {
        int status = 0;
        QStringList paths = convertPdf2Jpg(front, folder, &status);
        if (status == 0 && PLChecker::isPathExists(back, PLChecker::kPathFile))
            paths += convertPdf2Jpg(back, folder, &status);
        newFilePaths->append(paths);
        return status;
    }
    if (imageFileType == kImagePdf) {
        const QString path = uniqueFullPathUnder(folder, false, kImagePdf);
        if (path.isEmpty() || exportCardImageFile(front, back, path) != 0)
            return kPackageFailure;
        newFilePaths->append(path);
    }
    return 0;
}

int PLExporter::exportCardImage2Files(const QList<CardDict>& cards, const QString& folder, int imageFileType, QStringList* newFilePaths)
{
    if (imageFileType == kImageNone)
        return 0;
    for (const CardDict& card : cards) {
        if (const int status = exportCardImage2File(card, folder, imageFileType, newFilePaths))
            return status;
    }
    return 0;
}

int PLExporter::exportCardData2vCard(const QList<CardDict>& cards, const QString& folder, int imageFileType, bool isAllInOneFile,
                                     QStringList* newFilePaths)
{
    DataFiles files(folder, kDataVCard, newFilePaths);
    for (const CardDict& card : cards) {
        const QString file = files.next(isAllInOneFile);
        if (file.isEmpty())
            return kPackageFailure;
        QStringList images;
        if (imageFileType != kImageNone) {
            if (const int status = exportCardImage2File(card, folder, imageFileType, &images))
                return status;
        }
        const QByteArray vcard = toVCardRepresentation(card, exportitem::kAll, &images);
        if (vcard.isEmpty())
            return kVCardFailure;
        if (const int status = saveData(vcard, file))
            return status;
    }
    return 0;
}

int PLExporter::exportCardData2ContactXML(const QList<CardDict>& cards, const QString& folder, int imageFileType, bool isAllInOneFile,
                                          QStringList* newFilePaths)
{
    if (folder.isEmpty() || cards.isEmpty())
        return kLinkageArgument;
    XmlDocument document;
    const auto save = [&]() {
        QByteArray bytes;
        const QString file = uniqueFullPathUnder(folder, false, kDataContactXML);
        if (file.isEmpty() || !contactXmlBytes(document.get(), &bytes))
            return kPackageFailure;
        newFilePaths->append(file);
        return saveData(bytes, file);
    };
    for (const CardDict& card : cards) {
        QStringList images;
        if (imageFileType != kImageNone) {
            if (const int status = exportCardImage2File(card, folder, imageFileType, &images))
                return status;
        }
        if (!document)
            document = newContactXMLDocument();
        if (!document)
            return kPackageFailure;
        xmlAddChild(xmlDocGetRootElement(document.get()), toNSXMLElement(card, exportitem::kAll, &images));
        if (!isAllInOneFile) {
            if (const int status = save())
                return status;
            document.reset();
        }
    }
    return isAllInOneFile ? save() : 0;
}

int PLExporter::exportCardData(const QList<CardDict>& cards, const QString& folder, int datafileType, int imageFileType, bool isAllInOneFile,
                               bool isMakeResultPlist, QStringList* newFilePaths)
{
    if (cards.isEmpty() || folder.isEmpty() || !newFilePaths)
        return kLinkageArgument;
    const QString package = uniqueFullPathUnder(folder, true, 0);
    if (package.isEmpty() || !PLChecker::makeDirectoryIfNotExists(package))
        return kPackageFailure;
    QStringList written;
    int status = 0;
    if (datafileType == kDataImagesOnly)
        status = exportCardImage2Files(cards, package, imageFileType, &written);
    else if (datafileType == kDataVCard)
        status = exportCardData2vCard(cards, package, imageFileType, isAllInOneFile, &written);
    else if (datafileType == kDataContactXML)
        status = exportCardData2ContactXML(cards, package, imageFileType, isAllInOneFile, &written);
    if (status != 0)
        return failed(package, status);
    if (isMakeResultPlist) {
        PLExtAppExportFileInfo result(QDir(package).filePath(kExportResultFileName));
        result.setInfoGroupDic(PLExtAppExportFileInfo::newInfoGroupDic(QStringLiteral("ZORFILELISTFORMAT"), QStringLiteral("1.0"), QStringLiteral("Pelmora")));
        result.setFilesGroupArr(PLExtAppExportFileInfo::filesGroup(written));
        if (result.save() != 0)
            return failed(package, kPackageFailure);
        written = QStringList{result.fullFilePath()};
    }
    *newFilePaths = written;
    return 0;
}

int PLExporter::exportSampleDataToFolder(const QString& folder, int fileType, QStringList* newFilePaths)
{
    if (folder.isEmpty() || !newFilePaths)
        return kLinkageArgument;
    const QString language = getCurSysLanguage();
    if (language.isEmpty() || !isDataType(fileType))
        return kPackageFailure;
    const QString sample = sampleResource(language, fileExtensionName(fileType));
    if (sample.isEmpty())
        return kSampleMissing;
    QFile file(sample);
    if (!file.open(QIODevice::ReadOnly))
        return kSampleMissing;
    const QByteArray bytes = file.readAll();
    const QString package = uniqueFullPathUnder(folder, true, 0);
    if (package.isEmpty() || !PLChecker::makeDirectoryIfNotExists(package))
        return kPackageFailure;
    const QString data = uniqueFullPathUnder(package, false, fileType);
    if (data.isEmpty())
        return failed(package, kPackageFailure);
    if (const int status = saveData(bytes, data))
        return failed(package, status);
    *newFilePaths = QStringList{data};
    return 0;
}

int GetTempFolder(QString* path, const QString& subfolder)
{
    if (!path)
        return kNoTempFolder;
    QString folder = privateTempDir();
    if (folder.isEmpty())
        return kNoTempFolder;
    if (!subfolder.isEmpty()) {
        folder = QDir(folder).filePath(subfolder);
        if (!PLChecker::makeDirectoryIfNotExists(folder))
            return kNoTempFolder;
    }
    *path = folder;
    return 0;
}

QString PLExporter::defaultExtentionTempDir()
{
    QString folder;
    if (GetTempFolder(&folder, QString()) != 0)
        return QString();
    return folder + QStringLiteral("/ZOR/Brevix/Pelmora/Extension/") + QStringLiteral("temp");
}

QString PLExporter::tempDirPLUnderUserDocuments()
{
    const QString documents = userDocumentsDir();
    return documents.isEmpty() ? QString() : documents + QStringLiteral("/Pelmora/Temp");
}
