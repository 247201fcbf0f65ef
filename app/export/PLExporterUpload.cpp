// The upload card file: the selected cards as the ContactXML tree the upload plug-in reads, with
// each card's image PDF copied into a fresh folder beside it.
#include "app/export/PLExporter.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportText.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardImageFiles.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace exportitem;

namespace {

const QString kUploadItemsKey = QStringLiteral("SalesForce connect check box items display");
constexpr uint32_t kDefaultUploadItems = 127973;
const QString kSkipNoNameQuestion = QStringLiteral("IDS_MSG_IS_SKIP_NO_NAME_DATA");
constexpr int kStatusBadArguments = 3;
constexpr int kStatusNoImageFolder = -4001;
constexpr int kStatusImageCopy = 122;

// Only tab, space and the ideographic space make a name blank here.
bool isNameless(const CardDict& card)
{
    const QString name = card.value(cardkey::kFullName).toString();
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c == u'\t' || c == u' ' || c == QChar(0x3000); });
}

QString imagePath(const QString& folder, const QString& name)
{
    return PLChecker::isBlank(name) ? QString() : QDir(folder).filePath(name);
}

xmlNodePtr uploadItem(const CardDict& card, uint32_t mask, const QString& imageDestination)
{
    const auto text = [&card](const QString& key) { return exportValueText(card.value(key)); };
    const auto leaf = [&](const char* name, uint32_t bit, const QString& key, const PLExporter::Attributes& attributes = {}) {
        return PLExporter::creatAtomicNode(QString::fromLatin1(name), attributes, text(key), (mask & bit) ? 1 : 0);
    };
    const auto group = [](const char* name, const QList<xmlNodePtr>& children, const PLExporter::Attributes& attributes = {}) {
        xmlNodePtr node = PLExporter::creatAtomicNode(QString::fromLatin1(name), attributes, QString(), 1);
        for (xmlNodePtr child : children)
            xmlAddChild(node, child);
        return node;
    };
    const PLExporter::Attributes english{{QStringLiteral("xml:lang"), QStringLiteral("en")}};
    const auto line = [&](const QString& key, const char* type) {
        return leaf("AddressLine", kAddress, key, {{QStringLiteral("xml:lang"), QStringLiteral("en")}, {QStringLiteral("addressLineType"), QString::fromLatin1(type)}});
    };
    const auto phone = [&](uint32_t bit, const QString& key, const char* device) {
        return leaf("PhoneItem", bit, key, {{QStringLiteral("phoneDevice"), QString::fromLatin1(device)}, {QStringLiteral("usage"), QStringLiteral("Official")}});
    };

    xmlNodePtr item = group("ContactXMLItem", {});
    xmlAddChild(item, group("PersonName", {group("PersonNameItem", PLExporter::makeArrayWithObjects({
        leaf("FullName", kFullName, cardkey::kFullName), leaf("LastName", kFullName, cardkey::kFamilyName),
        leaf("MiddleName", kFullName, cardkey::kMiddleName), leaf("FirstName", kFullName, cardkey::kFirstName)}), english)}));
    xmlAddChild(item, group("PersonID", {PLExporter::creatAtomicNode(QStringLiteral("PersonIDItem"),
        {{QStringLiteral("codeDomain"), QStringLiteral("UserDefined")}}, text(QStringLiteral("cardID")), 1)}));
    xmlAddChild(item, group("Occupation", {group("OccupationItem", PLExporter::makeArrayWithObjects({
        leaf("OrganizationName", kCompany, cardkey::kCompany), leaf("JobTitle", kJobTitle, cardkey::kJobTitle),
        leaf("Department", kDepartment, cardkey::kDepartment)}), english)}));
    xmlAddChild(item, group("Address", {group("AddressItem", PLExporter::makeArrayWithObjects({
        leaf("FullAddress", kAddress, cardkey::kAddress, english),
        leaf("AddressCode", kPostalCode, cardkey::kPostalCode, {{QStringLiteral("codeDomain"), QStringLiteral("ZIP7")}}),
        leaf("AddressCode", kCountry, cardkey::kCountry, {{QStringLiteral("codeDomain"), QStringLiteral("Country")}}),
        line(cardkey::kState, "Prefecture"), line(cardkey::kCity, "City"), line(cardkey::kStreet, "Number")}),
        {{QStringLiteral("locationType"), QStringLiteral("Office")}})}));
    xmlAddChild(item, group("Phone", PLExporter::makeArrayWithObjects({phone(kTelephone, cardkey::kTelephone, "Phone"),
        phone(kFax, cardkey::kFax, "Fax"), phone(kMobile, cardkey::kMobile, "Cellular")})));
    xmlAddChild(item, group("Email", PLExporter::makeArrayWithObjects({leaf("EmailItem", kEmail, cardkey::kEmail,
        {{QStringLiteral("emailDevice"), QStringLiteral("Unknown")}, {QStringLiteral("usage"), QStringLiteral("Official")}})})));
    xmlAddChild(item, group("Web", PLExporter::makeArrayWithObjects({leaf("WebItem", kWebPage, cardkey::kWebPage,
        {{QStringLiteral("usage"), QStringLiteral("Official")}})})));
    xmlAddChild(item, group("Extension", PLExporter::makeArrayWithObjects({leaf("ExtensionItem", kMemo, cardkey::kMemo,
        {{QStringLiteral("xml:lang"), QStringLiteral("en")}, {QStringLiteral("extensionType"), QStringLiteral("Common")}, {QStringLiteral("name"), QStringLiteral("Memo")}})})));
    const bool image = (mask & kImages) && !imageDestination.isEmpty() && PLChecker::isPathExists(imageDestination, PLChecker::kPathFile);
    xmlAddChild(item, group("Image", PLExporter::makeArrayWithObjects({PLExporter::creatAtomicNode(QStringLiteral("ImageItem"),
        {{QStringLiteral("imageSemantics"), QStringLiteral("Others")}, {QStringLiteral("url"), image ? exportFileUrl(imageDestination) : QString()}},
        QString(), image ? 1 : 0)})));
    return item;
}

// "yyyyMMddHHmmsszzz.xml" in the folder, a millisecond later while that name is taken. The name is
// taken by making the file at once: another instance handing off in the same millisecond to the
// same folder would otherwise pick it too and replace this card file with its own.
QString uploadFilePath(const QString& folder)
{
    QDateTime time = QDateTime::currentDateTime();
    while (true) {
        const QString path = QDir(folder).filePath(time.toString(QStringLiteral("yyyyMMddHHmmsszzz")) + QLatin1String(".xml"));
        // A folder that takes no file keeps the name: writing the card file then reports why.
        if (QFile(path).open(QIODevice::WriteOnly | QIODevice::NewOnly) || !QFileInfo::exists(path))
            return path;
        time = time.addMSecs(1);
    }
}

} // namespace

uint32_t PLExporter::uploadItemsMask()
{
    const PlistValue stored = PreferenceDomain::standard().value(kUploadItemsKey);
    if (!stored.isNumber() || stored.isBool())
        return kDefaultUploadItems;
    const auto value = static_cast<uint32_t>(stored.toInteger());
    return (value & (kFullName | kCompany)) == (kFullName | kCompany) ? value : kDefaultUploadItems;
}

QString PLExporter::ExportToXmlForSalesforce(const QString& folder, const QList<CardDict>& cards, int* error, QString* outTmpFolder)
{
    if (!error)
        return QString();
    if (folder.isEmpty() || cards.isEmpty() || !outTmpFolder) {
        *error = kStatusBadArguments;
        return QString();
    }
    const uint32_t mask = uploadItemsMask();
    const QString imageFolder = uniqueFullPathUnder(folder, true, 0);
    if (imageFolder.isEmpty() || !PLChecker::makeDirectoryIfNotExists(imageFolder)) {
        *error = kStatusNoImageFolder;
        if (!imageFolder.isEmpty())
            cleanFolder(imageFolder);
        return QString();
    }
    *outTmpFolder = imageFolder;
    XmlDocument document = newContactXMLDocument();
    if (!document) {
        *error = kStatusBadArguments;
        return QString();
    }

    const QString images = cardImagesFolder(g_strCurDBPath);
    int skipped = 0;
    for (const CardDict& card : cards) {
        if (isNameless(card)) {
            ++skipped;
            continue;
        }
        const QString face = card.value(cardkey::kFaceImageFile).toString();
        const QString back = card.value(cardkey::kBackImageFile).toString();
        const QString destination = imagePath(imageFolder, face);
        if (!isPlainFileName(face) || (!PLChecker::isBlank(back) && !isPlainFileName(back))
            || exportCardImageFile(imagePath(images, face), imagePath(images, back), destination) != 0) {
            *error = kStatusImageCopy;
            cleanFolder(imageFolder);
            return QString();
        }
        xmlAddChild(xmlDocGetRootElement(document.get()), uploadItem(card, mask, destination));
    }
    if (skipped > 0) {
        const int answer = PLMessage::ShowPLInfoMessageBySheet(nullptr, kSkipNoNameQuestion, 0, 1, QString());
        if (skipped == cards.size() || answer != 1)
            return QString();
    }
    const QString path = uploadFilePath(folder);
    *error = saveXML(document.get(), path);
    if (*error != 0)
        cleanFolder(imageFolder);
    return path;
}

int PLExporter::saveXML(xmlDocPtr document, const QString& fullPath)
{
    if (!document || fullPath.isEmpty())
        return kStatusBadArguments;
    QByteArray bytes;
    if (!contactXmlBytes(document, &bytes))
        return 75;
    return saveFile(bytes, fullPath);
}
