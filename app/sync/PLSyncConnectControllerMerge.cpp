// The merge of one person into its card: single values (the name and the company among them),
// the composed name and reading, the work address, numbers, e-mail and web page, by the run's
// conflict mode.
#include "app/sync/PLSyncConnectController.h"

#include "app/core/Identifiers.h"
#include "app/images/CardDictionary.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardTextRules.h"
#include "app/images/ManagedCardRecord.h"
#include "platform/store/ManagedObjectContext.h"

namespace {

bool isEmptyValue(const QVariant& value)
{
    return PLSyncConnectController::setStrNullToEmpty(value).isEmpty();
}

bool agree(const CardDict& a, const CardDict& b, const QString& key)
{
    return PLSyncConnectController::setStrNullToEmpty(a.value(key)) == PLSyncConnectController::setStrNullToEmpty(b.value(key));
}

// Adds an entry by the conflict mode: the card's side first (2), or last (3), or not at all.
void addByMode(ABMultiValue* values, const ABMultiValueEntry& entry, int preState)
{
    if (preState == PLSyncConnectController::kSelectAddressBookWins)
        values->addEntry(entry);
    else if (preState == PLSyncConnectController::kSelectCardWins)
        values->insertEntry(entry, 0);
}

const QString kAddressKeys[] = {cardkey::kStreet, cardkey::kCity, cardkey::kState, cardkey::kPostalCode, cardkey::kCountry};
const QString kAddressPartKeys[] = {kABAddressStreetKey, kABAddressCityKey, kABAddressStateKey, kABAddressZIPKey,
                                    kABAddressCountryKey};

} // namespace

void PLSyncConnectController::takeIntoCard(const ManagedObjectPtr& card, const QString& key, const QVariant& value)
{
    if (m_cardsUntouched)
        return;
    card->setValue(key, value.typeId() == QMetaType::QString ? QVariant(cutForCard(key, value.toString())) : value);
}

void PLSyncConnectController::mergeSingleValue(const QVariant& plValue, const QVariant& adValue, const ManagedObjectPtr& card,
                                               ABPerson* person, const QString& plKey, ABProperty adKey, int preState)
{
    if (isEmptyValue(plValue)) {
        if (!isEmptyValue(adValue))
            takeIntoCard(card, plKey, adValue.toString());
        return;
    }
    const QString c = plValue.toString();
    // The card's value as the person's file holds it once written: a carriage return is a line
    // feed there, and the two are the same value.
    if (person->valueForProperty(adKey).isEmpty())
        person->setValue(c, adKey);
    else if (cutForCard(plKey, vcardTextAsWritten(c)) == setStrNullToEmpty(adValue))
        return;
    else if (preState == kSelectAddressBookWins)
        takeIntoCard(card, plKey, adValue.toString());
    else if (preState == kSelectCardWins)
        person->setValue(c, adKey);
}

QString PLSyncConnectController::cardValueOfEntry(const ListItem& item, const QString& value) const
{
    return cutForCard(item.key, item.property == kABURLsProperty ? getReplacingPercentString(value) : value);
}

bool PLSyncConnectController::mergeListItem(const ListItem& item, ABMultiValue* values, const ManagedObjectPtr& card, const CardDict& cd)
{
    const QString c = setStrNullToEmpty(cd.value(item.key));
    const int taken = takenEntry(*values, item.label, item.untypedToo);
    const QString a = taken >= 0 ? cardValueOfEntry(item, values->valueAtIndex(taken)) : QString();
    if (c.isEmpty()) {
        if (!a.isEmpty()) {
            takeIntoCard(card, item.key, a);
            takeIntoCard(card, item.syncKey, getUUID());
        }
        return false;
    }
    // The person holds the card's value already: in the entry it was read from, or in a later
    // one of its label.
    const QString written = vcardTextAsWritten(c);
    for (int i = 0; i < values->count(); ++i) {
        if ((i == taken || values->labelAtIndex(i) == item.label) && cardValueOfEntry(item, values->valueAtIndex(i)) == written)
            return false;
    }
    const QString personValue = item.property == kABURLsProperty ? getAddingPercentString(c) : c;
    if (taken < 0) {
        addByMode(values, {item.label, personValue, {}, nullptr}, _iSelectType);
        return _iSelectType == kSelectCardWins || _iSelectType == kSelectAddressBookWins;
    }
    // The winner's value replaces the other's: the card's goes into the entry the card's value
    // was read from (the person's other entries stay as they are), or the card takes that entry's.
    if (a.isEmpty() || _iSelectType == kSelectCardWins) {
        values->setValueAtIndex(taken, personValue);
        return true;
    }
    if (_iSelectType == kSelectAddressBookWins) {
        takeIntoCard(card, item.key, a);
        takeIntoCard(card, item.syncKey, getUUID());
    }
    return false;
}

void PLSyncConnectController::mergeAddress(const ManagedObjectPtr& card, ABPerson* person, const CardDict& cd, const CardDict& pd)
{
    bool cardHasAddress = false;
    for (const QString& key : kAddressKeys)
        cardHasAddress = cardHasAddress || !isEmptyValue(cd.value(key));
    auto composeAddress = [&] {
        takeIntoCard(card, cardkey::kAddress,
                     composePLAdress(card->value(cardkey::kStreet), card->value(cardkey::kCity), card->value(cardkey::kState)));
        takeIntoCard(card, cardkey::kSyncStreet, getUUID());
    };

    if (!cardHasAddress) {
        for (const QString& key : kAddressKeys) {
            if (!isEmptyValue(pd.value(key)))
                takeIntoCard(card, key, pd.value(key).toString());
        }
        if (card->stringValue(cardkey::kStreet).isEmpty() && card->stringValue(cardkey::kCity).isEmpty()
            && card->stringValue(cardkey::kState).isEmpty())
            return;
        composeAddress();
        return;
    }

    ABAddress address;
    for (int i = 0; i < 5; ++i) {
        if (!isEmptyValue(cd.value(kAddressKeys[i])))
            address.insert(kAddressPartKeys[i], cd.value(kAddressKeys[i]).toString());
    }
    ABMultiValue addresses = person->multiValueForProperty(kABAddressProperty);
    int taken = -1; // the work address the card's was read from: the first with any part
    for (int e = 0; e < addresses.count(); ++e) {
        if (addresses.labelAtIndex(e) != kABAddressWorkLabel)
            continue;
        const ABAddress& parts = addresses.addressAtIndex(e);
        bool equal = true;
        bool anyPart = false;
        for (int i = 0; i < 5; ++i) {
            const QString part = cutForCard(kAddressKeys[i], parts.value(kAddressPartKeys[i]));
            equal = equal && vcardTextAsWritten(setStrNullToEmpty(cd.value(kAddressKeys[i]))) == part;
            anyPart = anyPart || !part.isEmpty();
        }
        if (equal)
            return;
        if (taken < 0 && anyPart)
            taken = e;
    }
    setAddressFormat(&address);
    if (taken < 0) {
        addByMode(&addresses, {kABAddressWorkLabel, {}, address, nullptr}, _iSelectType);
    } else if (_iSelectType == kSelectCardWins) {
        addresses.setAddressAtIndex(taken, address);
    } else {
        // The person's address wins whole: a part it lacks is one the card no longer has.
        if (_iSelectType == kSelectAddressBookWins) {
            for (const QString& key : kAddressKeys)
                takeIntoCard(card, key, setStrNullToEmpty(pd.value(key)));
            composeAddress();
        }
        return;
    }
    if (addresses.count() > 0)
        person->setMultiValue(addresses, kABAddressProperty);
}

int PLSyncConnectController::mergeData(const ManagedObjectPtr& card, ABPerson* person)
{
    if (!card || !person)
        return kMissingArgument;
    const CardDict pd = analysisABperson(person);
    const CardDict cd = setDataDictToDict(ManagedCardRecord(card.get()));
    const int mode = _iSelectType;
    auto single = [&](const QString& key, ABProperty property) {
        mergeSingleValue(cd.value(key), pd.value(key), card, person, key, property, mode);
    };

    // The name and the company follow the winner like any value: a person of another program
    // meets its card only where they are equal, and the person of a card's UID is that card's.
    const QString nameKeys[] = {cardkey::kFirstName, cardkey::kMiddleName, cardkey::kFamilyName};
    single(cardkey::kFirstName, kABFirstNameProperty);
    single(cardkey::kMiddleName, kABMiddleNameProperty);
    single(cardkey::kFamilyName, kABLastNameProperty);
    single(cardkey::kCompany, kABOrganizationProperty);
    single(cardkey::kSuffixName, kABSuffixProperty);
    single(cardkey::kPrefixName, kABTitleProperty);

    // The full name is composed again when the prefix or suffix may have changed, or a part of
    // the name did on the card.
    bool cardNameTaken = false;
    for (const QString& key : nameKeys)
        cardNameTaken = cardNameTaken || card->stringValue(key) != setStrNullToEmpty(cd.value(key));
    int language = 2;
    const bool nameKept = agree(cd, pd, cardkey::kPrefixName) && agree(cd, pd, cardkey::kSuffixName) && !cardNameTaken;
    if (!nameKept) {
        const QString fullName = composePLName(card->value(cardkey::kFirstName), card->value(cardkey::kMiddleName),
                                               card->value(cardkey::kFamilyName), card->value(cardkey::kPrefixName),
                                               card->value(cardkey::kSuffixName));
        takeIntoCard(card, cardkey::kFullName, fullName);
        language = languageTypeOfaString(fullName);
    }

    if (readingsOn()) {
        single(cardkey::kFirstNameKana, kABFirstNamePhoneticProperty);
        single(cardkey::kMiddleNameKana, kABMiddleNamePhoneticProperty);
        single(cardkey::kFamilyNameKana, kABLastNamePhoneticProperty);
        if (!(agree(cd, pd, cardkey::kFirstNameKana) && agree(cd, pd, cardkey::kMiddleNameKana)
              && agree(cd, pd, cardkey::kFamilyNameKana))) {
            const QString first = card->stringValue(cardkey::kFirstNameKana);
            const QString middle = card->stringValue(cardkey::kMiddleNameKana);
            const QString family = card->stringValue(cardkey::kFamilyNameKana);
            const QString fullName = card->stringValue(cardkey::kFullName);
            const bool eastAsian = nameKept && !fullName.isEmpty() && languageTypeOfaString(fullName) == 1
                                   && languageTypeOfaString(first + middle + family) == 1;
            takeIntoCard(card, cardkey::kFullNameKana, composePLYomi(first, middle, family, eastAsian ? 1 : language));
        }
    }

    single(cardkey::kDepartment, kABDepartmentProperty);
    single(cardkey::kJobTitle, kABJobTitleProperty);

    mergeAddress(card, person, cd, pd);

    const ListItem lists[] = {
        {cardkey::kTelephone, kABPhoneProperty, kABPhoneWorkLabel, true, cardkey::kSyncPhoneWork},
        {cardkey::kMobile, kABPhoneProperty, kABPhoneMobileLabel, false, cardkey::kSyncPhoneMobile},
        {cardkey::kFax, kABPhoneProperty, kABPhoneWorkFAXLabel, false, cardkey::kSyncPhoneFax},
        {cardkey::kEmail, kABEmailProperty, kABEmailWorkLabel, true, cardkey::kSyncEmail},
        {cardkey::kWebPage, kABURLsProperty, kABWorkLabel, true, cardkey::kSyncUrl},
    };
    for (ABProperty property : {kABPhoneProperty, kABEmailProperty, kABURLsProperty}) {
        ABMultiValue values = person->multiValueForProperty(property);
        bool changed = false;
        for (const ListItem& item : lists) {
            if (item.property == property && mergeListItem(item, &values, card, cd))
                changed = true;
        }
        if (changed && values.count() > 0)
            person->setMultiValue(values, property);
    }

    single(cardkey::kMemo, kABNoteProperty);

    card->context()->refreshObject(card, true);
    return 0;
}
