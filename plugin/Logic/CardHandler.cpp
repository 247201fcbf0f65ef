#include "plugin/Logic/CardHandler.h"

#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Common/SObjectConverter.h"
#include "plugin/Common/UnansweredCards.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "plugin/Logic/DisplayHandler.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/NotificationCenter.h"

namespace {

SoapBindingResponsePtr responseOf(const Notification& notification)
{
    return notification.userInfo.value(QString::fromLatin1(kSFORCERESPONSEKey)).value<SoapBindingResponsePtr>();
}

template <typename Response>
std::shared_ptr<Response> firstPart(const SoapBindingResponsePtr& response)
{
    if (!response || !response->getbodyParts() || response->getbodyParts()->empty())
        return nullptr;
    return std::dynamic_pointer_cast<Response>(response->getbodyParts()->front());
}

}

CardHandler::CardHandler(GlobalData& global)
    : m_global(global), _createProvider(global), _deleteProvider(global), _queryProvider(global)
{
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QString::fromLatin1(kQDLEVENTDAQUERYACCOMPLETED),
        [this](const Notification& notification) { OnLookupCompleted(notification); }, &_queryProvider);
    center.addObserver(this, QString::fromLatin1(kQDLEVENTDACREATECOMPLETED),
        [this](const Notification& notification) { OnCreateCompleted(notification); }, &_createProvider);
    center.addObserver(this, QString::fromLatin1(kQDLEVENTDADELETEACCOMPLETED),
        [this](const Notification& notification) { OnDeleteCompleted(notification); }, &_deleteProvider);
}

CardHandler::~CardHandler()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

bool CardHandler::UploadAsACAsync(const std::vector<std::shared_ptr<CardInfo>>& cards, const std::shared_ptr<ens_Account>& destAccount)
{
    if (isBusy())
        return false;
    m_type = kUploadAsAccountAndContact;
    m_cancelRequested = false;
    _uploadManager = std::make_unique<UploadManager>(m_global, cards, destAccount);
    start();
    return true;
}

bool CardHandler::UploadAsLeadAsync(const std::vector<std::shared_ptr<CardInfo>>& cards, const QString& leadSource,
    const QString& leadStatus, const std::shared_ptr<ens_Campaign>& campaign)
{
    if (isBusy())
        return false;
    m_type = kUploadAsLead;
    m_cancelRequested = false;
    _uploadManager = std::make_unique<UploadManager>(m_global, cards, leadSource, leadStatus, campaign);
    start();
    return true;
}

void CardHandler::start()
{
    m_unanswered = UnansweredCards::all();
    if (_uploadManager->GetUnfinishedList().empty()) {
        completeLater();
        return;
    }
    m_lookedFor = _uploadManager->rowsToLookFor(m_unanswered);
    if (m_lookedFor.empty()) {
        createFirstRecords();
        return;
    }
    m_state = State::Lookup;
    _queryProvider.ExecuteAsync(lookupQuery());
}

QString CardHandler::lookupQuery() const
{
    const QString type = _uploadManager->firstRecordType();
    QStringList clauses;
    for (const auto& row : m_lookedFor) {
        if (type == QLatin1String("Account")) {
            QStringList cut;
            const QString name = SObjectConverter::CardToAccount(*row->Card, &cut)->getName();
            clauses.append(QStringLiteral("Name='%1'").arg(CommonFuc::ConvertSpecialCharInSOQL(name)));
        } else {
            clauses.append(DisplayHandler::cardCondition(*row->Card));
        }
    }
    const QString any = clauses.join(QLatin1String(" or "));
    if (type == QLatin1String("Lead"))
        return QStringLiteral("Select Id,Email,FirstName,LastName from Lead where ") + any;
    if (type == QLatin1String("Contact")) {
        return QStringLiteral("Select Id,Email,FirstName,LastName from Contact where AccountId='%1' and (%2)")
            .arg(CommonFuc::ConvertSpecialCharInSOQL(m_lookedFor.front()->DestAccount->getId()), any);
    }
    // An Account the lost call made has no Contact yet: one with Contacts is somebody's own.
    return QStringLiteral("Select Id,Name from Account where Id not in (Select AccountId from Contact) and (%1)").arg(any);
}

bool CardHandler::isFirstRecordOf(const DoUploadResult& row, const ens_sObject& record) const
{
    if (_uploadManager->firstRecordType() != QLatin1String("Account"))
        return DisplayHandler::matches(*row.Card, record);
    QStringList cut;
    return record.valueForKey(QStringLiteral("Name")).text() == SObjectConverter::CardToAccount(*row.Card, &cut)->getName();
}

void CardHandler::OnLookupCompleted(const Notification& notification)
{
    const auto holder = notification.userInfo.value(QString::fromLatin1(kQueryResultKey)).value<QueryResultPtr>();
    const int code = holder ? holder->Code() : kQDLOtherFault;
    if (code != kQDLSuccess) {
        // Without knowing what the service holds, nothing is made that may be there already.
        _uploadManager->failLookup(m_lookedFor, code);
    } else {
        QueryResult::Records records = holder->QueryResultList().value_or(QueryResult::Records());
        for (const auto& row : m_lookedFor) {
            const auto found = std::find_if(records.begin(), records.end(),
                [&](const std::shared_ptr<ens_sObject>& record) { return isFirstRecordOf(*row, *record); });
            if (found == records.end())
                continue;
            _uploadManager->adoptRecord(*row, (*found)->getId());
            records.erase(found);
        }
    }
    m_lookedFor.clear();
    createFirstRecords();
}

void CardHandler::createFirstRecords()
{
    const bool contactsFirst = _uploadManager->firstRecordType() == QLatin1String("Contact");
    const State state = contactsFirst ? State::ContactsOrCampaignMembers : State::AccountsOrLeads;
    const auto records = isLead() ? _uploadManager->GetLeadList()
        : contactsFirst           ? _uploadManager->GetContactList()
                                  : _uploadManager->GetAccountList();
    if (records.empty() && !m_cancelRequested) {
        // Every card's first record was found, or none is left to make: the chain goes on from there.
        m_state = state;
        m_answerLost = false;
        stepCompleted(kQDLSuccess, {});
        return;
    }
    create(state, records);
}

void CardHandler::Cancel()
{
    if (!isBusy() || m_cancelRequested)
        return;
    // The call in flight is let answer (or time out): the service may already have made its
    // records, and only its answer names them for the rollback. Nothing further is created.
    m_cancelRequested = true;
}

void CardHandler::create(State next, const UploadManager::Records& records)
{
    m_state = next;
    if (m_cancelRequested) {
        cancelBatch();
        return;
    }
    _createProvider.ExecuteAsync(records);
}

void CardHandler::OnCreateCompleted(const Notification& notification)
{
    const SoapBindingResponsePtr response = responseOf(notification);
    const int code = ErrorManager::GetResponseCode(response, m_global);
    m_answerLost = ErrorManager::isAnswerLost(response);
    const auto part = firstPart<SforceServiceSvc_createResponse>(response);
    stepCompleted(code, part ? part->getresult() : UploadManager::SaveResults());
}

void CardHandler::stepCompleted(int code, const UploadManager::SaveResults& results)
{
    switch (m_state) {
    case State::AccountsOrLeads: OnAccountsOrLeadsCompleted(code, results); break;
    case State::ContactsOrCampaignMembers: OnContactsOrMembersCompleted(code, results); break;
    case State::Attachments: OnAttachmentsCompleted(code, results); break;
    default: break;
    }
}

void CardHandler::OnAccountsOrLeadsCompleted(int code, const UploadManager::SaveResults& results)
{
    if (code != kQDLSuccess) {
        if (m_answerLost)
            _uploadManager->markAnswerLost();
        _uploadManager->SetCode(code);
        _uploadManager->ChangeStatus(kUploadPending, kUploadFailed);
        complete();
        return;
    }
    if (isLead()) {
        _uploadManager->SetLeadUploadResult(results);
        const auto members = _uploadManager->GetCampaignMemberList();
        if (!members.empty())
            create(State::ContactsOrCampaignMembers, members);
        else
            createAttachmentsOrFinish();
        return;
    }
    _uploadManager->SetAccountUploadResult(results);
    const auto contacts = _uploadManager->GetContactList();
    if (contacts.empty())
        complete();
    else
        create(State::ContactsOrCampaignMembers, contacts);
}

void CardHandler::OnContactsOrMembersCompleted(int code, const UploadManager::SaveResults& results)
{
    if (code != kQDLSuccess) {
        // The Accounts or Leads of these cards exist without what was to follow: they go again,
        // so that trying the cards again makes no duplicates.
        if (m_answerLost && _uploadManager->firstRecordType() == QLatin1String("Contact"))
            _uploadManager->markAnswerLost();
        _uploadManager->markPendingForRollback();
        _uploadManager->SetCode(code);
        _uploadManager->ChangeStatus(kUploadPending, kUploadFailed);
        rollback();
        return;
    }
    if (isLead())
        _uploadManager->SetCampaignMemberUploadResult(results);
    else
        _uploadManager->SetContactUploadResult(results);
    createAttachmentsOrFinish();
}

void CardHandler::createAttachmentsOrFinish()
{
    if (m_cancelRequested) {
        cancelBatch();
        return;
    }
    const auto attachments = _uploadManager->GetAttachmentList();
    if (!attachments.empty()) {
        create(State::Attachments, attachments);
        return;
    }
    _uploadManager->ChangeStatus(kUploadPending, kUploadDone);
    rollback();
}

void CardHandler::OnAttachmentsCompleted(int code, const UploadManager::SaveResults& results)
{
    if (code != kQDLSuccess) {
        // The Contacts or Leads exist; only their card images are missing.
        _uploadManager->SetCode(code);
        _uploadManager->ChangeStatus(kUploadPending, kUploadWarning);
    } else {
        _uploadManager->SetAttachmentUploadResult(results);
    }
    rollback();
}

void CardHandler::cancelBatch()
{
    _uploadManager->markPendingForRollback();
    _uploadManager->SetCode(kQDLUploadCancelled);
    _uploadManager->ChangeStatus(kUploadPending, kUploadFailed);
    rollback();
}

void CardHandler::rollback()
{
    _delIDs = isLead() ? _uploadManager->GetRollbackLeadIdList() : _uploadManager->GetRollbackAccountIdList();
    if (_delIDs.isEmpty()) {
        complete();
        return;
    }
    m_state = State::Rollback;
    _deleteProvider.ExecuteAsync(_delIDs);
}

void CardHandler::OnDeleteCompleted(const Notification& notification)
{
    const SoapBindingResponsePtr response = responseOf(notification);
    QStringList removed;
    if (ErrorManager::GetResponseCode(response, m_global) == kQDLSuccess) {
        if (const auto part = firstPart<SforceServiceSvc_deleteResponse>(response)) {
            for (const auto& result : part->result()) {
                const auto success = result->valueForKey(QStringLiteral("success")).boolean();
                if (success && success->boolValue())
                    removed.append(result->valueForKey(QStringLiteral("id")).text());
            }
        }
    }
    const QString line = CommonFuc::GetLocalStringWithKey(QStringLiteral("MSG04031"));
    for (const QString& id : std::as_const(_delIDs)) {
        if (removed.contains(id))
            continue;
        LogManager::LogOutput(kLogError, QStringLiteral("Rollback left the record %1 on the service").arg(id));
        _uploadManager->addRollbackFailure(id, line);
    }
    _delIDs.clear();
    complete();
}

void CardHandler::completeLater()
{
    m_state = State::AccountsOrLeads;
    Scheduler::performOnMainThread([this, alive = std::weak_ptr<int>(m_alive)] {
        if (alive.lock())
            complete();
    });
}

void CardHandler::complete()
{
    m_state = State::Done;
    const QString type = _uploadManager->firstRecordType();
    QStringList resolved;
    for (const QString& id : _uploadManager->resolvedCardIds()) {
        if (m_unanswered.value(id) == type)
            resolved.append(id);
    }
    UnansweredCards::update(resolved, _uploadManager->lostCardIds(), type);
    const UploadResults results = _uploadManager->GetResultList();
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTLOUPLOADCOMPLETED), this,
        {{QStringLiteral("KEY_CODE"), QVariant::fromValue(results)}});
}
