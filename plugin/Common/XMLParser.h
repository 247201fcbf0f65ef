// Reads the card file the host hands over (ContactXML 1.1, UTF-16) into cards, in file order.
// Only the elements the upload uses are read; the first occurrence of a field in a card wins,
// even an empty one. Any error in the document (not well formed, truncated, a document type
// declaration) gives no cards at all.
#pragma once

#include "plugin/Common/CardInfo.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QXmlStreamReader;

class XMLParser {
public:
    using CardList = std::vector<std::shared_ptr<CardInfo>>;

    // None for a missing, unreadable, empty or malformed file, or one without a "ContactXML" element.
    std::optional<CardList> parseXMLFileAtPath(const QString& path);

private:
    void didStartElement(const QXmlStreamReader& reader);
    void didEndElement(const QString& name);
    void SetFlagToFalse();
    // Stores `value` into `field` when this card has not yet had that field.
    void take(bool& flag, QString& field, const QString& value);

    std::optional<CardList> m_arrCardInfo;
    QString m_strCurrentValue;
    std::shared_ptr<CardInfo> m_CardInfo;
    QString m_strAttributeType;
    QString m_strCommonExtension;
    QString m_strExtendedExtension;
    bool m_bGetPersonID = false;
    bool m_bGetFullName = false;
    bool m_bGetMiddleName = false;
    bool m_bGetLastName = false;
    bool m_bGetFirstName = false;
    bool m_bGetOrganizationName = false;
    bool m_bGetDepartment = false;
    bool m_bGetZipCode = false;
    bool m_bGetPrefecture = false;
    bool m_bGetCountry = false;
    bool m_bGetCity = false;
    bool m_bGetNumber = false;
    bool m_bGetPhone = false;
    bool m_bGetFax = false;
    bool m_bGetWebSite = false;
    bool m_bGetJobTitle = false;
    bool m_bGetMobile = false;
    bool m_bGetEmail = false;
    bool m_bGetCommonExtension = false;
    bool m_bGetExtendedExtension = false;
    bool m_bGetImageFilePathN1 = false;
};
