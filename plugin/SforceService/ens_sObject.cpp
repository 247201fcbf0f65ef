#include "plugin/SforceService/ens_sObject.h"

#include "plugin/SforceService/SoapNamespaces.h"

SOAP_TYPE_INFO(ens_sObject, kPrefixRecord, nullptr, nullptr,
    SoapField::textList("fieldsToNull"), SoapField::text("Id", "Id_"))
