// The rows of one upload batch: the pre-checks, the records of each step for the rows still
// pending, and the booking of each step's answers into the rows.
#pragma once

#include "plugin/Common/DoUploadResult.h"
#include "plugin/SforceService/SforceServiceSvcResults.h"
#include "plugin/SforceService/ens_Attachment.h"
#include "plugin/SforceService/ens_Campaign.h"
#include "plugin/SforceService/ens_CampaignMember.h"

#include <QStringList>

class GlobalData;

// Codes of the pre-checks and of what the service's answers leave out.
enum UploadCheckCode : int {
    kCheckNoOrganization = 10201,
    kCheckNoLastName = 10202,
    kCheckNothingToName = 10212,
    kCheckNoAttachment = 10213,
    kCheckEmailTooLong = 10302,
    kCheckNoFullName = 10303,
};

class UploadManager {
public:
    using Records = std::vector<std::shared_ptr<ens_sObject>>;
    using SaveResults = std::vector<std::shared_ptr<SforceServiceSvc_SaveResult>>;

    // An Account and Contact batch, under `destAccount` when one was chosen.
    UploadManager(GlobalData& global, const std::vector<std::shared_ptr<CardInfo>>& cards,
        const std::shared_ptr<ens_Account>& destAccount);
    // A Lead batch.
    UploadManager(GlobalData& global, const std::vector<std::shared_ptr<CardInfo>>& cards, const QString& leadSource,
        const QString& leadStatus, const std::shared_ptr<ens_Campaign>& campaign);

    Records GetAccountList();
    Records GetContactList();
    Records GetLeadList();
    // Empty without a campaign.
    Records GetCampaignMemberList();
    Records GetAttachmentList();

    void SetAccountUploadResult(const SaveResults& results);
    void SetContactUploadResult(const SaveResults& results);
    void SetLeadUploadResult(const SaveResults& results);
    void SetCampaignMemberUploadResult(const SaveResults& results);
    void SetAttachmentUploadResult(const SaveResults& results);

    UploadResults GetUnfinishedList() const;
    // The Accounts to delete again (the Contact, for a card filed under an existing account).
    QStringList GetRollbackAccountIdList() const;
    QStringList GetRollbackLeadIdList() const;
    void ChangeStatus(int from, int to);
    // A whole call failed: the pending rows get its code and the service's text.
    void SetCode(int code);
    // Rows whose step 2 record never came to be must have their step 1 record removed.
    void markPendingForRollback();
    // Adds `line` to the message of the row whose new Account or Lead has `id`.
    void addRollbackFailure(const QString& id, const QString& line);
    // Pending rows failed, uploaded rows with cut fields warned.
    UploadResults GetResultList();

private:
    void preCheck(DoUploadResult& row) const;
    // Walks the pending rows with a cursor over the answers; `book` gets each row and its answer.
    void bookEach(const SaveResults& results,
        const std::function<void(DoUploadResult&, const SforceServiceSvc_SaveResult&)>& book);
    void fail(DoUploadResult& row, int status, const SforceServiceSvc_SaveResult& answer);

    GlobalData& m_global;
    UploadResults _uploadResultList;
    std::shared_ptr<ens_Account> _destAccount;
    QString _leadSource;
    QString _leadStatus;
    std::shared_ptr<ens_Campaign> _campaign;
};
