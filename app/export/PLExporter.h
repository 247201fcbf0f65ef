// The exporter: every way cards leave the database as files. Class methods only; nothing here
// keeps state between calls. File exports answer 0 or a message number for the caller to show;
// the packages for linked applications answer 0 or a negative linkage status.
#pragma once

#include "app/images/CardBitmap.h"
#include "app/images/CardRecord.h"
#include "platform/store/ManagedObject.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <libxml/tree.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>

struct XmlDocFree {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocFree>;

// One picture of a card side as the photo hand-off writes it.
struct PhotoPageInfo {
    int rotation = 0;      // degrees clockwise: 0, 90, 180 or 270
    int resolution = 72;   // dots per inch
    bool jpegSource = false;
};

class PLExporter {
public:
    // Attributes of an element, written in this order.
    using Attributes = QList<QPair<QString, QString>>;

    // Photo application types.
    static constexpr int kPhotoAppType1 = 1;
    static constexpr int kPhotoAppType2 = 2;

    // --- Elements and documents of the ContactXML files ---
    // A new unattached element; null when the name is empty or `checkState` is not 1. Text only
    // for a non-empty value, so a chosen item without a value is an empty element.
    static xmlNodePtr creatAtomicNode(const QString& name, const Attributes& attributes, const QString& value, int checkState);
    // The elements that are not null, in order.
    static QList<xmlNodePtr> makeArrayWithObjects(std::initializer_list<xmlNodePtr> objects);
    // Declaration 1.0 in UTF-16, root "ContactXML" with version, creator and the ContactXML
    // namespace; null when it cannot be made.
    static XmlDocument newContactXMLDocument();
    // The xml:lang tag of the user-interface language.
    static QString langValueForXML();
    // The pretty-printed UTF-16 bytes (byte-order mark first); false when serialisation fails.
    static bool contactXmlBytes(xmlDocPtr document, QByteArray* bytes);

    // --- File exports ---
    static int ExportToCSV(const QString& filePath, const QList<CardDict>& cards);
    static int ExportToText(const QString& filePath, const QList<CardDict>& cards);
    // The same files from the store's cards, each value read by its attribute.
    static int ExportToCSV(const QString& filePath, const ManagedObjectList& cards);
    static int ExportToText(const QString& filePath, const ManagedObjectList& cards);
    static int CreateCSVorTextFile(const QString& filePath, const QList<CardDict>& cards, QChar separator);
    // The value ready for one cell of a CSV (separator ",") or text (tab) file.
    static QString dealWithString(const QString& value, QChar separator);
    // One file per named card in the folder.
    static int ExportToVCard(const QString& folderPath, const QList<CardDict>& cards);
    // A free path "<name>.vcf", "<name>1.vcf", ... in the folder.
    static QString getvCardFileName(const QString& folderPath, const QString& personFullName);
    static int ExportToXML(const QString& filePath, const QList<CardDict>& cards);
    // 0; 75 when the folder is not writable, its volume cannot be read or the write fails; 11
    // when the volume has no more free bytes than the data. An existing file is replaced only
    // once the new bytes are complete.
    static int saveFile(const QByteArray& data, const QString& filePath);
    // "Export items" as the file exports use it.
    static uint32_t exportItemsMask();

    // --- The upload card file ---
    // Writes the cards into "<yyyyMMddHHmmsszzz>.xml" in `folder` and their image PDFs into a new
    // folder beside it (`outTmpFolder`). The file's path, also when writing it failed; empty
    // otherwise. `error` gets 0 or 3, -4001, 122, 11, 75.
    static QString ExportToXmlForSalesforce(const QString& folder, const QList<CardDict>& cards, int* error, QString* outTmpFolder);
    // 0, 3 for no document or path, 75 when serialisation fails, or saveFile's status.
    static int saveXML(xmlDocPtr document, const QString& fullPath);
    // "SalesForce connect check box items display" as the upload uses it.
    static uint32_t uploadItemsMask();

    // --- The photo hand-off ---
    static int ExportToiPhoto(const QList<CardDict>& cards);
    static int ExportToPhotos(const QList<CardDict>& cards);
    // 0, 14, -50 (declined), 47 or 244 (the application refused), 82, 11 or 75.
    static int exportCardImagesToiPhoto(const QList<CardDict>& cards, int appType);
    // The pictures of one card PDF written into `folder`; nullopt for a missing argument.
    static std::optional<QStringList> exportCardImageToiPhoto(const CardDict& card, const QString& pdfPath, const QString& folder,
                                                              const QString& fileName, int* outErrCode);
    // The encoded picture; `extension` receives "jpg" or "tiff". Empty on failure.
    static QByteArray imageDataForiPhoto(const QImage& bitmap, const PhotoPageInfo& pdfPageInfo, QString* extension, int* outErrCode);

    // --- Packages for linked applications ---
    // Data kinds and image kinds of a package.
    static constexpr int kDataImagesOnly = 1;
    static constexpr int kDataVCard = 2;
    static constexpr int kDataContactXML = 3;
    static constexpr int kImageNone = 11;
    static constexpr int kImagePdf = 12;
    static constexpr int kImageJpeg = 13;
    // Statuses of the packages.
    static constexpr int kLinkageArgument = -1;
    static constexpr int kVCardFailure = -2;
    static constexpr int kLinkageException = -4;
    static constexpr int kSampleMissing = -1002;
    static constexpr int kPdfToJpegFailure = -1006;
    static constexpr int kPackageFailure = -4001;

    // A fresh folder under `folder` with the cards' data and images; `newFilePaths` receives the
    // written files, or only "ExportResult.plist" when a result list was asked for. A package that
    // fails is removed.
    static int exportCardData(const QList<CardDict>& cards, const QString& folder, int datafileType, int imageFileType,
                              bool isAllInOneFile, bool isMakeResultPlist, QStringList* newFilePaths);
    static int exportCardData2vCard(const QList<CardDict>& cards, const QString& folder, int imageFileType, bool isAllInOneFile,
                                    QStringList* newFilePaths);
    static int exportCardData2ContactXML(const QList<CardDict>& cards, const QString& folder, int imageFileType, bool isAllInOneFile,
                                         QStringList* newFilePaths);
    static int exportCardImage2Files(const QList<CardDict>& cards, const QString& folder, int imageFileType, QStringList* newFilePaths);
    static int exportCardImage2File(const CardDict& card, const QString& folder, int imageFileType, QStringList* newFilePaths);
    // The JPEG files written for the PDF's images; empty on failure (`errors` -1006).
    static QStringList convertPdf2Jpg(const QString& pdfPath, const QString& toPath, int* errors);
    // Appends the bytes to the file: 0, -1, -4 or -4001.
    static int saveData(const QByteArray& data, const QString& filePath);
    // A free folder (a new UUID name) or a free "DataFile<n>"/"ImageFile<n>" of the type; empty
    // when there is none. Nothing is created.
    static QString uniqueFullPathUnder(const QString& parent, bool isFolder, int fileType);
    static QString fileExtensionName(int fileType);
    // The link test: a package holding the sample card file of the type (2 or 3) in the user's
    // language. 0, -1, -1002 (no sample) or -4001.
    static int exportSampleDataToFolder(const QString& folder, int fileType, QStringList* newFilePaths);
    // The base folders of packages: for configured applications, and for the user's own ones.
    static QString defaultExtentionTempDir();
    static QString tempDirPLUnderUserDocuments();
};

// The user's private folder for temporary items, with `subfolder` made inside it when given:
// 0, or -4960 when no folder can be had.
int GetTempFolder(QString* path, const QString& subfolder);
