// SOAP header blocks: the ten request headers, the package version item and the debugging info
// that create and delete responses may carry.
#pragma once

#include "plugin/SforceService/SoapObject.h"

class SforceServiceSvc_SessionHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_SessionHeader, SoapObject)
    void setsessionId(const QString& sessionId) { setValueForKey("sessionId", sessionId); }
};

class SforceServiceSvc_LoginScopeHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_LoginScopeHeader, SoapObject)
};

class SforceServiceSvc_PackageVersion : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_PackageVersion, SoapObject)
};

class SforceServiceSvc_PackageVersionHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_PackageVersionHeader, SoapObject)
    void addPackageVersions(const std::shared_ptr<SforceServiceSvc_PackageVersion>& version)
    {
        appendValueForKey("packageVersions", SoapValue(SoapObjectPtr(version)));
    }
};

class SforceServiceSvc_AssignmentRuleHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_AssignmentRuleHeader, SoapObject)
};

class SforceServiceSvc_MruHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_MruHeader, SoapObject)
};

class SforceServiceSvc_AllowFieldTruncationHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_AllowFieldTruncationHeader, SoapObject)
};

class SforceServiceSvc_DisableFeedTrackingHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DisableFeedTrackingHeader, SoapObject)
};

class SforceServiceSvc_DebuggingHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DebuggingHeader, SoapObject)
};

class SforceServiceSvc_EmailHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_EmailHeader, SoapObject)
};

class SforceServiceSvc_UserTerritoryDeleteHeader : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_UserTerritoryDeleteHeader, SoapObject)
};

class SforceServiceSvc_DebuggingInfo : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DebuggingInfo, SoapObject)
};
