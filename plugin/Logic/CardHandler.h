// Uploads one batch of cards: Accounts (unless an existing account was chosen), Contacts and the
// card PDFs as their Attachments; or Leads, CampaignMembers (with a campaign) and Attachments. A card
// whose second record could not be made has its first record deleted again. One call is in flight
// at a time; every upload ends in exactly one "QDLEVENTLOUPLOADCOMPLETED" (object: the handler,
// "KEY_CODE": the rows). A card whose first record an earlier call may have made without telling
// (its answer was lost) is looked for before that record is made again.
#pragma once

#include "plugin/Common/UploadManager.h"
#include "plugin/DataAccess/CreateProvider.h"
#include "plugin/DataAccess/DeleteProvider.h"
#include "plugin/DataAccess/QueryProvider.h"

#include <memory>

class GlobalData;
struct Notification;

inline constexpr const char* kQDLEVENTLOUPLOADCOMPLETED = "QDLEVENTLOUPLOADCOMPLETED";

class CardHandler {
public:
    enum class State { Idle, Lookup, AccountsOrLeads, ContactsOrCampaignMembers, Attachments, Rollback, Done };

    explicit CardHandler(GlobalData& global);
    ~CardHandler();
    CardHandler(const CardHandler&) = delete;
    CardHandler& operator=(const CardHandler&) = delete;

    // False, and nothing starts, while an upload is still running.
    bool UploadAsACAsync(const std::vector<std::shared_ptr<CardInfo>>& cards, const std::shared_ptr<ens_Account>& destAccount);
    bool UploadAsLeadAsync(const std::vector<std::shared_ptr<CardInfo>>& cards, const QString& leadSource,
        const QString& leadStatus, const std::shared_ptr<ens_Campaign>& campaign);
    // Ends the upload in flight once the call the service is working on has answered (or timed
    // out): nothing more is created, and what the batch had made goes again as after any failed step.
    void Cancel();
    State state() const { return m_state; }

private:
    bool isBusy() const { return m_state != State::Idle && m_state != State::Done; }
    // Looks for the records of cards whose earlier create went without answer, then makes the first records.
    void start();
    void OnLookupCompleted(const Notification& notification);
    void createFirstRecords();
    QString lookupQuery() const;
    bool isFirstRecordOf(const DoUploadResult& row, const ens_sObject& record) const;
    void create(State next, const UploadManager::Records& records);
    void OnCreateCompleted(const Notification& notification);
    void stepCompleted(int code, const UploadManager::SaveResults& results);
    void OnAccountsOrLeadsCompleted(int code, const UploadManager::SaveResults& results);
    void OnContactsOrMembersCompleted(int code, const UploadManager::SaveResults& results);
    void OnAttachmentsCompleted(int code, const UploadManager::SaveResults& results);
    void createAttachmentsOrFinish();
    // Ends a cancelled batch whose every call has answered: what it made goes again.
    void cancelBatch();
    void rollback();
    void OnDeleteCompleted(const Notification& notification);
    void complete();
    // Completes from the event loop, as every other outcome does, when nothing was sent.
    void completeLater();
    bool isLead() const { return m_type == kUploadAsLead; }

    GlobalData& m_global;
    CreateProvider _createProvider;
    DeleteProvider _deleteProvider;
    QueryProvider _queryProvider;
    UploadResults m_lookedFor;
    QMap<QString, QString> m_unanswered; // the cards without answer when the upload began
    std::unique_ptr<UploadManager> _uploadManager;
    int m_type = kUploadAsAccountAndContact;
    State m_state = State::Idle;
    bool m_cancelRequested = false;
    bool m_answerLost = false; // of the create call that completed last
    QStringList _delIDs;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
