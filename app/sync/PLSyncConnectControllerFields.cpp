// The field maps between cards and persons: reading a person, writing a new person, filling a
// new card, the composed name, reading and address, the country code and URL escapes.
#include "app/sync/PLSyncConnectController.h"

#include "app/core/CardEntities.h"
#include "app/core/Identifiers.h"
#include "app/core/LocalString.h"
#include "app/core/Logging.h"
#include "app/core/StringUtilities.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardTextRules.h"
#include "app/images/PLImageCreator.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

namespace {

struct SingleField {
    const QString& key;
    ABProperty property;
    bool reading;
};
const SingleField kSingleFields[] = {
    {cardkey::kFirstName, kABFirstNameProperty, false},
    {cardkey::kMiddleName, kABMiddleNameProperty, false},
    {cardkey::kFamilyName, kABLastNameProperty, false},
    {cardkey::kSuffixName, kABSuffixProperty, false},
    {cardkey::kPrefixName, kABTitleProperty, false},
    {cardkey::kFirstNameKana, kABFirstNamePhoneticProperty, true},
    {cardkey::kMiddleNameKana, kABMiddleNamePhoneticProperty, true},
    {cardkey::kFamilyNameKana, kABLastNamePhoneticProperty, true},
    {cardkey::kCompany, kABOrganizationProperty, false},
    {cardkey::kDepartment, kABDepartmentProperty, false},
    {cardkey::kJobTitle, kABJobTitleProperty, false},
    {cardkey::kMemo, kABNoteProperty, false},
};

struct AddressField {
    const QString& key;
    const QString& part;
};
const AddressField kAddressFields[] = {
    {cardkey::kStreet, kABAddressStreetKey}, {cardkey::kCity, kABAddressCityKey},
    {cardkey::kState, kABAddressStateKey},   {cardkey::kPostalCode, kABAddressZIPKey},
    {cardkey::kCountry, kABAddressCountryKey},
};

bool isEmptyValue(const QVariant& value)
{
    return PLSyncConnectController::setStrNullToEmpty(value).isEmpty();
}

QString joinWords(std::initializer_list<QString> words)
{
    QStringList present;
    for (const QString& w : words) {
        if (!w.isEmpty())
            present.append(w);
    }
    return present.join(QLatin1Char(' '));
}

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

int PLSyncConnectController::takenEntry(const ABMultiValue& values, const QString& label, bool untypedToo)
{
    int untyped = -1;
    for (int i = 0; i < values.count(); ++i) {
        if (values.labelAtIndex(i) == label)
            return i;
        if (untypedToo && untyped < 0 && values.entryAtIndex(i).untyped)
            untyped = i;
    }
    return untyped;
}

QString PLSyncConnectController::cutForCard(const QString& key, const QString& value)
{
    const int limit = CardStore::cardValueLimit(key);
    return limit > 0 ? getUniChar(value, limit) : value;
}

QString PLSyncConnectController::setStrNullToEmpty(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString(QLatin1String(""));
    return value.toString();
}

bool PLSyncConnectController::checkSpecifyItemIsNull(const CardDict& dict, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (dict.contains(key) && !setStrNullToEmpty(dict.value(key)).isEmpty())
            return false;
    }
    return true;
}

CardDict PLSyncConnectController::analysisABperson(const ABPerson* person) const
{
    CardDict d;
    if (!person)
        return d;
    for (const SingleField& f : kSingleFields) {
        const QString v = person->valueForProperty(f.property);
        if (!v.isNull())
            d.insert(f.key, cutForCard(f.key, v));
    }
    // A vCard 4.0 contact may have no structured name, only FN: its parts are taken from the
    // whole name as the card editor splits one. An FN that only repeats the company is no name.
    const QString formatted = cutForCard(cardkey::kFullName, person->formattedName().simplified());
    if (!d.contains(cardkey::kFirstName) && !d.contains(cardkey::kMiddleName) && !d.contains(cardkey::kFamilyName) && !formatted.isEmpty()
        && formatted != d.value(cardkey::kCompany).toString()) {
        CardDictRecord record(d);
        setNameParts(&record, formatted, {&cardkey::kFirstName, &cardkey::kMiddleName, &cardkey::kFamilyName});
    }

    const struct {
        const QString& key;
        ABProperty property;
        const QString& label;
        bool untypedToo;
    } items[] = {{cardkey::kTelephone, kABPhoneProperty, kABPhoneWorkLabel, true},
                 {cardkey::kMobile, kABPhoneProperty, kABPhoneMobileLabel, false},
                 {cardkey::kFax, kABPhoneProperty, kABPhoneWorkFAXLabel, false},
                 {cardkey::kWebPage, kABURLsProperty, kABWorkLabel, true},
                 {cardkey::kEmail, kABEmailProperty, kABEmailWorkLabel, true}};
    for (const auto& item : items) {
        const ABMultiValue values = person->multiValueForProperty(item.property);
        const int taken = takenEntry(values, item.label, item.untypedToo);
        if (taken >= 0)
            d.insert(item.key, cutForCard(item.key, values.valueAtIndex(taken)));
    }

    // The first work address with any of the five parts.
    const ABMultiValue addresses = person->multiValueForProperty(kABAddressProperty);
    for (int i = 0; i < addresses.count(); ++i) {
        if (addresses.labelAtIndex(i) != kABAddressWorkLabel)
            continue;
        for (const AddressField& f : kAddressFields) {
            if (addresses.addressAtIndex(i).contains(f.part))
                d.insert(f.key, cutForCard(f.key, addresses.addressAtIndex(i).value(f.part)));
        }
        if (d.contains(cardkey::kStreet) || d.contains(cardkey::kCity) || d.contains(cardkey::kPostalCode)
            || d.contains(cardkey::kState) || d.contains(cardkey::kCountry))
            break;
    }
    return d;
}

QStringList PLSyncConnectController::getEmailsOfAD(const ABPerson* person) const
{
    QStringList emails;
    QStringList untyped;
    if (!person)
        return emails;
    const ABMultiValue values = person->multiValueForProperty(kABEmailProperty);
    for (int i = 0; i < values.count(); ++i) {
        const QString value = cutForCard(cardkey::kEmail, values.valueAtIndex(i));
        if (value.isEmpty())
            continue;
        if (values.labelAtIndex(i) == kABEmailWorkLabel)
            emails.append(value);
        else if (values.entryAtIndex(i).untyped)
            untyped.append(value);
    }
    return emails.isEmpty() ? untyped : emails;
}

void PLSyncConnectController::setAddressFormat(ABAddress* address) const
{
    if (!address)
        return;
    // The country of the interface's language, as an ISO 3166 code; the United States otherwise.
    bool ok = false;
    const int language = getLocalString(QStringLiteral("IDS_RESOURCE_LANG_ID")).toInt(&ok);
    QString code = QStringLiteral("us");
    if (ok && language == 11)
        code = QStringLiteral("jp");
    else if (ok && language == 19)
        code = QStringLiteral("tw");
    else if (ok && language == 23)
        code = QStringLiteral("kr");
    else if (ok && language == 33)
        code = QStringLiteral("cn");
    address->insert(kABAddressCountryCodeKey, code);
}

QString PLSyncConnectController::getAddingPercentString(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString(QLatin1String(""));
    const QString text = value.toString();
    const QByteArray escaped = QUrl::toPercentEncoding(text, "!#$&'()*+,/:;=?@");
    return escaped.isEmpty() && !text.isEmpty() ? text : QString::fromLatin1(escaped);
}

QString PLSyncConnectController::getReplacingPercentString(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString(QLatin1String(""));
    const QString text = value.toString();
    if (!text.contains(QLatin1Char('%')))
        return text;
    // A stray "%" or escapes that are not UTF-8 leave the text as it is.
    QByteArray bytes;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('%')) {
            bytes.append(QString(text.at(i)).toUtf8());
            continue;
        }
        if (i + 2 >= text.size() || hexDigit(text.at(i + 1)) < 0 || hexDigit(text.at(i + 2)) < 0)
            return text;
        bytes.append(char(hexDigit(text.at(i + 1)) * 16 + hexDigit(text.at(i + 2))));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return decoder.hasError() ? text : decoded;
}

QString PLSyncConnectController::composePLName(const QVariant& first, const QVariant& second, const QVariant& third,
                                               const QVariant& prefix, const QVariant& suffix)
{
    const QString f = StrNullToEmpty(first), m = StrNullToEmpty(second), l = StrNullToEmpty(third);
    const QString p = StrNullToEmpty(prefix), s = StrNullToEmpty(suffix);
    const QString western = joinWords({p, f, m, l, s});
    if (languageTypeOfaString(western) == 1)
        return joinWords({p, l, m, f, s});
    return western;
}

QString PLSyncConnectController::composePLYomi(const QVariant& first, const QVariant& second, const QVariant& third,
                                               int language)
{
    const QString f = StrNullToEmpty(first), m = StrNullToEmpty(second), l = StrNullToEmpty(third);
    return language == 1 ? joinWords({l, m, f}) : joinWords({f, m, l});
}

QString PLSyncConnectController::composePLAdress(const QVariant& street, const QVariant& city, const QVariant& state)
{
    const QString s = setStrNullToEmpty(street), c = setStrNullToEmpty(city);
    QString text = setStrNullToEmpty(state);
    if (!c.isEmpty()) {
        text += QLatin1Char('\n') + c;
        if (!s.isEmpty())
            text += QLatin1Char('\n') + s;
    } else if (!s.isEmpty()) {
        text += QLatin1String("\n\n") + s;
    }
    return text;
}

int PLSyncConnectController::addDataToAD(const CardDict& card)
{
    if (card.isEmpty() || !_addressBook)
        return kMissingArgument;
    ABPerson* person = _addressBook->newPerson(setStrNullToEmpty(card.value(QStringLiteral("cardID"))));
    for (const SingleField& f : kSingleFields) {
        if (f.property == kABNoteProperty || (f.reading && !readingsOn()))
            continue;
        if (!isEmptyValue(card.value(f.key)))
            person->setValue(card.value(f.key).toString(), f.property);
    }

    ABAddress address;
    for (const AddressField& f : kAddressFields) {
        if (!isEmptyValue(card.value(f.key)))
            address.insert(f.part, card.value(f.key).toString());
    }
    if (!address.isEmpty()) {
        setAddressFormat(&address);
        ABMultiValue addresses;
        addresses.addAddress(address, kABAddressWorkLabel);
        person->setMultiValue(addresses, kABAddressProperty);
    }

    ABMultiValue phones;
    for (const auto& [key, label] : {std::pair{cardkey::kTelephone, kABPhoneWorkLabel},
                                     std::pair{cardkey::kFax, kABPhoneWorkFAXLabel},
                                     std::pair{cardkey::kMobile, kABPhoneMobileLabel}}) {
        if (!isEmptyValue(card.value(key)))
            phones.addValue(card.value(key).toString(), label);
    }
    if (phones.count() > 0)
        person->setMultiValue(phones, kABPhoneProperty);

    if (!isEmptyValue(card.value(cardkey::kEmail))) {
        ABMultiValue emails;
        emails.addValue(card.value(cardkey::kEmail).toString(), kABEmailWorkLabel);
        person->setMultiValue(emails, kABEmailProperty);
    }
    if (!isEmptyValue(card.value(cardkey::kWebPage))) {
        ABMultiValue urls;
        urls.addValue(getAddingPercentString(card.value(cardkey::kWebPage)), kABWorkLabel);
        person->setMultiValue(urls, kABURLsProperty);
    }
    if (!isEmptyValue(card.value(cardkey::kMemo)))
        person->setValue(card.value(cardkey::kMemo).toString(), kABNoteProperty);
    return 0;
}

QString PLSyncConnectController::cardIDForContact(const QString& uid)
{
    // The ID names the card's image files, so a UID that could not name a file is left to the person.
    static const QRegularExpression fit(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{0,127}$"));
    if (!fit.match(uid).hasMatch())
        return {};
    if (!m_takenCardIDs) {
        m_takenCardIDs.emplace();
        FetchRequest request{QLatin1String(CardStore::kEntityCard), {}, {}};
        request.propertiesToFetch = {QStringLiteral("cardID")};
        for (const ManagedObjectPtr& card : _mainWndController->managedObjectContext()->executeFetchRequest(request))
            m_takenCardIDs->insert(card->stringValue(QStringLiteral("cardID")));
    }
    if (m_takenCardIDs->contains(uid))
        return {};
    m_takenCardIDs->insert(uid);
    return uid;
}

int PLSyncConnectController::addDataToPL(const CardDict& person, const QString& contactCardID)
{
    ManagedObjectContext* context = _mainWndController ? _mainWndController->managedObjectContext() : nullptr;
    if (!context || !context->model().entity(QLatin1String(CardStore::kEntityCard)))
        return kMissingArgument;
    if (!context->model().entity(QLatin1String(CardStore::kEntityCardBelong)))
        return kMissingArgument;
    // The Inbox is found before the card is made, so that no card is left without a folder.
    FetchRequest inboxRequest{QLatin1String(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}};
    int error = 0;
    const ManagedObjectList inbox = context->executeFetchRequest(inboxRequest, &error);
    if (error != 0 || inbox.isEmpty())
        return kNoInbox;
    const QString folderID = inbox.first()->stringValue(QStringLiteral("folder_ID"));

    const ManagedObjectPtr card = context->insertNewObject(QLatin1String(CardStore::kEntityCard));
    for (const QString& key : {cardkey::kSyncEmail, cardkey::kSyncPhoneWork, cardkey::kSyncPhoneMobile, cardkey::kSyncUrl,
                               cardkey::kSyncStreet, cardkey::kSyncPhoneFax})
        card->setValue(key, getUUID());
    QString cardID = contactCardID.isEmpty() ? card->objectIdUri().mid(20) : contactCardID;
    if (cardID.isEmpty()) {
        PLNSLog(QStringLiteral("not get ID ,create ID"));
        cardID = getUUID();
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    card->setValue(QStringLiteral("cardID"), cardID);
    card->setValue(QStringLiteral("folder_ID"), folderID);
    card->setValue(cardkey::kFaceImageFile, cardID + QLatin1String("_N1.pdf"));
    card->setValue(QStringLiteral("register_Date"), now);
    card->setValue(QStringLiteral("accept_Date"), now);
    card->setValue(QStringLiteral("face_Image_Page"), 0);
    card->setValue(QStringLiteral("back_Image_page"), 0);
    card->setValue(QStringLiteral("flag1"), QStringLiteral("1"));

    auto copy = [&](const QString& key) {
        if (person.contains(key))
            card->setValue(key, person.value(key));
    };
    for (const QString& key : {cardkey::kFirstName, cardkey::kFamilyName, cardkey::kMiddleName, cardkey::kPrefixName,
                               cardkey::kSuffixName})
        copy(key);
    const QString fullName = composePLName(card->value(cardkey::kFirstName), card->value(cardkey::kMiddleName),
                                           card->value(cardkey::kFamilyName), card->value(cardkey::kPrefixName),
                                           card->value(cardkey::kSuffixName));
    card->setValue(cardkey::kFullName, fullName);
    if (readingsOn()) {
        for (const QString& key : {cardkey::kFirstNameKana, cardkey::kMiddleNameKana, cardkey::kFamilyNameKana})
            copy(key);
        card->setValue(cardkey::kFullNameKana,
                       composePLYomi(card->value(cardkey::kFirstNameKana), card->value(cardkey::kMiddleNameKana),
                                     card->value(cardkey::kFamilyNameKana), languageTypeOfaString(fullName)));
    } else {
        for (const QString& key : {cardkey::kFirstNameKana, cardkey::kMiddleNameKana, cardkey::kFamilyNameKana,
                                   cardkey::kFullNameKana})
            card->setValue(key, QString(QLatin1String("")));
    }
    for (const QString& key : {cardkey::kCompany, cardkey::kJobTitle, cardkey::kMemo, cardkey::kDepartment,
                               cardkey::kTelephone, cardkey::kFax, cardkey::kMobile, cardkey::kEmail})
        copy(key);
    card->setValue(cardkey::kWebPage, getReplacingPercentString(person.value(cardkey::kWebPage)));
    for (const AddressField& f : kAddressFields)
        copy(f.key);
    card->setValue(cardkey::kAddress, composePLAdress(card->value(cardkey::kStreet), card->value(cardkey::kCity),
                                                      card->value(cardkey::kState)));
    _arrMergedID.insert(cardID);
    context->refreshObject(card, true);

    const ManagedObjectPtr belong = context->insertNewObject(QLatin1String(CardStore::kEntityCardBelong));
    belong->setValue(QStringLiteral("folder_ID"), folderID);
    belong->setValue(QStringLiteral("cardID"), cardID);
    belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
    _arrAddedData.append(card);
    return 0;
}
