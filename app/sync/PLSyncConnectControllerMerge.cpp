// The merge of one person into the card it matched: single values, the composed name and
// reading, the work address, phones and web page, by the run's conflict mode.
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

void PLSyncConnectController::mergeSingleValue(const QVariant& plValue, const QVariant& adValue, const ManagedObjectPtr& card,
                                               ABPerson* person, const QString& plKey, ABProperty adKey, int preState)
{
    if (isEmptyValue(plValue)) {
        if (!isEmptyValue(adValue))
            card->setValue(plKey, adValue.toString());
        return;
    }
    const QString c = plValue.toString();
    if (person->valueForProperty(adKey).isEmpty())
        person->setValue(c, adKey);
    else if (c == setStrNullToEmpty(adValue))
        return;
    else if (preState == kSelectAddressBookWins)
        card->setValue(plKey, adValue.toString());
    else if (preState == kSelectCardWins)
        person->setValue(c, adKey);
}

bool PLSyncConnectController::mergePhonesValue(const QVariant& plValue, ABMultiValue* phones, const ManagedObjectPtr& card,
                                               const QVariant& adValue, const ABMultiValue& oldPhones, const QString& plKey,
                                               const QString& label, const QString& oldSyncID, int preState)
{
    if (isEmptyValue(plValue)) {
        if (!isEmptyValue(adValue)) {
            card->setValue(plKey, adValue.toString());
            card->setValue(oldSyncID, getUUID());
        }
        return false;
    }
    const QString c = plValue.toString();
    for (int i = 0; i < oldPhones.count(); ++i) {
        if (oldPhones.labelAtIndex(i) == label && oldPhones.valueAtIndex(i) == c)
            return false;
    }
    addByMode(phones, {label, c, {}, nullptr}, preState);
    return true;
}

void PLSyncConnectController::mergeAddress(const ManagedObjectPtr& card, ABPerson* person, const CardDict& cd, const CardDict& pd)
{
    bool cardHasAddress = false;
    for (const QString& key : kAddressKeys)
        cardHasAddress = cardHasAddress || !isEmptyValue(cd.value(key));

    if (!cardHasAddress) {
        for (const QString& key : kAddressKeys) {
            if (!isEmptyValue(pd.value(key)))
                card->setValue(key, pd.value(key).toString());
        }
        if (card->stringValue(cardkey::kStreet).isEmpty() && card->stringValue(cardkey::kCity).isEmpty()
            && card->stringValue(cardkey::kState).isEmpty())
            return;
        card->setValue(cardkey::kAddress, composePLAdress(card->value(cardkey::kStreet), card->value(cardkey::kCity),
                                                          card->value(cardkey::kState)));
        card->setValue(cardkey::kSyncStreet, getUUID());
        return;
    }

    ABAddress address;
    for (int i = 0; i < 5; ++i) {
        if (!isEmptyValue(cd.value(kAddressKeys[i])))
            address.insert(kAddressPartKeys[i], cd.value(kAddressKeys[i]).toString());
    }
    const ABMultiValue old = person->multiValueForProperty(kABAddressProperty);
    ABMultiValue addresses;
    for (int e = 0; e < old.count(); ++e) {
        addresses.addEntry(old.entryAtIndex(e));
        if (old.labelAtIndex(e) != kABAddressWorkLabel)
            continue;
        bool equal = true;
        for (int i = 0; i < 5; ++i)
            equal = equal && setStrNullToEmpty(cd.value(kAddressKeys[i])) == old.addressAtIndex(e).value(kAddressPartKeys[i]);
        if (equal)
            return;
    }
    setAddressFormat(&address);
    addByMode(&addresses, {kABAddressWorkLabel, {}, address, nullptr}, _iSelectType);
    if (addresses.count() > 0)
        person->setMultiValue(addresses, kABAddressProperty);
}

void PLSyncConnectController::mergeWebPage(const ManagedObjectPtr& card, ABPerson* person, const CardDict& cd, const CardDict& pd)
{
    const QString c = setStrNullToEmpty(cd.value(cardkey::kWebPage));
    if (c.isEmpty()) {
        if (!isEmptyValue(pd.value(cardkey::kWebPage))) {
            card->setValue(cardkey::kWebPage, getReplacingPercentString(pd.value(cardkey::kWebPage)));
            card->setValue(cardkey::kSyncUrl, getUUID());
        }
        return;
    }
    const ABMultiValue old = person->multiValueForProperty(kABURLsProperty);
    ABMultiValue urls;
    for (int e = 0; e < old.count(); ++e) {
        urls.addEntry(old.entryAtIndex(e));
        if (old.labelAtIndex(e) == kABWorkLabel && getReplacingPercentString(old.valueAtIndex(e)) == c)
            return;
    }
    addByMode(&urls, {kABWorkLabel, getAddingPercentString(c), {}, nullptr}, _iSelectType);
    if (urls.count() > 0)
        person->setMultiValue(urls, kABURLsProperty);
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

    single(cardkey::kSuffixName, kABSuffixProperty);
    single(cardkey::kPrefixName, kABTitleProperty);

    // The full name is composed again only when the prefix or suffix may have changed.
    int language = 2;
    const bool nameKept = agree(cd, pd, cardkey::kPrefixName) && agree(cd, pd, cardkey::kSuffixName);
    if (!nameKept) {
        const QString fullName = composePLName(card->value(cardkey::kFirstName), card->value(cardkey::kMiddleName),
                                               card->value(cardkey::kFamilyName), card->value(cardkey::kPrefixName),
                                               card->value(cardkey::kSuffixName));
        card->setValue(cardkey::kFullName, fullName);
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
            card->setValue(cardkey::kFullNameKana, composePLYomi(first, middle, family, eastAsian ? 1 : language));
        }
    }

    single(cardkey::kDepartment, kABDepartmentProperty);
    single(cardkey::kJobTitle, kABJobTitleProperty);

    mergeAddress(card, person, cd, pd);

    const ABMultiValue oldPhones = person->multiValueForProperty(kABPhoneProperty);
    ABMultiValue phones = oldPhones;
    bool phonesAdded = false;
    const struct {
        const QString& key;
        const QString& label;
        const QString& syncKey;
    } phoneRules[] = {
        {cardkey::kTelephone, kABPhoneWorkLabel, cardkey::kSyncPhoneWork},
        {cardkey::kMobile, kABPhoneMobileLabel, cardkey::kSyncPhoneMobile},
        {cardkey::kFax, kABPhoneWorkFAXLabel, cardkey::kSyncPhoneFax},
    };
    for (const auto& rule : phoneRules) {
        if (mergePhonesValue(cd.value(rule.key), &phones, card, pd.value(rule.key), oldPhones, rule.key, rule.label,
                             rule.syncKey, mode))
            phonesAdded = true;
    }
    if (phones.count() > 0 && phonesAdded)
        person->setMultiValue(phones, kABPhoneProperty);

    mergeWebPage(card, person, cd, pd);
    single(cardkey::kMemo, kABNoteProperty);

    card->context()->refreshObject(card, true);
    return 0;
}
