// One page of query results: whether it is the last, the locator of the next page, and its records.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class SforceServiceSvc_QueryResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_QueryResult, SoapObject)
    void addRecords(const std::shared_ptr<ens_sObject>& record) { appendValueForKey("records", SoapValue(SoapObjectPtr(record))); }
    std::vector<std::shared_ptr<ens_sObject>> records() const;
    // True only when "done" was read as true.
    bool isDone() const;
    QString queryLocator() const { return textForKey("queryLocator"); }
};
