// The file exports of the main window: one CSV, text or ContactXML file for all cards, one vCard
// file per card, and the one save they all go through.
#include "app/core/DiskUtilities.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/VersionUtilities.h"
#include "app/export/CardDataContainerConverter.h"
#include "app/export/ExportCell.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportText.h"
#include "app/export/PLExporter.h"
#include "app/export/VCardFileNames.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/TemporaryWrite.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

const QString kExportItemsKey = QStringLiteral("Export items");
constexpr uint32_t kDefaultExportItems = 4613;
constexpr int kStatusBadArguments = 3;
constexpr int kStatusNoSpace = 11;
constexpr int kStatusWriteFailed = 75;
// Free space this large always passes the space test.
constexpr quint64 kAlwaysEnoughSpace = quint64(4) << 30;

struct Column {
    uint32_t bit;
    const char* title;
    const char* key;
};

const Column kColumns[] = {
    {exportitem::kFullName, "IDS_FULL_NAME", "full_Name"},
    {exportitem::kNameReading, "IDS_FULL_NAME_KANA", "full_Name_Kana"},
    {exportitem::kCompany, "IDS_COMPANY", "company"},
    {exportitem::kCompanyReading, "IDS_COMPANY_KANA", "company_Kana"},
    {exportitem::kDepartment, "IDS_DEPARTMENT", "department"},
    {exportitem::kJobTitle, "IDS_JOB_TITLE", "job_Title"},
    {exportitem::kPostalCode, "IDS_ZIP_POSTALCODE", "zip_PostalCode"},
    {exportitem::kAddress, "IDS_ADDRESS", "address"},
    {exportitem::kCountry, "IDS_COUNTRY", "country"},
    {exportitem::kTelephone, "IDS_TELEPHONE_NUMBER", "telephone_Number"},
    {exportitem::kFax, "IDS_FAX_NUMBER", "fax_Number"},
    {exportitem::kMobile, "IDS_MOBILE_NUMBER", "mobile_Number"},
    {exportitem::kEmail, "IDS_E_MAIL", "e_Mail"},
    {exportitem::kWebPage, "IDS_WEB_PAGE_ADDRESS", "web_Page_Address"},
    {exportitem::kMemo, "IDS_MEMO", "memo"},
    {exportitem::kRegisterDate, "IDS_REGISTER_DATE", "register_Date"},
};
constexpr size_t kColumnCount = std::size(kColumns);

constexpr qsizetype kLongestKey = 16;

struct KeyedColumn {
    size_t column;
    QString key;
};

// The columns by the length of their card keys: a card's key is compared with the few columns of
// its length only.
const std::array<std::vector<KeyedColumn>, kLongestKey + 1>& columnsByKeyLength()
{
    static const std::array<std::vector<KeyedColumn>, kLongestKey + 1> byLength = [] {
        std::array<std::vector<KeyedColumn>, kLongestKey + 1> columns;
        for (size_t i = 0; i < kColumnCount; ++i)
            columns[std::strlen(kColumns[i].key)].push_back({i, QString::fromLatin1(kColumns[i].key)});
        return columns;
    }();
    return byLength;
}

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

// FF FE, then the texts one after the other in UTF-16 little-endian, each converted in one call.
QByteArray utf16WithByteOrderMark(std::initializer_list<QStringView> texts)
{
    qsizetype units = 0;
    for (const QStringView text : texts)
        units += text.size();
    QByteArray bytes(2 + units * 2, Qt::Uninitialized);
    bytes[0] = '\xFF';
    bytes[1] = '\xFE';
    char* at = bytes.data() + 2;
    for (const QStringView text : texts) {
        qToLittleEndian<char16_t>(text.utf16(), text.size(), at);
        at += text.size() * 2;
    }
    return bytes;
}

// The target folder's part of the common save: 0 with the free bytes of its volume, else the status.
int checkSaveFolder(const QString& folder, quint64* freeBytes)
{
    FileAttributes attributes;
    if (!readFileAttributes(folder, &attributes) || !attributes.exists || !attributes.isDirectory || !attributes.writable) {
        PLNSLog(QStringLiteral("file path can't write!"));
        return kStatusWriteFailed;
    }
    const std::optional<VolumeInfo> volume = Workspace::shared().volumeInfo(folder);
    if (!volume) {
        PLNSLog(QStringLiteral("file path is mouted file system!"));
        return kStatusWriteFailed;
    }
    *freeBytes = volume->freeBytes;
    return 0;
}

// The save itself, once the folder has passed its checks with `freeBytes` left on its volume.
int writeFileWithin(const QByteArray& data, const QString& filePath, quint64 freeBytes)
{
    if (freeBytes < kAlwaysEnoughSpace && freeBytes <= static_cast<quint64>(data.size()))
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

void PLExporter::process(uint32_t mask, const CardDict& card, QString* title, QString* content, QChar separator, bool flag)
{
    // The card's values are found in one walk over the card, not looked up column by column.
    std::array<const QVariant*, kColumnCount> values{};
    for (auto entry = card.cbegin(); entry != card.cend(); ++entry) {
        if (entry.key().isEmpty() || entry.key().size() > kLongestKey)
            continue;
        const QString& key = entry.key();
        for (const KeyedColumn& column : columnsByKeyLength()[size_t(key.size())]) {
            // Keys of one length mostly differ at their ends: those are looked at before the rest.
            if (key.front() == column.key.front() && key.back() == column.key.back() && key == column.key)
                values[column.column] = &entry.value();
        }
    }
    bool firstCell = true;
    for (size_t column = 0; column < kColumnCount; ++column) {
        if (!(mask & kColumns[column].bit))
            continue;
        if (!firstCell) {
            if (content)
                content->append(separator);
            if (flag && title)
                title->append(separator);
        }
        firstCell = false;
        if (content && values[column]) {
            const QVariant& value = *values[column];
            if (value.typeId() == QMetaType::QString)
                appendExportCell(content, *static_cast<const QString*>(value.constData()), separator);
            else
                appendExportCell(content, exportValueText(value), separator);
        }
        if (flag && title)
            appendExportCell(title, getLocalString(QString::fromLatin1(kColumns[column].title)), separator);
    }
    if (content)
        content->append(QLatin1Char('\n'));
}

int PLExporter::CreateCSVorTextFile(const QString& filePath, const QList<CardDict>& cards, QChar separator)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(filePath, cards, &mask, &named))
        return *status;
    removeTemporaryLeftovers(QFileInfo(filePath).absolutePath());
    QString title;
    QString content;
    for (qsizetype i = 0; i < named.size(); ++i)
        process(mask, named.at(i), &title, &content, separator, i == 0);
    title.append(QLatin1Char('\n'));
    return saveFile(utf16WithByteOrderMark({title, content}), filePath);
}

int PLExporter::ExportToCSV(const QString& filePath, const QList<CardDict>& cards)
{
    return CreateCSVorTextFile(filePath, cards, QLatin1Char(','));
}

int PLExporter::ExportToText(const QString& filePath, const QList<CardDict>& cards)
{
    return CreateCSVorTextFile(filePath, cards, QLatin1Char('\t'));
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
    for (const CardDict& card : std::as_const(named)) {
        const QByteArray bytes = toVCardRepresentation(card, mask, nullptr);
        const int status = writeFileWithin(bytes, names.take(card.value(QStringLiteral("full_Name")).toString()), freeBytes);
        if (status != 0)
            return status;
        freeBytes -= std::min(freeBytes, static_cast<quint64>(bytes.size()));
    }
    return 0;
}

int PLExporter::ExportToXML(const QString& filePath, const QList<CardDict>& cards)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(filePath, cards, &mask, &named))
        return *status;
    removeTemporaryLeftovers(QFileInfo(filePath).absolutePath());
    XmlDocument document = newContactXMLDocument();
    if (!document)
        return kStatusBadArguments;
    xmlNodePtr root = xmlDocGetRootElement(document.get());
    for (const CardDict& card : std::as_const(named))
        xmlAddChild(root, toNSXMLElement(card, mask, nullptr));
    QByteArray bytes;
    if (!contactXmlBytes(document.get(), &bytes))
        return kStatusWriteFailed;
    return saveFile(bytes, filePath);
}

int PLExporter::saveFile(const QByteArray& data, const QString& filePath)
{
    quint64 freeBytes = 0;
    if (const int status = checkSaveFolder(QFileInfo(filePath).absolutePath(), &freeBytes))
        return status;
    return writeFileWithin(data, filePath, freeBytes);
}
