#include "app/sync/PLSyncConnectController.h"

#include "app/core/LocalString.h"
#include "app/core/Logging.h"
#include "app/core/VersionUtilities.h"
#include "app/images/CardDictionary.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/ManagedCardRecord.h"
#include "app/sync/AddressBookFolder.h"
#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FormatString.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <exception>

namespace {

const QString kCardID = QStringLiteral("cardID");
const QString kDeletedFlag = QStringLiteral("deletedFlag");

bool isEmptyValue(const QVariant& value)
{
    return PLSyncConnectController::setStrNullToEmpty(value).isEmpty();
}

bool hasNameOrCompany(const CardDict& d)
{
    return !isEmptyValue(d.value(cardkey::kFirstName)) || !isEmptyValue(d.value(cardkey::kMiddleName))
           || !isEmptyValue(d.value(cardkey::kFamilyName)) || !isEmptyValue(d.value(cardkey::kCompany));
}

// A value with a carriage return (or a control character) is written as a line feed (or left
// out) and reads back so: both sides are compared as written, or the card and its person would
// never meet again.
QStringList matchKey(const QString& first, const QString& middle, const QString& family, const QString& company,
                     const QString& email)
{
    return {vcardTextAsWritten(first), vcardTextAsWritten(middle), vcardTextAsWritten(family), vcardTextAsWritten(company),
            vcardTextAsWritten(email)};
}

} // namespace

PLSyncConnectController::PLSyncConnectController()
    : _flagSyncItems(getDefaultDisplayMode())
{
}

bool PLSyncConnectController::readingsOn() const
{
    return (_flagSyncItems & kDisplayModeFullNameKanaBit) != 0;
}

bool PLSyncConnectController::openAddressBook()
{
    QString why;
    _addressBook = AddressBook::open(m_folder.isEmpty() ? addressBookFolder() : m_folder, &why, AddressBook::Lock::ForRun, &m_busy);
    if (!_addressBook) {
        PLNSLog(QStringLiteral("Address book not opened: %@"), why);
        return false;
    }
    m_unreadFiles = _addressBook->skippedFiles();
    for (const QString& skipped : std::as_const(m_unreadFiles))
        PLNSLog(QStringLiteral("Address book file skipped: %@"), skipped);
    return true;
}

int PLSyncConnectController::runWithAddressBook(const std::function<int()>& push)
{
    _arrMergedID.clear();
    m_unreadFiles.clear();
    m_changedElsewhere.clear();
    m_busy = false;
    m_lackedDiskSpace = false;
    if (!_mainWndController)
        return kAddressBookError;
    int result = 0;
    // Reading is inside: a file too large for the memory left fails the command, not the program.
    try {
        if (!openAddressBook())
            return kAddressBookError;
        result = push();
        if (result == 0 && !saveAddressBook())
            result = kSaveFailed;
        if (result == 0)
            crashPoint("sync-book-saved");
    } catch (const std::exception& e) {
        PLNSLog(QStringLiteral("%@"), QString::fromLocal8Bit(e.what()));
        result = kAddressBookError;
    }
    _addressBook.reset();
    return result;
}

QString PLSyncConnectController::runReport() const
{
    QStringList report;
    if (m_busy)
        report.append(getLocalString(QStringLiteral("IDS_MSG_ADDRESSBOOK_BUSY")));
    if (!m_unreadFiles.isEmpty())
        report.append(formatString(getLocalString(QStringLiteral("IDS_MSG_ADDRESSBOOK_FILES_NOT_READ")), {int(m_unreadFiles.size())})
                      + QLatin1Char('\n') + m_unreadFiles.join(QLatin1Char('\n')));
    if (!m_changedElsewhere.isEmpty())
        report.append(
            formatString(getLocalString(QStringLiteral("IDS_MSG_ADDRESSBOOK_CHANGED_ELSEWHERE")), {int(m_changedElsewhere.size())})
            + QLatin1Char('\n') + m_changedElsewhere.join(QLatin1Char('\n')));
    return report.join(QLatin1String("\n\n"));
}

int PLSyncConnectController::connectAddressBook()
{
    _arrAddedData.clear();
    _didAddData = false;
    m_matchIndexBuilt = false;
    if (_mainWndController && !_mainWndController->managedObjectContext())
        return kAddressBookError;
    return runWithAddressBook([this] {
        if (pullData() != 0)
            return kPullFailed;
        return pushData() != 0 ? kPushFailed : 0;
    });
}

int PLSyncConnectController::connectAddOnly()
{
    return runWithAddressBook([this] { return pushDataOnly(_mainWndController->selectedCards()) != 0 ? kPushFailed : 0; });
}

QList<ABPerson*> PLSyncConnectController::getADData() const
{
    QList<ABPerson*> people;
    if (_addressBook) {
        for (const auto& person : _addressBook->people())
            people.append(person.get());
    }
    return people;
}

ManagedObjectList PLSyncConnectController::getPLData()
{
    ManagedObjectContext* context = _mainWndController->managedObjectContext();
    // A card that never had the flag set is not in the trash either.
    FetchRequest request{QLatin1String(CardStore::kEntityCard),
                         [](const ManagedObject& card) { return card.value(kDeletedFlag).toLongLong() == 0; }, {}};
    int error = 0;
    ManagedObjectList cards = context->executeFetchRequest(request, &error);
    return error == 0 ? cards : ManagedObjectList();
}

ManagedObjectList PLSyncConnectController::getSameKeyManage(const QString& first, const QString& middle,
                                                            const QString& family, const QString& company,
                                                            const QStringList& emails)
{
    // One fetch per run, indexed by the match keys: merges never change names, companies or
    // e-mails, and the cards a pull makes are excluded by the merged list anyway.
    if (!m_matchIndexBuilt) {
        m_matchIndex.clear();
        m_storeOrder.clear();
        const ManagedObjectList cards = getPLData();
        for (int i = 0; i < cards.size(); ++i) {
            const ManagedObject& c = *cards[i];
            m_matchIndex[matchKey(c.stringValue(cardkey::kFirstName), c.stringValue(cardkey::kMiddleName),
                                  c.stringValue(cardkey::kFamilyName), c.stringValue(cardkey::kCompany),
                                  c.stringValue(cardkey::kEmail))]
                .append(cards[i]);
            m_storeOrder.insert(cards[i].get(), i);
        }
        m_matchIndexBuilt = true;
    }
    const QStringList keys = emails.isEmpty() ? QStringList{QString()} : emails;
    if (keys.size() == 1)
        return m_matchIndex.value(matchKey(first, middle, family, company, keys.first()));
    ManagedObjectList candidates;
    QSet<const ManagedObject*> seen;
    for (const QString& email : keys) {
        for (const ManagedObjectPtr& card : m_matchIndex.value(matchKey(first, middle, family, company, email))) {
            if (!seen.contains(card.get())) {
                seen.insert(card.get());
                candidates.append(card);
            }
        }
    }
    std::sort(candidates.begin(), candidates.end(), [this](const ManagedObjectPtr& a, const ManagedObjectPtr& b) {
        return m_storeOrder.value(a.get()) < m_storeOrder.value(b.get());
    });
    return candidates;
}

int PLSyncConnectController::pullData()
{
    for (ABPerson* person : getADData()) {
        const CardDict d = analysisABperson(person);
        if (!hasNameOrCompany(d))
            continue;
        const QStringList emails = getEmailsOfAD(person);
        const ManagedObjectList candidates =
            getSameKeyManage(d.value(cardkey::kFirstName).toString(), d.value(cardkey::kMiddleName).toString(),
                             d.value(cardkey::kFamilyName).toString(), d.value(cardkey::kCompany).toString(), emails);
        ManagedObjectPtr match;
        for (const ManagedObjectPtr& card : candidates) {
            const QString cardID = card->stringValue(kCardID);
            if (!cardID.isEmpty() && !_arrMergedID.contains(cardID)) {
                match = card;
                break;
            }
        }
        if (match) {
            if (mergeData(match, person) != 0)
                return kMergeFailed;
            _arrMergedID.insert(match->stringValue(kCardID));
        } else {
            if (addDataToPL(d) != 0)
                return kNewCardFailed;
            _didAddData = true;
        }
        crashPoint("sync-pull-card");
    }
    return 0;
}

int PLSyncConnectController::pushData()
{
    for (const ManagedObjectPtr& card : getPLData()) {
        const QString cardID = card->stringValue(kCardID);
        if (cardID.isEmpty() || _arrMergedID.contains(cardID))
            continue;
        const CardDict d = setDataDictToDict(ManagedCardRecord(card.get()));
        if (!hasNameOrCompany(d))
            continue;
        if (addDataToAD(d) != 0)
            return kNewPersonFailed;
    }
    return 0;
}

int PLSyncConnectController::pushDataOnly(const ManagedObjectList& cards)
{
    _bMessage = false;
    QStringList keys = {cardkey::kFirstName,  cardkey::kFirstNameKana,  cardkey::kMiddleName, cardkey::kMiddleNameKana,
                        cardkey::kFamilyName, cardkey::kFamilyNameKana, cardkey::kSuffixName, cardkey::kPrefixName,
                        cardkey::kCompany,    cardkey::kJobTitle,       cardkey::kDepartment, cardkey::kPostalCode,
                        cardkey::kCountry,    cardkey::kCity,           cardkey::kState,      cardkey::kStreet,
                        cardkey::kTelephone,  cardkey::kFax,            cardkey::kMobile,     cardkey::kEmail,
                        cardkey::kWebPage,    cardkey::kMemo};
    if (!readingsOn()) {
        keys.removeAll(cardkey::kFirstNameKana);
        keys.removeAll(cardkey::kMiddleNameKana);
        keys.removeAll(cardkey::kFamilyNameKana);
    }
    for (const ManagedObjectPtr& card : cards) {
        if (!card)
            continue;
        const CardDict d = setDataDictToDict(ManagedCardRecord(card.get()));
        if (checkSpecifyItemIsNull(d, keys)) {
            _bMessage = true;
            continue;
        }
        if (addDataToAD(d) != 0)
            return kNewPersonFailed;
    }
    return 0;
}

bool PLSyncConnectController::saveAddressBook()
{
    QString why;
    const bool saved = _addressBook && _addressBook->save(&why);
    if (_addressBook) {
        m_changedElsewhere = _addressBook->changedElsewhere();
        m_lackedDiskSpace = _addressBook->lastSaveLackedSpace();
    }
    if (saved)
        return true;
    PLNSLog(QStringLiteral("Address book not saved: %@"), why);
    return false;
}
