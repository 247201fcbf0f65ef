#include "plugin/SforceService/ens_CampaignMember.h"

#include "plugin/SforceService/SoapNamespaces.h"

using namespace SoapField;

// Own fields in wire order (the byte order of the names).
SOAP_TYPE_INFO(ens_CampaignMember, kPrefixRecord, "ens:CampaignMember", &ens_sObject::staticTypeInfo(),
    object("Campaign", "ens_Campaign"),
    text("CampaignId"),
    object("Contact", "ens_Contact"),
    text("ContactId"),
    object("CreatedBy", "ens_User"),
    text("CreatedById"),
    date("CreatedDate"),
    date("FirstRespondedDate"),
    boolean("HasResponded"),
    boolean("IsDeleted"),
    object("LastModifiedBy", "ens_User"),
    text("LastModifiedById"),
    date("LastModifiedDate"),
    object("Lead", "ens_Lead"),
    text("LeadId"),
    text("Status"),
    date("SystemModstamp"))
