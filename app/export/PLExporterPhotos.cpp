// The photo hand-off: each card side becomes a JPEG or TIFF picture in a private folder, and all
// pictures are opened with the chosen photo application, which imports them.
#include "app/export/PLExporter.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/core/VersionUtilities.h"
#include "app/export/PhotoApplications.h"
#include "app/export/TiffPackBits.h"
#include "app/images/CardBitmapUtilities.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/PLImageCreator.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/workspace/Workspace.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include <cstdlib>

namespace {

constexpr int kStatusNothingToSend = 14;
constexpr int kStatusDeclined = -50;
constexpr int kStatusPictureFailed = 82;
constexpr int kRenderDpi = 300;
constexpr double kPointsPerInch = 72.0;
const QString kRunFolderPrefix = QStringLiteral("photos-");
constexpr qint64 kPicturesKeptSeconds = 24 * 60 * 60;

bool sentBefore(const CardDict& card, int appType)
{
    const int flag = card.value(QStringLiteral("flag2")).toInt();
    return flag == 3 || flag == appType;
}

// A fresh private folder for this hand-off's pictures. Folders of earlier hand-offs go once they
// are a day old: the application may still be importing a recent one (it is started, not
// waited for, and a running one may take the files in later).
QString newRunFolder()
{
    const QString base = privateTempDir();
    if (base.isEmpty())
        return QString();
    QDir dir(base);
    const QDateTime keptSince = QDateTime::currentDateTime().addSecs(-kPicturesKeptSeconds);
    for (const QFileInfo& old :
         dir.entryInfoList({kRunFolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        if (old.lastModified() < keptSince)
            cleanFolder(old.filePath());
    }
    QByteArray templ = QFile::encodeName(dir.filePath(kRunFolderPrefix + QStringLiteral("XXXXXX")));
    return mkdtemp(templ.data()) ? QFile::decodeName(templ) : QString();
}

// Picture information of one decoded card side. Colour and grey sides of scanner PDFs are
// stored as JPEG; bi-level ones are not.
PhotoPageInfo pageInfo(const CardBitmap& bitmap)
{
    return PhotoPageInfo{bitmap.info.rotation, bitmap.info.hdpi > 0 ? bitmap.info.hdpi : 72, bitmap.info.colour == 1 && bitmap.image.depth() > 1};
}

// Page 1 of the PDF drawn at 300 dpi, encoded as JPEG.
QByteArray renderedPicture(const QString& pdfPath)
{
    std::unique_ptr<PdfPageRenderer> document;
    if (AcquireCardImageFromAllPDF(pdfPath, &document) != 0)
        return QByteArray();
    const QSizeF points = document->pagePointSize(0);
    const QSize pixels = (points * (kRenderDpi / kPointsPerInch)).toSize();
    QImage image = document->render(0, pixels);
    if (image.isNull())
        return QByteArray();
    const int dotsPerMeter = qRound(kRenderDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return QImageWriter(&buffer, "jpeg").write(image.convertToFormat(QImage::Format_RGB32)) ? bytes : QByteArray();
}

} // namespace

QByteArray PLExporter::imageDataForiPhoto(const QImage& bitmap, const PhotoPageInfo& pdfPageInfo, QString* extension, int* outErrCode)
{
    int status = 0;
    const bool tiff = bitmap.depth() == 1 || !pdfPageInfo.jpegSource;
    QImage picture = bitmap;
    if (pdfPageInfo.rotation != 0) {
        status = RotateBitmapImageRep(bitmap, pdfPageInfo.rotation, &picture);
        if (status == 0 && bitmap.depth() == 8 && pdfPageInfo.jpegSource && getSystemVersion() >= 0x1060)
            status = ConvertImageToDepth(QImage(picture), 24, &picture);
    } else if (tiff) {
        status = ConvertImageToDepth(bitmap, 8, &picture);
    }
    if (outErrCode)
        *outErrCode = status;
    if (status != 0)
        return QByteArray();
    // The picture keeps the scan's resolution.
    const int dotsPerMeter = qRound(std::max(1, pdfPageInfo.resolution) / 0.0254);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    if (extension)
        *extension = tiff ? QStringLiteral("tiff") : QStringLiteral("jpg");
    if (tiff)
        return encodeTiffPackBits(picture);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return QImageWriter(&buffer, "jpeg").write(picture) ? bytes : QByteArray();
}

std::optional<QStringList> PLExporter::exportCardImageToiPhoto(const CardDict& card, const QString& pdfPath, const QString& folder,
                                                               const QString& fileName, int* outErrCode)
{
    if (pdfPath.isEmpty() || folder.isEmpty() || fileName.isEmpty() || !outErrCode)
        return std::nullopt;
    *outErrCode = 0;
    QStringList written;
    const auto save = [&](const QByteArray& bytes, const QString& base, const QString& extension) {
        if (bytes.isEmpty()) {
            *outErrCode = kStatusPictureFailed;
            return false;
        }
        const QString path = QDir(folder).filePath(base + QLatin1Char('.') + extension);
        *outErrCode = saveFile(bytes, path);
        if (*outErrCode == 0)
            written.append(path);
        return *outErrCode == 0;
    };

    const int kind = CheckPDF(pdfPath);
    // Only a missing front is drawn as a placeholder; a missing back has no picture.
    const bool front = QFileInfo(pdfPath).fileName() == card.value(cardkey::kFaceImageFile).toString();
    if (kind == kPdfMissing && !front)
        return written;
    if (kind == kPdfMissing && PLImageCreator::writeCardImage(g_strCurDBPath, card) != 0) {
        PLNSLog(QStringLiteral("Image Create failed. %@"), pdfPath);
        return written;
    }
    if (kind == kPdfCard) {
        CardBitmap front;
        CardBitmap back;
        if (AcquireCardImages(pdfPath, QString(), &front, &back) == 0 && !front.image.isNull()) {
            for (const auto& [bitmap, base] : {std::pair{&front, fileName}, std::pair{&back, QFileInfo(pdfPath).completeBaseName() + QStringLiteral("back")}}) {
                if (bitmap->image.isNull())
                    continue;
                QString extension;
                const QByteArray bytes = imageDataForiPhoto(bitmap->image, pageInfo(*bitmap), &extension, outErrCode);
                if (!save(bytes, base, extension))
                    return written;
            }
            return written;
        }
    } else if (kind != kPdfMissing && kind != kPdfOwnOrImageless) {
        return written;
    }
    save(renderedPicture(pdfPath), fileName, QStringLiteral("jpg"));
    return written;
}

int PLExporter::exportCardImagesToiPhoto(const QList<CardDict>& cards, int appType)
{
    if (cards.isEmpty() || (appType != kPhotoAppType1 && appType != kPhotoAppType2))
        return kStatusNothingToSend;
    if (std::any_of(cards.begin(), cards.end(), [appType](const CardDict& card) { return sentBefore(card, appType); })) {
        const QString question = appType == kPhotoAppType1 ? QStringLiteral("IDS_MSG_MULTI_EXPORT") : QStringLiteral("IDS_MSG_MULTI_EXPORT_PHOTOS");
        if (PLMessage::ShowPLInfoMessageBySheet(nullptr, question, 0, 1, QString()) != 1)
            return kStatusDeclined;
    }
    const QString folder = newRunFolder();
    if (folder.isEmpty())
        return 75;
    const QString images = cardImagesFolder(g_strCurDBPath);
    QStringList pictures;
    for (const CardDict& card : cards) {
        for (const auto& [key, suffix] : {std::pair{cardkey::kFaceImageFile, "front"}, std::pair{cardkey::kBackImageFile, "back"}}) {
            const QString name = card.value(key).toString();
            if (PLChecker::isBlank(name) || name.contains(QLatin1Char('/')))
                continue;
            int status = 0;
            const std::optional<QStringList> written =
                exportCardImageToiPhoto(card, QDir(images).filePath(name), folder, QFileInfo(name).completeBaseName() + QLatin1String(suffix), &status);
            if (status != 0) {
                cleanFolder(folder);
                return status;
            }
            pictures += written.value_or(QStringList());
        }
    }
    if (pictures.isEmpty()) {
        cleanFolder(folder);
        return 0;
    }
    // A refusal may come after the application was started with some of the pictures (one start
    // per picture): they stay, and go with the folder a day later.
    if (!Workspace::shared().openFilesWithApplication(photoApplicationIdentifier(appType), pictures))
        return appType == kPhotoAppType1 ? 47 : 244;
    return 0;
}

int PLExporter::ExportToiPhoto(const QList<CardDict>& cards)
{
    return exportCardImagesToiPhoto(cards, kPhotoAppType1);
}

int PLExporter::ExportToPhotos(const QList<CardDict>& cards)
{
    return exportCardImagesToiPhoto(cards, kPhotoAppType2);
}
