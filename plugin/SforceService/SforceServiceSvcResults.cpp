#include "plugin/SforceService/SforceServiceSvcResults.h"

#include "plugin/SforceService/SoapNamespaces.h"

using namespace SoapField;

SOAP_TYPE_INFO(SforceServiceSvc_Error, kPrefixService, nullptr, nullptr,
    textList("fields"), text("message"), enumeration("statusCode", SforceServiceSvc_StatusCode()))

SOAP_TYPE_INFO(SforceServiceSvc_SaveResult, kPrefixService, nullptr, nullptr,
    objectList("errors", "SforceServiceSvc_Error"), text("id", "id_"), boolean("success"))

SOAP_TYPE_INFO(SforceServiceSvc_DeleteResult, kPrefixService, nullptr, nullptr,
    objectList("errors", "SforceServiceSvc_Error"), text("id", "id_"), boolean("success"))

SOAP_TYPE_INFO(SforceServiceSvc_GetUserInfoResult, kPrefixService, nullptr, nullptr,
    boolean("accessibilityMode"), text("currencySymbol"), text("orgDefaultCurrencyIsoCode"),
    boolean("orgDisallowHtmlAttachments"), boolean("orgHasPersonAccounts"), text("organizationId"),
    boolean("organizationMultiCurrency"), text("organizationName"), text("profileId"), text("roleId"),
    text("userDefaultCurrencyIsoCode"), text("userEmail"), text("userFullName"), text("userId"),
    text("userLanguage"), text("userLocale"), text("userName"), text("userTimeZone"), text("userType"),
    text("userUiSkin"))

SOAP_TYPE_INFO(SforceServiceSvc_LoginResult, kPrefixService, nullptr, nullptr,
    text("metadataServerUrl"), boolean("passwordExpired"), boolean("sandbox"), text("serverUrl"),
    text("sessionId"), text("userId"), object("userInfo", "SforceServiceSvc_GetUserInfoResult"))

SOAP_TYPE_INFO(SforceServiceSvc_PicklistEntry, kPrefixService, nullptr, nullptr,
    boolean("active"), boolean("defaultValue"), text("label"), bytes("validFor"), text("value"))

SOAP_TYPE_INFO(SforceServiceSvc_Field, kPrefixService, nullptr, nullptr,
    boolean("autoNumber"), number("byteLength"), boolean("calculated"), text("calculatedFormula"),
    boolean("caseSensitive"), text("controllerName"), boolean("createable"), boolean("custom"),
    text("defaultValueFormula"), boolean("defaultedOnCreate"), boolean("dependentPicklist"),
    boolean("deprecatedAndHidden"), number("digits"), boolean("externalId"), boolean("filterable"),
    boolean("groupable"), boolean("htmlFormatted"), boolean("idLookup"), text("inlineHelpText"), text("label"),
    number("length"), text("name"), boolean("nameField"), boolean("namePointing"), boolean("nillable"),
    objectList("picklistValues", "SforceServiceSvc_PicklistEntry"), number("precision"), textList("referenceTo"),
    text("relationshipName"), number("relationshipOrder"), boolean("restrictedPicklist"), number("scale"),
    boolean("sortable"), enumeration("type", SforceServiceSvc_fieldType()), boolean("unique"),
    boolean("updateable"), boolean("writeRequiresMasterRead"))

SOAP_TYPE_INFO(SforceServiceSvc_DescribeSObjectResult, kPrefixService, nullptr, nullptr,
    boolean("activateable"), boolean("createable"), boolean("custom"), boolean("customSetting"),
    boolean("deletable"), boolean("deprecatedAndHidden"), boolean("feedEnabled"),
    objectList("fields", "SforceServiceSvc_Field"), text("keyPrefix"), text("label"), text("labelPlural"),
    boolean("layoutable"), boolean("mergeable"), text("name"), boolean("queryable"), boolean("replicateable"),
    boolean("retrieveable"), boolean("searchable"), boolean("triggerable"), boolean("undeletable"),
    boolean("updateable"), text("urlDetail"), text("urlEdit"), text("urlNew"))

SOAP_TYPE_INFO(SforceServiceSvc_DescribeTab, kPrefixService, nullptr, nullptr,
    boolean("custom"), text("iconUrl"), text("label"), text("miniIconUrl"), text("sobjectName"), text("url"))

SOAP_TYPE_INFO(SforceServiceSvc_DescribeTabSetResult, kPrefixService, nullptr, nullptr,
    text("label"), text("logoUrl"), text("namespace"), boolean("selected"),
    objectList("tabs", "SforceServiceSvc_DescribeTab"))

std::vector<std::shared_ptr<SforceServiceSvc_Error>> SforceServiceSvc_SaveResult::geterrors() const
{
    return soapObjectsOfList<SforceServiceSvc_Error>(valueForKey("errors"));
}

std::vector<std::shared_ptr<SforceServiceSvc_PicklistEntry>> SforceServiceSvc_Field::getpicklistValues() const
{
    return soapObjectsOfList<SforceServiceSvc_PicklistEntry>(valueForKey("picklistValues"));
}
