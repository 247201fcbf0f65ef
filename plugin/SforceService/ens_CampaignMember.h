// The membership of a lead or contact in a campaign: the upload side sends one per created lead when
// a campaign was chosen, with LeadId and CampaignId only.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_CampaignMember : public ens_sObject {
    SOAP_VALUE_TYPE(ens_CampaignMember, ens_sObject)
    void setCampaignId(const QString& value) { setTextField("CampaignId", value); }
    void setLeadId(const QString& value) { setTextField("LeadId", value); }
    QString CampaignId() const { return textForKey("CampaignId"); }
    QString LeadId() const { return textForKey("LeadId"); }
};
