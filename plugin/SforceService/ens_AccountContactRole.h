// The role of a contact at an account, only ever read as a typed record of a query page.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_AccountContactRole : public ens_sObject {
    SOAP_VALUE_TYPE(ens_AccountContactRole, ens_sObject)
};
