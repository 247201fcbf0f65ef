// The file exports of the main window: one CSV, text or ContactXML file for all cards, one vCard
// file per card, and the one save they all go through.
#include "app/export/PLExporter.h"

#include "app/core/DiskUtilities.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/VersionUtilities.h"
#include "app/export/CardDataContainerConverter.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportText.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <climits>

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

QByteArray utf16WithByteOrderMark(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        bytes.append(static_cast<char>(u & 0xFF));
        bytes.append(static_cast<char>(u >> 8));
    }
    return bytes;
}

// A file name fits in NAME_MAX bytes with room for the number and the extension.
QString fittedBaseName(const QString& name)
{
    constexpr qsizetype kRoom = NAME_MAX - 10;
    QString base = name;
    while (QFile::encodeName(base).size() > kRoom) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base;
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
    // Line breaks of any kind would split the row, and a tab inside a text cell would shift the
    // columns: both become spaces.
    QString cell = unifyLineBreaks(cleanExportText(value));
    cell.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (separator == QLatin1Char('\t')) {
        cell.replace(QLatin1Char('\t'), QLatin1Char(' '));
        return cell.trimmed();
    }
    if (cell.contains(QLatin1Char('"'))) {
        cell.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + cell + QLatin1Char('"');
    }
    if (cell.contains(separator))
        return QLatin1Char('"') + cell + QLatin1Char('"');
    return cell;
}

void PLExporter::process(uint32_t mask, const CardDict& card, QString* title, QString* content, QChar separator, bool flag)
{
    QStringList titles;
    QStringList cells;
    for (const Column& column : kColumns) {
        if (!(mask & column.bit))
            continue;
        cells.append(dealWithString(exportValueText(card.value(QString::fromLatin1(column.key))), separator));
        if (flag)
            titles.append(dealWithString(getLocalString(QString::fromLatin1(column.title)), separator));
    }
    if (flag && title)
        *title += titles.join(separator);
    if (content)
        *content += cells.join(separator) + QLatin1Char('\n');
}

int PLExporter::CreateCSVorTextFile(const QString& filePath, const QList<CardDict>& cards, QChar separator)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(filePath, cards, &mask, &named))
        return *status;
    QString title;
    QString content;
    for (qsizetype i = 0; i < named.size(); ++i)
        process(mask, named.at(i), &title, &content, separator, i == 0);
    return saveFile(utf16WithByteOrderMark(title + QLatin1Char('\n') + content), filePath);
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
    const QString base = fittedBaseName(checkFileName(personFullName, false));
    const QDir folder(folderPath);
    QString path = folder.filePath(base + QLatin1String(".vcf"));
    for (int number = 1; QFileInfo::exists(path); ++number)
        path = folder.filePath(base + QString::number(number) + QLatin1String(".vcf"));
    return path;
}

int PLExporter::ExportToVCard(const QString& folderPath, const QList<CardDict>& cards)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(folderPath, cards, &mask, &named))
        return *status;
    for (const CardDict& card : std::as_const(named)) {
        const QString path = getvCardFileName(folderPath, card.value(QStringLiteral("full_Name")).toString());
        const int status = saveFile(toVCardRepresentation(card, mask, nullptr), path);
        if (status != 0)
            return status;
    }
    return 0;
}

int PLExporter::ExportToXML(const QString& filePath, const QList<CardDict>& cards)
{
    uint32_t mask = 0;
    QList<CardDict> named;
    if (const std::optional<int> status = startExport(filePath, cards, &mask, &named))
        return *status;
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
    const QString folder = QFileInfo(filePath).absolutePath();
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
    if (volume->freeBytes < kAlwaysEnoughSpace && volume->freeBytes <= static_cast<quint64>(data.size()))
        return kStatusNoSpace;
    // A file the user chose to replace is replaced only once the new bytes are complete, so a
    // failed write keeps it; a new file is written in place and removed when the write fails.
    if (QFileInfo::exists(filePath)) {
        QSaveFile file(filePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
            return kStatusWriteFailed;
        return 0;
    }
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return kStatusWriteFailed;
    if (file.write(data) != data.size() || !file.flush()) {
        file.remove();
        return kStatusWriteFailed;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        file.remove();
        return kStatusWriteFailed;
    }
    return 0;
}
