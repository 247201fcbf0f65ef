#include "plugin/SforceService/RecordTypeCatalog.h"

#include "plugin/SforceService/SoapTypeRegistry.h"
#include "plugin/SforceService/ens_Account.h"
#include "plugin/SforceService/ens_AccountContactRole.h"
#include "plugin/SforceService/ens_Attachment.h"
#include "plugin/SforceService/ens_Campaign.h"
#include "plugin/SforceService/ens_CampaignMember.h"
#include "plugin/SforceService/ens_Contact.h"
#include "plugin/SforceService/ens_Contract.h"
#include "plugin/SforceService/ens_Event.h"
#include "plugin/SforceService/ens_Lead.h"
#include "plugin/SforceService/ens_User.h"

void registerRecordTypes(SoapTypeRegistry& registry)
{
    for (const SoapTypeInfo* info : {
             &ens_Account::staticTypeInfo(), &ens_AccountContactRole::staticTypeInfo(), &ens_Attachment::staticTypeInfo(),
             &ens_Campaign::staticTypeInfo(), &ens_CampaignMember::staticTypeInfo(), &ens_Contact::staticTypeInfo(),
             &ens_Contract::staticTypeInfo(), &ens_Event::staticTypeInfo(), &ens_Lead::staticTypeInfo(),
             &ens_User::staticTypeInfo(),
         })
        registry.registerType(*info);
}
