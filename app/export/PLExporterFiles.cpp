// The file exports of the main window: one ContactXML file for all cards, one vCard file per card,
// and the one save they go through (the CSV and text files are PLExporterTable.cpp's).
#include "app/core/DiskUtilities.h"
#include "app/core/PLChecker.h"
#include "app/core/VersionUtilities.h"
#include "app/export/CardDataContainerConverter.h"
#include "app/export/ContactXmlFile.h"
#include "app/export/ExportCell.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportTarget.h"
#include "app/export/PLExporter.h"
#include "app/export/VCardFileNames.h"
#include "platform/foundation/DurableFileBatch.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kExportItemsKey = QStringLiteral("Export items");
constexpr uint32_t kDefaultExportItems = 4613;
constexpr int kStatusBadArguments = 3;
constexpr int kStatusNoSpace = 11;
constexpr int kStatusWriteFailed = 75;

// The common start of every file export: nullopt to go on with the mask and the named cards,
// else the status to answer (nothing is written when the user declined after nameless cards).
std::optional<int> startExport(const QString& target, const QList<CardDict>& cards, uint32_t* mask, QList<CardDict>* named)
{
    if (target.isEmpty() || cards.isEmpty())
        return kStatusBadArguments;
    *mask = PLExporter::exportItemsMask();
    if (!PLChecker::checkDataListBeforeExport(cards, named))
        return 0;
    return std::nullopt;
}

// The save itself, once the folder has passed its checks with `freeBytes` left on its volume.
int writeFileWithin(const QByteArray& data, const QString& filePath, quint64 freeBytes)
{
    if (!hasRoomFor(data, freeBytes))
        return kStatusNoSpace;
    // Written beside and renamed into place: a killed or failed export leaves no half-written
    // file under the name, and a link at the name is replaced, never written through.
    return writeThroughTemporary(filePath, data, "export-file-written") ? 0 : kStatusWriteFailed;
}

} // namespace

uint32_t PLExporter::exportItemsMask()
{
    const PlistValue stored = PreferenceDomain::standard().value(kExportItemsKey);
    uint32_t mask = kDefaultExportItems;
    if (stored.isNumber() && !stored.isBool() && (stored.toInteger() & exportitem::kFullName))
        mask = static_cast<uint32_t>(stored.toInteger());
    return mask & static_cast<uint32_t>(getDefaultDisplayMode());
}

QString PLExporter::dealWithString(const QString& value, QChar separator)
{
    QString cell;
    appendExportCell(&cell, value, separator);
    return cell;
}

QString PLExporter::getvCardFileName(const QString& folderPath, const QString& personFullName)
{
    return VCardFileNames(folderPath).take(personFullName);
}

int PLExporter::ExportToVCard(const QString& folderPath, const QList<CardDict>& cards)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(folderPath, cards, &mask, &named))
        return *status;
    // The folder and its volume are looked at once for the whole run; each file then takes its
    // bytes off the free space the volume reported.
    quint64 freeBytes = 0;
    if (const int status = checkSaveFolder(QDir(folderPath).absolutePath(), &freeBytes))
        return status;
    removeTemporaryLeftovers(folderPath);
    VCardFileNames names(folderPath);
    // A card's file takes its name only once its bytes are on the disk, but the files wait for the
    // disk a batch at a time; a failure still ends the export at its card, the cards before it saved.
    DurableFileBatch files(folderPath, "export-file-written");
    for (const CardDict& card : std::as_const(named)) {
        const QByteArray bytes = toVCardRepresentation(card, mask, nullptr);
        if (!hasRoomFor(bytes, freeBytes))
            return files.finish() ? kStatusNoSpace : kStatusWriteFailed;
        if (!files.add(names.take(card.value(QStringLiteral("full_Name")).toString()), bytes))
            break;
        freeBytes -= std::min(freeBytes, static_cast<quint64>(bytes.size()));
    }
    return files.finish() ? 0 : kStatusWriteFailed;
}

int PLExporter::ExportToXML(const QString& filePath, const QList<CardDict>& cards)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(filePath, cards, &mask, &named))
        return *status;
    // Written as the cards come, with the bytes of their element tree serialised, not through it.
    return saveInPieces(filePath, [&](const ExportPieceWriter& write) { return ContactXmlFile(mask).writeFile(named, write); });
}

int PLExporter::saveFile(const QByteArray& data, const QString& filePath)
{
    quint64 freeBytes = 0;
    if (const int status = checkSaveFolder(QFileInfo(filePath).absolutePath(), &freeBytes))
        return status;
    return writeFileWithin(data, filePath, freeBytes);
}
