#include "plugin/SforceService/FaultTypes.h"

#include "plugin/SforceService/SoapNamespaces.h"

SOAP_TYPE_INFO(fns_ApiFault, kPrefixFault, nullptr, nullptr,
    SoapField::enumeration("exceptionCode", fns_ExceptionCode()), SoapField::text("exceptionMessage"))
SOAP_TYPE_INFO(fns_ApiQueryFault, kPrefixFault, "fns:ApiQueryFault", &fns_ApiFault::staticTypeInfo(),
    SoapField::number("row"), SoapField::number("column"))
SOAP_TYPE_INFO(fns_LoginFault, kPrefixFault, "fns:LoginFault", &fns_ApiFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_InvalidQueryLocatorFault, kPrefixFault, "fns:InvalidQueryLocatorFault", &fns_ApiFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_InvalidNewPasswordFault, kPrefixFault, "fns:InvalidNewPasswordFault", &fns_ApiFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_InvalidIdFault, kPrefixFault, "fns:InvalidIdFault", &fns_ApiFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_UnexpectedErrorFault, kPrefixFault, "fns:UnexpectedErrorFault", &fns_ApiFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_InvalidFieldFault, kPrefixFault, "fns:InvalidFieldFault", &fns_ApiQueryFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_InvalidSObjectFault, kPrefixFault, "fns:InvalidSObjectFault", &fns_ApiQueryFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_MalformedQueryFault, kPrefixFault, "fns:MalformedQueryFault", &fns_ApiQueryFault::staticTypeInfo())
SOAP_TYPE_INFO(fns_MalformedSearchFault, kPrefixFault, "fns:MalformedSearchFault", &fns_ApiQueryFault::staticTypeInfo())
