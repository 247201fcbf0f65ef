// Request and response bodies of the nine operations.
#pragma once

#include "plugin/SforceService/SforceServiceSvcResults.h"
#include "plugin/SforceService/SforceServiceSvc_QueryResult.h"

class SforceServiceSvc_login : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_login, SoapObject)
    void setusername(const QString& name) { setValueForKey("username", name); }
    void setpassword(const QString& password) { setValueForKey("password", password); }
};

class SforceServiceSvc_loginResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_loginResponse, SoapObject)
    std::shared_ptr<SforceServiceSvc_LoginResult> result() const { return valueForKey("result").objectAs<SforceServiceSvc_LoginResult>(); }
};

class SforceServiceSvc_describeSObject : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_describeSObject, SoapObject)
    void setsObjectType(const QString& type) { setValueForKey("sObjectType", type); }
};

class SforceServiceSvc_describeSObjectResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_describeSObjectResponse, SoapObject)
};

class SforceServiceSvc_describeSObjects : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_describeSObjects, SoapObject)
    void setsObjectType(const QStringList& types);
    void addSObjectType(const QString& type) { appendValueForKey("sObjectType", type); }
};

class SforceServiceSvc_describeSObjectsResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_describeSObjectsResponse, SoapObject)
    std::vector<std::shared_ptr<SforceServiceSvc_DescribeSObjectResult>> result() const
    {
        return soapObjectsOfList<SforceServiceSvc_DescribeSObjectResult>(valueForKey("result"));
    }
};

class SforceServiceSvc_describeTabs : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_describeTabs, SoapObject)
};

class SforceServiceSvc_describeTabsResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_describeTabsResponse, SoapObject)
};

class SforceServiceSvc_create : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_create, SoapObject)
    void addSObjects(const std::shared_ptr<ens_sObject>& record) { appendValueForKey("sObjects", SoapValue(SoapObjectPtr(record))); }
};

class SforceServiceSvc_createResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_createResponse, SoapObject)
    std::vector<std::shared_ptr<SforceServiceSvc_SaveResult>> getresult() const
    {
        return soapObjectsOfList<SforceServiceSvc_SaveResult>(valueForKey("result"));
    }
};

class SforceServiceSvc_delete : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_delete, SoapObject)
    void setids(const QStringList& ids);
    void addIds(const QString& id) { appendValueForKey("ids", id); }
};

class SforceServiceSvc_deleteResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_deleteResponse, SoapObject)
    std::vector<std::shared_ptr<SforceServiceSvc_DeleteResult>> result() const
    {
        return soapObjectsOfList<SforceServiceSvc_DeleteResult>(valueForKey("result"));
    }
};

class SforceServiceSvc_logout : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_logout, SoapObject)
};

class SforceServiceSvc_logoutResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_logoutResponse, SoapObject)
};

class SforceServiceSvc_query : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_query, SoapObject)
    void setqueryString(const QString& query) { setValueForKey("queryString", query); }
};

class SforceServiceSvc_queryResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_queryResponse, SoapObject)
    std::shared_ptr<SforceServiceSvc_QueryResult> result() const { return valueForKey("result").objectAs<SforceServiceSvc_QueryResult>(); }
};

class SforceServiceSvc_queryMore : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_queryMore, SoapObject)
    void setqueryLocator(const QString& locator) { setValueForKey("queryLocator", locator); }
};

class SforceServiceSvc_queryMoreResponse : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_queryMoreResponse, SoapObject)
    std::shared_ptr<SforceServiceSvc_QueryResult> result() const { return valueForKey("result").objectAs<SforceServiceSvc_QueryResult>(); }
};
