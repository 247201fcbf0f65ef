#include "plugin/Common/UploadManager.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Common/SObjectConverter.h"

namespace {

constexpr int kEmailLimit = 80;
constexpr int kNoAnswer = 9900;

bool succeeded(const SforceServiceSvc_SaveResult& answer)
{
    const auto success = answer.getsuccess();
    return success && success->boolValue();
}

}

UploadManager::UploadManager(GlobalData& global, const std::vector<std::shared_ptr<CardInfo>>& cards,
    const std::shared_ptr<ens_Account>& destAccount)
    : m_global(global), _destAccount(destAccount)
{
    for (const auto& card : cards) {
        auto row = std::make_shared<DoUploadResult>();
        row->Type = kUploadAsAccountAndContact;
        row->Card = card;
        row->DestAccount = destAccount;
        preCheck(*row);
        _uploadResultList.push_back(row);
    }
}

UploadManager::UploadManager(GlobalData& global, const std::vector<std::shared_ptr<CardInfo>>& cards,
    const QString& leadSource, const QString& leadStatus, const std::shared_ptr<ens_Campaign>& campaign)
    : m_global(global), _leadSource(leadSource), _leadStatus(leadStatus), _campaign(campaign)
{
    for (const auto& card : cards) {
        auto row = std::make_shared<DoUploadResult>();
        row->Type = kUploadAsLead;
        row->Card = card;
        preCheck(*row);
        _uploadResultList.push_back(row);
    }
}

void UploadManager::preCheck(DoUploadResult& row) const
{
    const CardInfo& card = *row.Card;
    auto refuse = [&row](int code) {
        row.Status = kUploadFailed;
        row.Code = code;
    };
    if (card.Email.size() > kEmailLimit)
        refuse(kCheckEmailTooLong);
    if (row.Type == kUploadAsAccountAndContact && _destAccount) {
        if (card.FullName.isEmpty())
            refuse(kCheckNoFullName);
    } else if (card.OrganizationName.isEmpty() && card.FullName.isEmpty()) {
        refuse(kCheckNothingToName);
    } else if (card.OrganizationName.isEmpty()) {
        refuse(kCheckNoOrganization);
    } else if (card.FullName.isEmpty()) {
        refuse(kCheckNoFullName);
    }
    if (card.LastName.isEmpty())
        refuse(kCheckNoLastName);
}

UploadResults UploadManager::GetUnfinishedList() const
{
    UploadResults pending;
    for (const auto& row : _uploadResultList) {
        if (row->Status == kUploadPending)
            pending.push_back(row);
    }
    return pending;
}

UploadManager::Records UploadManager::GetAccountList()
{
    Records records;
    for (const auto& row : rowsToMake()) {
        row->NewAccount = SObjectConverter::CardToAccount(*row->Card, &row->OverLengthTextList);
        records.push_back(row->NewAccount);
    }
    return records;
}

UploadManager::Records UploadManager::GetContactList()
{
    Records records;
    for (const auto& row : _destAccount ? rowsToMake() : GetUnfinishedList()) {
        row->NewContact = SObjectConverter::CardToContact(*row->Card, &row->OverLengthTextList);
        const auto& account = _destAccount ? _destAccount : row->NewAccount;
        if (account)
            row->NewContact->setAccountId(account->getId());
        records.push_back(row->NewContact);
    }
    return records;
}

UploadManager::Records UploadManager::GetLeadList()
{
    Records records;
    for (const auto& row : rowsToMake()) {
        row->NewLead = SObjectConverter::CardToLead(*row->Card, &row->OverLengthTextList);
        if (!_leadSource.isEmpty())
            row->NewLead->setLeadSource(_leadSource);
        if (!_leadStatus.isEmpty())
            row->NewLead->setStatus(_leadStatus);
        records.push_back(row->NewLead);
    }
    return records;
}

UploadManager::Records UploadManager::GetCampaignMemberList()
{
    Records records;
    if (!_campaign)
        return records;
    for (const auto& row : GetUnfinishedList()) {
        auto member = std::make_shared<ens_CampaignMember>();
        member->setLeadId(row->NewLead ? row->NewLead->getId() : QString());
        member->setCampaignId(_campaign->getId());
        records.push_back(member);
    }
    return records;
}

UploadManager::Records UploadManager::GetAttachmentList()
{
    Records records;
    for (const auto& row : GetUnfinishedList()) {
        const auto attachments = SObjectConverter::CardToAttachment(*row->Card);
        if (!row->Card->ImageFilePathN1.isEmpty() && attachments.empty()) {
            row->Status = kUploadWarning;
            row->Code = kCheckNoAttachment;
            continue;
        }
        row->AttachmentCount = int(attachments.size());
        const QString parent = row->Type == kUploadAsAccountAndContact ? (row->NewContact ? row->NewContact->getId() : QString())
                                                                        : (row->NewLead ? row->NewLead->getId() : QString());
        for (const auto& attachment : attachments) {
            attachment->setParentId(parent);
            records.push_back(attachment);
        }
    }
    return records;
}

void UploadManager::fail(DoUploadResult& row, int status, const SforceServiceSvc_SaveResult& answer)
{
    const auto errors = answer.geterrors();
    row.Status = status;
    row.Code = ErrorManager::HandleStatusErrorCode(errors.empty() ? 0 : errors.front()->getstatusCode(), m_global);
    row.ExceptionMessage = errors.empty() ? QString(QLatin1String("")) : errors.front()->getmessage();
    LogManager::LogOutput(kLogError, row.ExceptionMessage);
}

void UploadManager::bookEach(const UploadResults& rows, const SaveResults& results,
    const std::function<void(DoUploadResult&, const SforceServiceSvc_SaveResult&)>& book)
{
    size_t cursor = 0;
    for (const auto& row : rows) {
        if (cursor >= results.size()) {
            row->Status = kUploadFailed;
            row->Code = kNoAnswer;
            row->ExceptionMessage = QLatin1String("");
            continue;
        }
        book(*row, *results[cursor++]);
    }
}

void UploadManager::SetAccountUploadResult(const SaveResults& results)
{
    const UploadResults rows = rowsToMake();
    bookEach(rows, results, [this](DoUploadResult& row, const SforceServiceSvc_SaveResult& answer) {
        if (succeeded(answer))
            row.NewAccount->setId(answer.getid());
        else
            fail(row, kUploadFailed, answer);
    });
    markUnansweredAsLost(rows);
}

void UploadManager::SetContactUploadResult(const SaveResults& results)
{
    const UploadResults rows = _destAccount ? rowsToMake() : GetUnfinishedList();
    bookEach(rows, results, [this](DoUploadResult& row, const SforceServiceSvc_SaveResult& answer) {
        if (succeeded(answer)) {
            row.NewContact->setId(answer.getid());
        } else {
            fail(row, kUploadFailed, answer);
            row.NeedRollbackAccount = true;
        }
    });
    // A Contact the service never answered for is as missing as a refused one.
    for (const auto& row : _uploadResultList) {
        if (row->Status == kUploadFailed && row->Code == kNoAnswer)
            row->NeedRollbackAccount = true;
    }
    if (_destAccount)
        markUnansweredAsLost(rows);
}

void UploadManager::SetLeadUploadResult(const SaveResults& results)
{
    const UploadResults rows = rowsToMake();
    bookEach(rows, results, [this](DoUploadResult& row, const SforceServiceSvc_SaveResult& answer) {
        if (succeeded(answer))
            row.NewLead->setId(answer.getid());
        else
            fail(row, kUploadFailed, answer);
    });
    markUnansweredAsLost(rows);
}

void UploadManager::SetCampaignMemberUploadResult(const SaveResults& results)
{
    bookEach(GetUnfinishedList(), results, [this](DoUploadResult& row, const SforceServiceSvc_SaveResult& answer) {
        if (!succeeded(answer)) {
            fail(row, kUploadFailed, answer);
            row.NeedRollbackLead = true;
        }
    });
    for (const auto& row : _uploadResultList) {
        if (row->Status == kUploadFailed && row->Code == kNoAnswer)
            row->NeedRollbackLead = true;
    }
}

void UploadManager::SetAttachmentUploadResult(const SaveResults& results)
{
    size_t cursor = 0;
    for (const auto& row : GetUnfinishedList()) {
        const size_t count = size_t(row->AttachmentCount);
        if (count == 0) {
            row->Status = kUploadDone;
            row->Code = 0;
            continue;
        }
        if (cursor + count > results.size()) {
            row->Status = kUploadFailed;
            row->Code = kNoAnswer;
            row->ExceptionMessage = QLatin1String("");
            cursor += count;
            continue;
        }
        const SforceServiceSvc_SaveResult* failed = nullptr;
        for (size_t i = 0; i < count && !failed; ++i) {
            if (!succeeded(*results[cursor + i]))
                failed = results[cursor + i].get();
        }
        cursor += count;
        if (failed) {
            fail(*row, kUploadWarning, *failed);
        } else {
            row->Status = kUploadDone;
            row->Code = 0;
        }
    }
}

UploadResults UploadManager::rowsToMake() const
{
    UploadResults rows;
    for (const auto& row : GetUnfinishedList()) {
        if (!row->FoundOnService)
            rows.push_back(row);
    }
    return rows;
}

void UploadManager::markUnansweredAsLost(const UploadResults& rows)
{
    for (const auto& row : rows) {
        if (row->Status == kUploadFailed && row->Code == kNoAnswer)
            row->AnswerLost = true;
    }
}

QString UploadManager::firstRecordType() const
{
    if (!_uploadResultList.empty() && _uploadResultList.front()->Type == kUploadAsLead)
        return QStringLiteral("Lead");
    return _destAccount ? QStringLiteral("Contact") : QStringLiteral("Account");
}

UploadResults UploadManager::rowsToLookFor(const QMap<QString, QString>& unanswered) const
{
    UploadResults rows;
    const QString type = firstRecordType();
    for (const auto& row : GetUnfinishedList()) {
        if (!row->Card->PersonID.isEmpty() && unanswered.value(row->Card->PersonID) == type)
            rows.push_back(row);
    }
    return rows;
}

void UploadManager::adoptRecord(DoUploadResult& row, const QString& id)
{
    row.FoundOnService = true;
    // Made as the chain would make it, so that the fields it had to cut are told all the same.
    const QString type = firstRecordType();
    std::shared_ptr<ens_sObject> record;
    if (type == QLatin1String("Lead")) {
        row.NewLead = SObjectConverter::CardToLead(*row.Card, &row.OverLengthTextList);
        record = row.NewLead;
    } else if (type == QLatin1String("Account")) {
        row.NewAccount = SObjectConverter::CardToAccount(*row.Card, &row.OverLengthTextList);
        record = row.NewAccount;
    } else {
        row.NewContact = SObjectConverter::CardToContact(*row.Card, &row.OverLengthTextList);
        row.NewContact->setAccountId(_destAccount->getId());
        record = row.NewContact;
    }
    record->setId(id);
}

void UploadManager::failLookup(const UploadResults& rows, int code)
{
    for (const auto& row : rows) {
        row->Status = kUploadFailed;
        row->Code = code;
        row->ExceptionMessage = m_global.ExceptionMsg();
        row->AnswerLost = true;
    }
}

void UploadManager::markAnswerLost()
{
    for (const auto& row : rowsToMake())
        row->AnswerLost = true;
}

QStringList UploadManager::resolvedCardIds() const
{
    QStringList ids;
    const QString type = firstRecordType();
    for (const auto& row : _uploadResultList) {
        const auto& record = type == QLatin1String("Lead") ? std::static_pointer_cast<ens_sObject>(row->NewLead)
            : type == QLatin1String("Account")             ? std::static_pointer_cast<ens_sObject>(row->NewAccount)
                                                            : std::static_pointer_cast<ens_sObject>(row->NewContact);
        if (record && !record->getId().isEmpty())
            ids.append(row->Card->PersonID);
    }
    return ids;
}

QStringList UploadManager::lostCardIds() const
{
    QStringList ids;
    for (const auto& row : _uploadResultList) {
        if (row->AnswerLost)
            ids.append(row->Card->PersonID);
    }
    return ids;
}

QStringList UploadManager::GetRollbackAccountIdList() const
{
    QStringList ids;
    for (const auto& row : _uploadResultList) {
        if (!row->NeedRollbackAccount)
            continue;
        if (row->NewAccount && !row->NewAccount->getId().isEmpty())
            ids.append(row->NewAccount->getId());
        // Under an existing account only the contact was made.
        else if (row->NewContact && !row->NewContact->getId().isEmpty())
            ids.append(row->NewContact->getId());
    }
    return ids;
}

QStringList UploadManager::GetRollbackLeadIdList() const
{
    QStringList ids;
    for (const auto& row : _uploadResultList) {
        if (row->NeedRollbackLead && row->NewLead && !row->NewLead->getId().isEmpty())
            ids.append(row->NewLead->getId());
    }
    return ids;
}

void UploadManager::ChangeStatus(int from, int to)
{
    for (const auto& row : _uploadResultList) {
        if (row->Status == from)
            row->Status = to;
    }
}

void UploadManager::SetCode(int code)
{
    for (const auto& row : GetUnfinishedList()) {
        row->Code = code;
        row->ExceptionMessage = m_global.ExceptionMsg();
    }
}

void UploadManager::markPendingForRollback()
{
    for (const auto& row : GetUnfinishedList()) {
        if (row->Type == kUploadAsAccountAndContact)
            row->NeedRollbackAccount = true;
        else
            row->NeedRollbackLead = true;
    }
}

void UploadManager::addRollbackFailure(const QString& id, const QString& line)
{
    for (const auto& row : _uploadResultList) {
        const bool isAccount = (row->NewAccount && row->NewAccount->getId() == id) || (row->NewContact && row->NewContact->getId() == id);
        const bool isLead = row->NewLead && row->NewLead->getId() == id;
        if (isAccount || isLead) {
            row->RollbackFailed = true;
            row->ExceptionMessage = row->ExceptionMessage.isEmpty() ? line : row->ExceptionMessage + QLatin1Char('\n') + line;
        }
    }
}

UploadResults UploadManager::GetResultList()
{
    for (const auto& row : _uploadResultList) {
        if (row->Status == kUploadPending) {
            row->Status = kUploadFailed;
        } else if (row->Status == kUploadDone && !row->OverLengthTextList.isEmpty()) {
            row->Status = kUploadWarning;
            row->Code = kQDLStringTooLong;
        }
    }
    return _uploadResultList;
}
