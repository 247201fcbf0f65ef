// One page of query results: whether it is the last, the locator of the next page, and its records.
#pragma once

#include "plugin/SforceService/SoapObjectSpan.h"
#include "plugin/SforceService/ens_sObject.h"

class SforceServiceSvc_QueryResult : public SoapObject {
    SOAP_VALUE_TYPE(SforceServiceSvc_QueryResult, SoapObject)
    void addRecords(const std::shared_ptr<ens_sObject>& record) { appendValueForKey("records", SoapValue(SoapObjectPtr(record))); }
    // The page's records where the page holds them: a page has up to 2,000.
    SoapObjectSpan<ens_sObject> records() const;
    // True only when "done" was read as true.
    bool isDone() const;
    QString queryLocator() const { return textForKey("queryLocator"); }
};
