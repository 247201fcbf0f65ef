// The service's fault detail types, found only through an xsi:type naming them.
#pragma once

#include "plugin/SforceService/SoapObject.h"

class fns_ApiFault : public SoapObject {
    SOAP_VALUE_TYPE(fns_ApiFault, SoapObject)
};

class fns_ApiQueryFault : public fns_ApiFault {
    SOAP_VALUE_TYPE(fns_ApiQueryFault, fns_ApiFault)
};

class fns_LoginFault : public fns_ApiFault {
    SOAP_VALUE_TYPE(fns_LoginFault, fns_ApiFault)
};

class fns_InvalidQueryLocatorFault : public fns_ApiFault {
    SOAP_VALUE_TYPE(fns_InvalidQueryLocatorFault, fns_ApiFault)
};

class fns_InvalidNewPasswordFault : public fns_ApiFault {
    SOAP_VALUE_TYPE(fns_InvalidNewPasswordFault, fns_ApiFault)
};

class fns_InvalidIdFault : public fns_ApiFault {
    SOAP_VALUE_TYPE(fns_InvalidIdFault, fns_ApiFault)
};

class fns_UnexpectedErrorFault : public fns_ApiFault {
    SOAP_VALUE_TYPE(fns_UnexpectedErrorFault, fns_ApiFault)
};

class fns_InvalidFieldFault : public fns_ApiQueryFault {
    SOAP_VALUE_TYPE(fns_InvalidFieldFault, fns_ApiQueryFault)
};

class fns_InvalidSObjectFault : public fns_ApiQueryFault {
    SOAP_VALUE_TYPE(fns_InvalidSObjectFault, fns_ApiQueryFault)
};

class fns_MalformedQueryFault : public fns_ApiQueryFault {
    SOAP_VALUE_TYPE(fns_MalformedQueryFault, fns_ApiQueryFault)
};

class fns_MalformedSearchFault : public fns_ApiQueryFault {
    SOAP_VALUE_TYPE(fns_MalformedSearchFault, fns_ApiQueryFault)
};
