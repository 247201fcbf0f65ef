// A user of the service, only ever read: nested as the creator, modifier, owner or manager of other
// records, or as a typed record of a query page.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_User : public ens_sObject {
    SOAP_VALUE_TYPE(ens_User, ens_sObject)
};
