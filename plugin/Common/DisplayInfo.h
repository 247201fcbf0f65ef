// What the service tells about the logged-in user's objects: labels, the Lead picklists, the
// campaign columns the user may see, and which objects the user may use.
#pragma once

#include <QString>
#include <QStringList>

class DisplayInfo {
public:
    int Code = 0;
    QString AccountLabelName;
    QString ContactLabelName;
    QString LeadLabelName;
    QString CampaignLabelName;
    QStringList LeadSource;
    QStringList LeadStatus;
    QString LeadSourceLabelName;
    QString LeadStatusLabelName;
    int LeadSourceDefault = -1;
    int LeadStatusDefault = -1;
    QString CampaignTitleName;
    QString CampaignTitleStartDate;
    QString CampaignTitleEndDate;
    QString CampaignTitleType;
    QString CampaignTitleStatus;
    bool isCampaignNameDisplay = false;
    bool isCampaignStartDateDisplay = false;
    bool isCampaignEndDateDisplay = false;
    bool isCampaignTypeDisplay = false;
    bool isCampaignStatusDisplay = false;
    bool isLeadObjectEnabled = true;
    bool isAccountAndContactObjectEnabled = true;
};
