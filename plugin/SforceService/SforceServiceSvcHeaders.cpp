#include "plugin/SforceService/SforceServiceSvcHeaders.h"

#include "plugin/SforceService/SoapNamespaces.h"

using namespace SoapField;

SOAP_TYPE_INFO(SforceServiceSvc_SessionHeader, kPrefixService, nullptr, nullptr, text("sessionId"))
SOAP_TYPE_INFO(SforceServiceSvc_LoginScopeHeader, kPrefixService, nullptr, nullptr, text("organizationId"), text("portalId"))
SOAP_TYPE_INFO(SforceServiceSvc_PackageVersion, kPrefixService, nullptr, nullptr,
    number("majorNumber"), number("minorNumber"), text("namespace"))
SOAP_TYPE_INFO(SforceServiceSvc_PackageVersionHeader, kPrefixService, nullptr, nullptr,
    objectList("packageVersions", "SforceServiceSvc_PackageVersion"))
SOAP_TYPE_INFO(SforceServiceSvc_AssignmentRuleHeader, kPrefixService, nullptr, nullptr,
    text("assignmentRuleId"), boolean("useDefaultRule"))
SOAP_TYPE_INFO(SforceServiceSvc_MruHeader, kPrefixService, nullptr, nullptr, boolean("updateMru"))
SOAP_TYPE_INFO(SforceServiceSvc_AllowFieldTruncationHeader, kPrefixService, nullptr, nullptr, boolean("allowFieldTruncation"))
SOAP_TYPE_INFO(SforceServiceSvc_DisableFeedTrackingHeader, kPrefixService, nullptr, nullptr, boolean("disableFeedTracking"))
SOAP_TYPE_INFO(SforceServiceSvc_DebuggingHeader, kPrefixService, nullptr, nullptr,
    enumeration("debugLevel", SforceServiceSvc_DebugLevel()))
SOAP_TYPE_INFO(SforceServiceSvc_EmailHeader, kPrefixService, nullptr, nullptr,
    boolean("triggerAutoResponseEmail"), boolean("triggerOtherEmail"), boolean("triggerUserEmail"))
SOAP_TYPE_INFO(SforceServiceSvc_UserTerritoryDeleteHeader, kPrefixService, nullptr, nullptr, text("transferToUserId"))
SOAP_TYPE_INFO(SforceServiceSvc_DebuggingInfo, kPrefixService, nullptr, nullptr, text("debugLog"))
