#include "plugin/SforceService/SforceServiceSvc_QueryResult.h"

#include "plugin/SforceService/SoapNamespaces.h"

SOAP_TYPE_INFO(SforceServiceSvc_QueryResult, kPrefixService, nullptr, nullptr,
    SoapField::boolean("done"), SoapField::text("queryLocator"), SoapField::objectList("records", "ens_sObject"),
    SoapField::number("size", "size_"))

SoapObjectSpan<ens_sObject> SforceServiceSvc_QueryResult::records() const
{
    static const int index = staticTypeInfo().indexOfKey(QStringLiteral("records"));
    return SoapObjectSpan<ens_sObject>(field(index).list());
}

bool SforceServiceSvc_QueryResult::isDone() const
{
    const auto done = valueForKey("done").boolean();
    return done && done->boolValue();
}
