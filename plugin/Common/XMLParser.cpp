#include "plugin/Common/XMLParser.h"

#include "plugin/Common/LogManager.h"

#include <QFile>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

// The attribute that decides what an element holds.
QString decidingAttribute(const QString& element)
{
    if (element == QLatin1String("AddressCode"))
        return QStringLiteral("codeDomain");
    if (element == QLatin1String("AddressLine"))
        return QStringLiteral("addressLineType");
    if (element == QLatin1String("PhoneItem"))
        return QStringLiteral("phoneDevice");
    if (element == QLatin1String("ImageItem"))
        return QStringLiteral("url");
    if (element == QLatin1String("ExtensionItem"))
        return QStringLiteral("extensionType");
    return QString();
}

// A file URL gives its plain path, also when its blanks are not escaped; text that is no URL is
// taken as it stands.
QString pathOfImageUrl(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        const QUrl tolerant(text, QUrl::TolerantMode);
        return tolerant.isValid() && tolerant.isLocalFile() ? tolerant.toLocalFile() : text;
    }
    return url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded);
}

}

std::optional<XMLParser::CardList> XMLParser::parseXMLFileAtPath(const QString& path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return std::nullopt;
    m_arrCardInfo.reset();
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Our host never writes one; entity declarations are refused rather than expanded.
            return std::nullopt;
        case QXmlStreamReader::StartElement:
            didStartElement(reader);
            break;
        case QXmlStreamReader::Characters:
            m_strCurrentValue += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            didEndElement(reader.qualifiedName().toString());
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return m_arrCardInfo;
}

void XMLParser::didStartElement(const QXmlStreamReader& reader)
{
    const QString name = reader.qualifiedName().toString();
    m_strCurrentValue.clear();
    m_strAttributeType = QString();
    if (name == QLatin1String("ContactXML")) {
        m_arrCardInfo = CardList();
    } else if (name == QLatin1String("ContactXMLItem")) {
        m_CardInfo = std::make_shared<CardInfo>();
        SetFlagToFalse();
        m_strCommonExtension = QString();
        m_strExtendedExtension = QString();
    } else {
        const QString attribute = decidingAttribute(name);
        if (!attribute.isEmpty() && reader.attributes().hasAttribute(attribute))
            m_strAttributeType = reader.attributes().value(attribute).toString();
    }
}

void XMLParser::take(bool& flag, QString& field, const QString& value)
{
    if (flag)
        return;
    field = value;
    flag = true;
}

void XMLParser::didEndElement(const QString& name)
{
    const QString trimmed = m_strCurrentValue.trimmed();
    const QString value = trimmed.isEmpty() ? QString() : trimmed;
    m_strCurrentValue.clear();
    if (!m_CardInfo)
        return;
    CardInfo& card = *m_CardInfo;
    const QString& type = m_strAttributeType;
    if (name == QLatin1String("ContactXMLItem")) {
        if (!m_strCommonExtension.isNull() && !m_strExtendedExtension.isNull())
            card.Extension = m_strCommonExtension + QLatin1String("\n\n") + m_strExtendedExtension;
        else
            card.Extension = m_strCommonExtension.isNull() ? m_strExtendedExtension : m_strCommonExtension;
        if (m_arrCardInfo) {
            card.SerialID = int(m_arrCardInfo->size());
            m_arrCardInfo->push_back(m_CardInfo);
        }
        m_CardInfo.reset();
    } else if (name == QLatin1String("PersonIDItem")) {
        take(m_bGetPersonID, card.PersonID, value);
    } else if (name == QLatin1String("FullName")) {
        take(m_bGetFullName, card.FullName, value);
    } else if (name == QLatin1String("FirstName")) {
        take(m_bGetFirstName, card.FirstName, value);
    } else if (name == QLatin1String("MiddleName")) {
        take(m_bGetMiddleName, card.MiddleName, value);
    } else if (name == QLatin1String("LastName")) {
        take(m_bGetLastName, card.LastName, value);
    } else if (name == QLatin1String("OrganizationName")) {
        take(m_bGetOrganizationName, card.OrganizationName, value);
    } else if (name == QLatin1String("Department")) {
        take(m_bGetDepartment, card.Department, value);
    } else if (name == QLatin1String("JobTitle")) {
        take(m_bGetJobTitle, card.JobTitle, value);
    } else if (name == QLatin1String("AddressCode")) {
        if (type == QLatin1String("ZIP7"))
            take(m_bGetZipCode, card.ZipCode, value);
        else if (type == QLatin1String("Country"))
            take(m_bGetCountry, card.Country, value);
    } else if (name == QLatin1String("AddressLine")) {
        if (type == QLatin1String("Prefecture"))
            take(m_bGetPrefecture, card.Prefecture, value);
        else if (type == QLatin1String("City"))
            take(m_bGetCity, card.City, value);
        else if (type == QLatin1String("Number"))
            take(m_bGetNumber, card.Number, value);
    } else if (name == QLatin1String("PhoneItem")) {
        if (type == QLatin1String("Phone"))
            take(m_bGetPhone, card.Phone, value);
        else if (type == QLatin1String("Fax"))
            take(m_bGetFax, card.Fax, value);
        else if (type == QLatin1String("Cellular"))
            take(m_bGetMobile, card.Mobile, value);
    } else if (name == QLatin1String("EmailItem")) {
        take(m_bGetEmail, card.Email, value);
    } else if (name == QLatin1String("WebItem")) {
        take(m_bGetWebSite, card.WebSite, value);
    } else if (name == QLatin1String("ExtensionItem")) {
        if (type == QLatin1String("Common"))
            take(m_bGetCommonExtension, m_strCommonExtension, value);
        else if (type == QLatin1String("Extended"))
            take(m_bGetExtendedExtension, m_strExtendedExtension, value);
    } else if (name == QLatin1String("ImageItem")) {
        if (m_bGetImageFilePathN1)
            return;
        take(m_bGetImageFilePathN1, card.ImageFilePathN1, type.isNull() ? QString() : pathOfImageUrl(type));
        if (!card.ImageFilePathN1.isNull())
            LogManager::LogOutput(kLogInformation, QStringLiteral("Card image: ") + card.ImageFilePathN1);
    }
}

void XMLParser::SetFlagToFalse()
{
    for (bool* flag : {&m_bGetPersonID, &m_bGetFullName, &m_bGetMiddleName, &m_bGetLastName, &m_bGetFirstName,
             &m_bGetOrganizationName, &m_bGetDepartment, &m_bGetZipCode, &m_bGetPrefecture, &m_bGetCountry, &m_bGetCity,
             &m_bGetNumber, &m_bGetPhone, &m_bGetFax, &m_bGetWebSite, &m_bGetJobTitle, &m_bGetMobile, &m_bGetEmail,
             &m_bGetCommonExtension, &m_bGetExtendedExtension, &m_bGetImageFilePathN1})
        *flag = false;
}
