// Result types of login, create, delete and describe calls, with the per-record error.
#pragma once

#include "plugin/SforceService/SoapObject.h"

class SforceServiceSvc_Error : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_Error, SoapObject)
    QString getmessage() const { return textForKey("message"); }
    qint32 getstatusCode() const { return valueForKey("statusCode").enumeration(); }
    void addFields(const QString& field) { appendValueForKey("fields", field); }
};

class SforceServiceSvc_SaveResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_SaveResult, SoapObject)
    QString getid() const { return textForKey("id"); }
    std::optional<USBoolean> getsuccess() const { return valueForKey("success").boolean(); }
    std::vector<std::shared_ptr<SforceServiceSvc_Error>> geterrors() const;
    void addErrors(const std::shared_ptr<SforceServiceSvc_Error>& error) { appendValueForKey("errors", SoapValue(SoapObjectPtr(error))); }
};

class SforceServiceSvc_DeleteResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DeleteResult, SoapObject)
    void addErrors(const std::shared_ptr<SforceServiceSvc_Error>& error) { appendValueForKey("errors", SoapValue(SoapObjectPtr(error))); }
};

class SforceServiceSvc_GetUserInfoResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_GetUserInfoResult, SoapObject)
};

class SforceServiceSvc_LoginResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_LoginResult, SoapObject)
};

class SforceServiceSvc_PicklistEntry : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_PicklistEntry, SoapObject)
};

class SforceServiceSvc_Field : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_Field, SoapObject)
    qint32 gettype() const { return valueForKey("type").enumeration(); }
    std::vector<std::shared_ptr<SforceServiceSvc_PicklistEntry>> getpicklistValues() const;
    void addPicklistValues(const std::shared_ptr<SforceServiceSvc_PicklistEntry>& entry) { appendValueForKey("picklistValues", SoapValue(SoapObjectPtr(entry))); }
    void addReferenceTo(const QString& name) { appendValueForKey("referenceTo", name); }
};

class SforceServiceSvc_DescribeSObjectResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DescribeSObjectResult, SoapObject)
    void addFields(const std::shared_ptr<SforceServiceSvc_Field>& field) { appendValueForKey("fields", SoapValue(SoapObjectPtr(field))); }
};

class SforceServiceSvc_DescribeTab : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DescribeTab, SoapObject)
};

class SforceServiceSvc_DescribeTabSetResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_DescribeTabSetResult, SoapObject)
    void addTabs(const std::shared_ptr<SforceServiceSvc_DescribeTab>& tab) { appendValueForKey("tabs", SoapValue(SoapObjectPtr(tab))); }
};

// The objects of a list value that are of type T, in list order.
template <typename T>
std::vector<std::shared_ptr<T>> soapObjectsOfList(const SoapValue& list)
{
    std::vector<std::shared_ptr<T>> out;
    for (const SoapValue& item : list.list()) {
        if (auto object = item.objectAs<T>())
            out.push_back(object);
    }
    return out;
}
