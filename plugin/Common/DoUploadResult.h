// The outcome of one card of an upload batch.
#pragma once

#include "plugin/Common/CardInfo.h"
#include "plugin/SforceService/ens_Account.h"
#include "plugin/SforceService/ens_Contact.h"
#include "plugin/SforceService/ens_Lead.h"

#include <QMetaType>
#include <QStringList>

#include <memory>
#include <vector>

enum UploadType : int {
    kUploadAsAccountAndContact = 1,
    kUploadAsLead = 2,
};

enum UploadStatus : int {
    kUploadPending = 0,
    kUploadDone = 1,
    kUploadFailed = 2,
    kUploadSkipped = 3,
    kUploadWarning = 4,
};

class DoUploadResult {
public:
    int Type = 0;
    int Status = kUploadPending;
    int Code = 0;
    std::shared_ptr<CardInfo> Card;
    std::shared_ptr<ens_Account> DestAccount;
    std::shared_ptr<ens_Account> NewAccount;
    std::shared_ptr<ens_Contact> NewContact;
    std::shared_ptr<ens_Lead> NewLead;
    int AttachmentCount = 0;
    bool NeedRollbackAccount = false;
    bool NeedRollbackLead = false;
    bool RollbackFailed = false; // a record made for the card is still on the service
    bool AnswerLost = false;     // the service may hold the card's record: the answer naming it was lost
    bool FoundOnService = false; // the card's first record was found there, made by a call whose answer was lost
    QStringList OverLengthTextList;  // warning label keys of the fields that were cut
    QString ExceptionMessage;
};

using UploadResults = std::vector<std::shared_ptr<DoUploadResult>>;
Q_DECLARE_METATYPE(UploadResults)
