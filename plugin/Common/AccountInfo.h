// One row of the account search and one of the campaign search.
#pragma once

#include "plugin/SforceService/ens_Account.h"
#include "plugin/SforceService/ens_Campaign.h"

#include <QDateTime>
#include <QMetaType>

#include <memory>
#include <vector>

class AccountInfo {
public:
    QString AccountName;
    std::shared_ptr<ens_Account> AccountData;
};

class CampaignInfo {
public:
    int CampaignID = 0;  // position in the search result
    QString Name;
    QDateTime StartDate;
    QDateTime EndDate;
    QString Type;
    QString Status;
    std::shared_ptr<ens_Campaign> Campaign;
};

using AccountRows = std::vector<AccountInfo>;
using CampaignRows = std::vector<CampaignInfo>;
Q_DECLARE_METATYPE(AccountRows)
Q_DECLARE_METATYPE(CampaignRows)
