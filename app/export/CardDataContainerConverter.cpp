#include "app/export/CardDataContainerConverter.h"

#include "app/core/VersionUtilities.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportText.h"
#include "app/export/PLExporter.h"
#include "app/images/CardFieldKeys.h"
#include "platform/addressbook/VCardText.h"

#include <QDate>
#include <QFileInfo>

using namespace exportitem;

namespace {

QString value(const CardDict& card, const QString& key)
{
    return exportValueText(card.value(key));
}

bool blank(const QString& text)
{
    return text.isEmpty();
}

// The characters a vCard value loses at both ends.
bool isVCardTrimmed(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\t' || u == u' ' || u == 0x3000 || u == u'\n' || u == u'\r' || u == 0x0085 || u == 0x2028;
}

bool isExistingFile(const QString& path)
{
    const QFileInfo info(path);
    return !path.trimmed().isEmpty() && info.exists() && !info.isDir();
}

QString joinParts(const QStringList& parts)
{
    QStringList escaped;
    for (const QString& part : parts)
        escaped.append(formattedVCardItem(part));
    return escaped.join(QLatin1Char(';'));
}

// The address parts of the ADR line: street, city, state, postal code, country.
QStringList addressParts(const CardDict& card, uint32_t mask)
{
    QString street, city, state;
    if (mask & kAddress) {
        street = value(card, cardkey::kStreet);
        city = value(card, cardkey::kCity);
        state = value(card, cardkey::kState);
        if (blank(street) && blank(city) && blank(state))
            street = value(card, cardkey::kAddress);
    }
    const QString zip = (mask & kPostalCode) ? value(card, cardkey::kPostalCode) : QString();
    const QString country = (mask & kCountry) ? value(card, cardkey::kCountry) : QString();
    return {street, city, state, zip, country};
}

void appendChildren(xmlNodePtr parent, const QList<xmlNodePtr>& children)
{
    for (xmlNodePtr child : children)
        xmlAddChild(parent, child);
}

xmlNodePtr container(const char* name, const QList<xmlNodePtr>& children, const PLExporter::Attributes& attributes = {})
{
    xmlNodePtr node = PLExporter::creatAtomicNode(QString::fromLatin1(name), attributes, QString(), 1);
    appendChildren(node, children);
    return node;
}

int checked(uint32_t mask, uint32_t bit)
{
    return (mask & bit) ? 1 : 0;
}

} // namespace

QString formattedVCardItem(const QString& item)
{
    qsizetype begin = 0;
    qsizetype end = item.size();
    while (begin < end && isVCardTrimmed(item.at(begin)))
        ++begin;
    while (end > begin && isVCardTrimmed(item.at(end - 1)))
        --end;
    QString text = unifyLineBreaks(cleanExportText(item.mid(begin, end - begin)));
    // The backslash goes first, so that the escapes added below stay single.
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char(','), QLatin1String("\\,"));
    text.replace(QLatin1Char(';'), QLatin1String("\\;"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QByteArray toVCardRepresentation(const CardDict& card, uint32_t mask, const QStringList* imageFilePaths)
{
    // Lines longer than 75 octets are folded, as vCard 3.0 asks and as readers that enforce it need.
    QByteArray bytes;
    const auto line = [&bytes](const QString& property, const QString& escapedValue) {
        bytes += foldVCardLine((property + QLatin1Char(':') + escapedValue).toUtf8(), "\r\n");
    };
    const auto item = [&](uint32_t bit, const char* property, const QString& key) {
        const QString raw = value(card, key);
        if ((mask & bit) && !blank(raw))
            line(QString::fromLatin1(property), formattedVCardItem(raw));
    };

    line(QStringLiteral("BEGIN"), QStringLiteral("VCARD"));
    line(QStringLiteral("VERSION"), QStringLiteral("3.0"));
    line(QStringLiteral("PRODID"), formattedVCardItem(QStringLiteral("-//ZOR//Pelmora Version %1//EN").arg(getCurrentPLVersion())));
    line(QStringLiteral("N"), joinParts({value(card, cardkey::kFamilyName), value(card, cardkey::kFirstName), value(card, cardkey::kMiddleName),
                                         value(card, cardkey::kPrefixName), value(card, cardkey::kSuffixName)}));
    line(QStringLiteral("FN"), formattedVCardItem(value(card, cardkey::kFullName)));
    // The card's identifier: contact tools that keep a folder of vCards need one to list a card.
    const QString cardID = value(card, QStringLiteral("cardID"));
    if (!blank(cardID))
        line(QStringLiteral("UID"), formattedVCardItem(cardID));
    item(kNameReading, "SORT-STRING", cardkey::kFullNameKana);
    item(kNameReading, "X-PHONETIC-FIRST-NAME", cardkey::kFirstNameKana);
    item(kNameReading, "X-PHONETIC-MIDDLE-NAME", cardkey::kMiddleNameKana);
    item(kNameReading, "X-PHONETIC-LAST-NAME", cardkey::kFamilyNameKana);

    const QString company = (mask & kCompany) ? value(card, cardkey::kCompany) : QString();
    const QString department = (mask & kDepartment) ? value(card, cardkey::kDepartment) : QString();
    if (!blank(company) || !blank(department))
        line(QStringLiteral("ORG"), joinParts({company, department}));
    item(kJobTitle, "TITLE", cardkey::kJobTitle);
    item(kTelephone, "TEL;type=WORK;type=VOICE;type=pref", cardkey::kTelephone);
    item(kFax, "TEL;type=WORK;type=FAX", cardkey::kFax);
    item(kMobile, "TEL;type=CELL;type=VOICE", cardkey::kMobile);

    const QStringList address = addressParts(card, mask);
    if (std::any_of(address.begin(), address.end(), [](const QString& part) { return !blank(part); }))
        line(QStringLiteral("ADR;type=WORK;type=pref"), joinParts(QStringList{QString(), QString()} + address));
    item(kWebPage, "URL;type=WORK;type=pref", cardkey::kWebPage);
    item(kEmail, "EMAIL;type=INTERNET;type=WORK;type=pref", cardkey::kEmail);
    item(kMemo, "NOTE", cardkey::kMemo);

    if ((mask & kImages) && imageFilePaths) {
        for (const QString& path : *imageFilePaths) {
            if (isExistingFile(path))
                line(QStringLiteral("PHOTO;VALUE=URL"), formattedVCardItem(exportFileUrl(QFileInfo(path).absoluteFilePath())));
        }
    }
    const QVariant registered = card.value(QStringLiteral("register_Date"));
    if ((mask & kRegisterDate) && hasExportDate(registered))
        line(QStringLiteral("REV"), formattedVCardItem(exportDateText(registered)));
    line(QStringLiteral("END"), QStringLiteral("VCARD"));
    return bytes;
}

xmlNodePtr toNSXMLElement(const CardDict& card, uint32_t mask, const QStringList* imageFilePaths)
{
    const QString lang = PLExporter::langValueForXML();
    const auto leaf = [&](const char* name, uint32_t bit, const QString& key, PLExporter::Attributes attributes = {}) {
        return PLExporter::creatAtomicNode(QString::fromLatin1(name), attributes, value(card, key), checked(mask, bit));
    };
    const auto reading = [&](const QString& key, uint32_t bit) {
        return (mask & bit) ? PLExporter::Attributes{{QStringLiteral("pronunciation"), value(card, key)}} : PLExporter::Attributes{};
    };
    const auto langAnd = [&](const char* attribute, const char* text) {
        return PLExporter::Attributes{{QStringLiteral("xml:lang"), lang}, {QString::fromLatin1(attribute), QString::fromLatin1(text)}};
    };
    const PLExporter::Attributes langOnly{{QStringLiteral("xml:lang"), lang}};
    const auto official = [](const char* attribute, const char* text) {
        return PLExporter::Attributes{{QStringLiteral("usage"), QStringLiteral("Official")}, {QString::fromLatin1(attribute), QString::fromLatin1(text)}};
    };

    const QVariant registered = card.value(QStringLiteral("register_Date"));
    const QString modified = hasExportDate(registered) ? exportDateText(registered) : QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    xmlNodePtr item = PLExporter::creatAtomicNode(QStringLiteral("ContactXMLItem"), {{QStringLiteral("lastModifiedDate"), modified}}, QString(), 1);

    xmlAddChild(item, container("PersonName", {container("PersonNameItem", PLExporter::makeArrayWithObjects({
        leaf("FullName", kFullName, cardkey::kFullName, reading(cardkey::kFullNameKana, kNameReading)),
        leaf("FirstName", kFullName, cardkey::kFirstName, reading(cardkey::kFirstNameKana, kNameReading)),
        leaf("MiddleName", kFullName, cardkey::kMiddleName, reading(cardkey::kMiddleNameKana, kNameReading)),
        leaf("LastName", kFullName, cardkey::kFamilyName, reading(cardkey::kFamilyNameKana, kNameReading)),
    }), langOnly)}));
    xmlAddChild(item, container("Address", {container("AddressItem", PLExporter::makeArrayWithObjects({
        leaf("AddressCode", kPostalCode, cardkey::kPostalCode, {{QStringLiteral("codeDomain"), QStringLiteral("ZIP7")}}),
        leaf("FullAddress", kAddress, cardkey::kAddress, langOnly),
        leaf("AddressLine", kCountry, cardkey::kCountry, langAnd("addressLineType", "Country")),
        leaf("AddressLine", kAddress, cardkey::kState, langAnd("addressLineType", "Prefecture")),
        leaf("AddressLine", kAddress, cardkey::kCity, langAnd("addressLineType", "City")),
        leaf("AddressLine", kAddress, cardkey::kStreet, langAnd("addressLineType", "Number")),
    }), {{QStringLiteral("locationType"), QStringLiteral("Office")}})}));
    xmlAddChild(item, container("Occupation", {container("OccupationItem", PLExporter::makeArrayWithObjects({
        leaf("OrganizationName", kCompany, cardkey::kCompany, reading(cardkey::kCompanyKana, kCompanyReading)),
        leaf("Department", kDepartment, cardkey::kDepartment),
        leaf("JobTitle", kJobTitle, cardkey::kJobTitle),
    }), langOnly)}));
    xmlAddChild(item, container("Phone", PLExporter::makeArrayWithObjects({
        leaf("PhoneItem", kTelephone, cardkey::kTelephone, official("phoneDevice", "Phone")),
        leaf("PhoneItem", kFax, cardkey::kFax, official("phoneDevice", "Fax")),
        leaf("PhoneItem", kMobile, cardkey::kMobile, official("phoneDevice", "Cellular")),
    })));
    xmlAddChild(item, container("Email", PLExporter::makeArrayWithObjects({leaf("EmailItem", kEmail, cardkey::kEmail, official("emailDevice", "Unknown"))})));
    xmlAddChild(item, container("Web", PLExporter::makeArrayWithObjects({
        leaf("WebItem", kWebPage, cardkey::kWebPage, {{QStringLiteral("usage"), QStringLiteral("Official")}})})));
    if (imageFilePaths) {
        QList<xmlNodePtr> images;
        for (const QString& path : *imageFilePaths) {
            if (!(mask & kImages) || !isExistingFile(path))
                continue;
            PLExporter::Attributes attributes{{QStringLiteral("imageSemantics"), QStringLiteral("Others")}};
            if (QFileInfo(path).suffix() == QLatin1String("jpg"))
                attributes.append({QStringLiteral("contentType"), QStringLiteral("image/jpeg")});
            attributes.append({QStringLiteral("url"), exportFileUrl(QFileInfo(path).absoluteFilePath())});
            images.append(PLExporter::creatAtomicNode(QStringLiteral("ImageItem"), attributes, QString(), 1));
        }
        xmlAddChild(item, container("Image", images));
    }
    xmlAddChild(item, container("Extension", PLExporter::makeArrayWithObjects({
        leaf("ExtensionItem", kMemo, cardkey::kMemo,
             {{QStringLiteral("xml:lang"), lang}, {QStringLiteral("extensionType"), QStringLiteral("Common")}, {QStringLiteral("name"), QStringLiteral("Memo")}})})));
    return item;
}
