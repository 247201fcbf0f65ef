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

#include <QScopeGuard>

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
    // Each file once and at most kReportedFiles of them, so that the message stays on the screen
    // whatever the folder holds; a longer list goes whole to the log.
    auto fileList = [](const char* key, const QStringList& files) {
        QStringList shown = files.mid(0, kReportedFiles);
        if (files.size() > kReportedFiles) {
            shown.append(
                formatString(getLocalString(QStringLiteral("IDS_MSG_ADDRESSBOOK_AND_MORE")), {int(files.size() - kReportedFiles)}));
            for (const QString& file : files)
                logLine(QStringLiteral("Address book: %1").arg(file));
        }
        return formatString(getLocalString(QLatin1String(key)), {int(files.size())}) + QLatin1Char('\n') + shown.join(QLatin1Char('\n'));
    };
    QStringList report;
    if (m_busy)
        report.append(getLocalString(QStringLiteral("IDS_MSG_ADDRESSBOOK_BUSY")));
    if (!m_unreadFiles.isEmpty())
        report.append(fileList("IDS_MSG_ADDRESSBOOK_FILES_NOT_READ", m_unreadFiles));
    if (!m_changedElsewhere.isEmpty())
        report.append(fileList("IDS_MSG_ADDRESSBOOK_CHANGED_ELSEWHERE", m_changedElsewhere));
    return report.join(QLatin1String("\n\n"));
}

int PLSyncConnectController::connectAddressBook()
{
    _arrAddedData.clear();
    _didAddData = false;
    m_matchIndexBuilt = false;
    m_takenCardIDs.reset();
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
    m_cardsUntouched = true;
    const auto cardsAgain = qScopeGuard([this] { m_cardsUntouched = false; });
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
    // One fetch per run, indexed by the match keys: the cards a merge changes in these keys are
    // in the merged list by then, and so are the cards a pull makes.
    if (!m_matchIndexBuilt) {
        m_matchIndex.clear();
        m_storeOrder.clear();
        const ManagedObjectList cards = m_liveCards.isEmpty() ? getPLData() : m_liveCards;
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
    ManagedObjectList candidates;
    QSet<const ManagedObject*> seen;
    for (const QString& email : keys) {
        for (const ManagedObjectPtr& card : m_matchIndex.value(matchKey(first, middle, family, company, email))) {
            if (!m_cardsPairedByUid.contains(card.get()) && !seen.contains(card.get())) {
                seen.insert(card.get());
                candidates.append(card);
            }
        }
    }
    if (keys.size() > 1) {
        std::sort(candidates.begin(), candidates.end(), [this](const ManagedObjectPtr& a, const ManagedObjectPtr& b) {
            return m_storeOrder.value(a.get()) < m_storeOrder.value(b.get());
        });
    }
    return candidates;
}

void PLSyncConnectController::pairByUid()
{
    m_pairedByUid.clear();
    m_cardsPairedByUid.clear();
    m_liveCards = getPLData();
    QHash<QString, ManagedObjectList> cardsByID;
    for (const ManagedObjectPtr& card : std::as_const(m_liveCards)) {
        const QString cardID = card->stringValue(kCardID);
        if (!cardID.isEmpty())
            cardsByID[cardID].append(card);
    }
    for (ABPerson* person : getADData()) {
        for (const ManagedObjectPtr& card : cardsByID.value(person->uid())) {
            if (!m_cardsPairedByUid.contains(card.get())) {
                m_pairedByUid.insert(person, card);
                m_cardsPairedByUid.insert(card.get());
                break;
            }
        }
    }
}

int PLSyncConnectController::pullData()
{
    pairByUid();
    for (ABPerson* person : getADData()) {
        const CardDict d = analysisABperson(person);
        ManagedObjectPtr match = m_pairedByUid.value(person);
        if (!match) {
            if (!hasNameOrCompany(d))
                continue;
            const QStringList emails = getEmailsOfAD(person);
            const ManagedObjectList candidates =
                getSameKeyManage(d.value(cardkey::kFirstName).toString(), d.value(cardkey::kMiddleName).toString(),
                                 d.value(cardkey::kFamilyName).toString(), d.value(cardkey::kCompany).toString(), emails);
            for (const ManagedObjectPtr& card : candidates) {
                const QString cardID = card->stringValue(kCardID);
                if (!cardID.isEmpty() && !_arrMergedID.contains(cardID)) {
                    match = card;
                    break;
                }
            }
        }
        if (match) {
            if (mergeData(match, person) != 0)
                return kMergeFailed;
            _arrMergedID.insert(match->stringValue(kCardID));
        } else {
            if (addDataToPL(d, cardIDForContact(person->uid())) != 0)
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
        // A card whose own file could not be read keeps it, rather than get a second one.
        if (cardID.isEmpty() || _arrMergedID.contains(cardID) || _addressBook->hasUnreadFileFor(cardID))
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
    // A card added again updates the person it was added as, whatever either holds now.
    QHash<QString, ABPerson*> personsByUid;
    for (ABPerson* person : getADData())
        personsByUid.insert(person->uid(), person);
    const int mode = _iSelectType;
    _iSelectType = kSelectCardWins;
    const auto restoreMode = qScopeGuard([this, mode] { _iSelectType = mode; });
    for (const ManagedObjectPtr& card : cards) {
        if (!card)
            continue;
        const CardDict d = setDataDictToDict(ManagedCardRecord(card.get()));
        if (checkSpecifyItemIsNull(d, keys)) {
            _bMessage = true;
            continue;
        }
        const QString cardID = card->stringValue(kCardID);
        if (ABPerson* person = cardID.isEmpty() ? nullptr : personsByUid.value(cardID)) {
            if (mergeData(card, person) != 0)
                return kNewPersonFailed;
            continue;
        }
        if (!cardID.isEmpty() && _addressBook->hasUnreadFileFor(cardID))
            continue;
        if (addDataToAD(d) != 0)
            return kNewPersonFailed;
        if (!cardID.isEmpty())
            personsByUid.insert(cardID, _addressBook->people().back().get());
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
