#include "plugin/SforceService/SoapTypeCatalog.h"

#include "plugin/SforceService/FaultTypes.h"
#include "plugin/SforceService/RecordTypeCatalog.h"
#include "plugin/SforceService/SOAPFault.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SforceServiceSvcHeaders.h"
#include "plugin/SforceService/SoapTypeRegistry.h"

void registerServiceSoapTypes(SoapTypeRegistry& registry)
{
    for (const SoapTypeInfo* info : {
             // results
             &SforceServiceSvc_Error::staticTypeInfo(), &SforceServiceSvc_SaveResult::staticTypeInfo(),
             &SforceServiceSvc_DeleteResult::staticTypeInfo(), &SforceServiceSvc_LoginResult::staticTypeInfo(),
             &SforceServiceSvc_GetUserInfoResult::staticTypeInfo(), &SforceServiceSvc_PicklistEntry::staticTypeInfo(),
             &SforceServiceSvc_Field::staticTypeInfo(), &SforceServiceSvc_DescribeSObjectResult::staticTypeInfo(),
             &SforceServiceSvc_DescribeTab::staticTypeInfo(), &SforceServiceSvc_DescribeTabSetResult::staticTypeInfo(),
             // bodies
             &SforceServiceSvc_login::staticTypeInfo(), &SforceServiceSvc_loginResponse::staticTypeInfo(),
             &SforceServiceSvc_describeSObject::staticTypeInfo(), &SforceServiceSvc_describeSObjectResponse::staticTypeInfo(),
             &SforceServiceSvc_describeSObjects::staticTypeInfo(), &SforceServiceSvc_describeSObjectsResponse::staticTypeInfo(),
             &SforceServiceSvc_describeTabs::staticTypeInfo(), &SforceServiceSvc_describeTabsResponse::staticTypeInfo(),
             &SforceServiceSvc_create::staticTypeInfo(), &SforceServiceSvc_createResponse::staticTypeInfo(),
             &SforceServiceSvc_delete::staticTypeInfo(), &SforceServiceSvc_deleteResponse::staticTypeInfo(),
             &SforceServiceSvc_logout::staticTypeInfo(), &SforceServiceSvc_logoutResponse::staticTypeInfo(),
             &SforceServiceSvc_query::staticTypeInfo(), &SforceServiceSvc_queryResponse::staticTypeInfo(),
             &SforceServiceSvc_queryMore::staticTypeInfo(), &SforceServiceSvc_queryMoreResponse::staticTypeInfo(),
             // headers
             &SforceServiceSvc_SessionHeader::staticTypeInfo(), &SforceServiceSvc_LoginScopeHeader::staticTypeInfo(),
             &SforceServiceSvc_PackageVersion::staticTypeInfo(), &SforceServiceSvc_PackageVersionHeader::staticTypeInfo(),
             &SforceServiceSvc_AssignmentRuleHeader::staticTypeInfo(), &SforceServiceSvc_MruHeader::staticTypeInfo(),
             &SforceServiceSvc_AllowFieldTruncationHeader::staticTypeInfo(),
             &SforceServiceSvc_DisableFeedTrackingHeader::staticTypeInfo(), &SforceServiceSvc_DebuggingHeader::staticTypeInfo(),
             &SforceServiceSvc_EmailHeader::staticTypeInfo(), &SforceServiceSvc_UserTerritoryDeleteHeader::staticTypeInfo(),
             &SforceServiceSvc_DebuggingInfo::staticTypeInfo(),
             // faults
             &SOAPFault::staticTypeInfo(), &fns_ApiFault::staticTypeInfo(), &fns_ApiQueryFault::staticTypeInfo(),
             &fns_LoginFault::staticTypeInfo(), &fns_InvalidQueryLocatorFault::staticTypeInfo(),
             &fns_InvalidNewPasswordFault::staticTypeInfo(), &fns_InvalidIdFault::staticTypeInfo(),
             &fns_UnexpectedErrorFault::staticTypeInfo(), &fns_InvalidFieldFault::staticTypeInfo(),
             &fns_InvalidSObjectFault::staticTypeInfo(), &fns_MalformedQueryFault::staticTypeInfo(),
             &fns_MalformedSearchFault::staticTypeInfo(),
             // records
             &ens_sObject::staticTypeInfo(), &SforceServiceSvc_QueryResult::staticTypeInfo(),
         })
        registry.registerType(*info);
    registerRecordTypes(registry);
}
