// A scheduled event, only ever read as a typed record of a query page.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Event : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Event, ens_sObject)
};
