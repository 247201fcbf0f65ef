#include "plugin/SforceService/SforceServiceSvcBodies.h"

#include "plugin/SforceService/SoapNamespaces.h"

using namespace SoapField;

SOAP_TYPE_INFO(SforceServiceSvc_login, kPrefixService, nullptr, nullptr, text("username"), text("password"))
SOAP_TYPE_INFO(SforceServiceSvc_loginResponse, kPrefixService, nullptr, nullptr, object("result", "SforceServiceSvc_LoginResult"))
SOAP_TYPE_INFO(SforceServiceSvc_describeSObject, kPrefixService, nullptr, nullptr, text("sObjectType"))
SOAP_TYPE_INFO(SforceServiceSvc_describeSObjectResponse, kPrefixService, nullptr, nullptr,
    object("result", "SforceServiceSvc_DescribeSObjectResult"))
SOAP_TYPE_INFO(SforceServiceSvc_describeSObjects, kPrefixService, nullptr, nullptr, textList("sObjectType"))
SOAP_TYPE_INFO(SforceServiceSvc_describeSObjectsResponse, kPrefixService, nullptr, nullptr,
    objectList("result", "SforceServiceSvc_DescribeSObjectResult"))
SOAP_TYPE_INFO(SforceServiceSvc_describeTabs, kPrefixService, nullptr, nullptr)
SOAP_TYPE_INFO(SforceServiceSvc_describeTabsResponse, kPrefixService, nullptr, nullptr,
    objectList("result", "SforceServiceSvc_DescribeTabSetResult"))
SOAP_TYPE_INFO(SforceServiceSvc_create, kPrefixService, nullptr, nullptr, objectList("sObjects", "ens_sObject"))
SOAP_TYPE_INFO(SforceServiceSvc_createResponse, kPrefixService, nullptr, nullptr, objectList("result", "SforceServiceSvc_SaveResult"))
SOAP_TYPE_INFO(SforceServiceSvc_delete, kPrefixService, nullptr, nullptr, textList("ids"))
SOAP_TYPE_INFO(SforceServiceSvc_deleteResponse, kPrefixService, nullptr, nullptr, objectList("result", "SforceServiceSvc_DeleteResult"))
SOAP_TYPE_INFO(SforceServiceSvc_logout, kPrefixService, nullptr, nullptr)
SOAP_TYPE_INFO(SforceServiceSvc_logoutResponse, kPrefixService, nullptr, nullptr)
SOAP_TYPE_INFO(SforceServiceSvc_query, kPrefixService, nullptr, nullptr, text("queryString"))
SOAP_TYPE_INFO(SforceServiceSvc_queryResponse, kPrefixService, nullptr, nullptr, object("result", "SforceServiceSvc_QueryResult"))
SOAP_TYPE_INFO(SforceServiceSvc_queryMore, kPrefixService, nullptr, nullptr, text("queryLocator"))
SOAP_TYPE_INFO(SforceServiceSvc_queryMoreResponse, kPrefixService, nullptr, nullptr, object("result", "SforceServiceSvc_QueryResult"))

static SoapValue textListValue(const QStringList& texts)
{
    SoapValue::List list;
    for (const QString& text : texts)
        list.emplace_back(text);
    return SoapValue(std::move(list));
}

void SforceServiceSvc_describeSObjects::setsObjectType(const QStringList& types)
{
    setValueForKey("sObjectType", textListValue(types));
}

void SforceServiceSvc_delete::setids(const QStringList& ids)
{
    setValueForKey("ids", textListValue(ids));
}
