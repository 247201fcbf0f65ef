// The rows of one upload batch: the pre-checks, the records of each step for the rows still
// pending, and the booking of each step's answers into the rows.
#pragma once

#include "plugin/Common/DoUploadResult.h"
#include "plugin/SforceService/SforceServiceSvcResults.h"
#include "plugin/SforceService/ens_Attachment.h"
#include "plugin/SforceService/ens_Campaign.h"
#include "plugin/SforceService/ens_CampaignMember.h"

#include <QMap>
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

    // The type of the card's first record in this batch: "Lead", "Account", or "Contact" under an
    // existing account.
    QString firstRecordType() const;
    // The pending rows whose card's first record a call without answer may have made.
    UploadResults rowsToLookFor(const QMap<QString, QString>& unanswered) const;
    // The card's first record was found on the service with `id`: it is not made again.
    void adoptRecord(DoUploadResult& row, const QString& id);
    // The look-up failed: the rows fail with its code, their record perhaps still on the service.
    void failLookup(const UploadResults& rows, int code);
    // The first create's answer was lost: the pending rows' records may exist.
    void markAnswerLost();
    // Identifiers of the cards whose first record is now known (made or found) and of those whose
    // first record may exist unknown.
    QStringList resolvedCardIds() const;
    QStringList lostCardIds() const;
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
    void bookEach(const UploadResults& rows, const SaveResults& results,
        const std::function<void(DoUploadResult&, const SforceServiceSvc_SaveResult&)>& book);
    // The pending rows whose first record is still to be made (none was found).
    UploadResults rowsToMake() const;
    // Rows of the first step without an answer of their own may have their record made.
    void markUnansweredAsLost(const UploadResults& rows);
    void fail(DoUploadResult& row, int status, const SforceServiceSvc_SaveResult& answer);

    GlobalData& m_global;
    UploadResults _uploadResultList;
    std::shared_ptr<ens_Account> _destAccount;
    QString _leadSource;
    QString _leadStatus;
    std::shared_ptr<ens_Campaign> _campaign;
};
