// A contract with an account, only ever read as a typed record of a query page.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Contract : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Contract, ens_sObject)
};
