// A SOAP fault from the service: code, string, actor and detail as text, read from the SOAP 1.1
// or SOAP 1.2 form of the Fault element.
#pragma once

#include "plugin/SforceService/SoapObject.h"

class SOAPFault : public SoapObject {
    SOAP_VALUE_TYPE(SOAPFault, SoapObject)
    void setfaultcode(const QString& text) { setValueForKey("faultcode", text); }
    void setfaultstring(const QString& text) { setValueForKey("faultstring", text); }
    void setfaultactor(const QString& text) { setValueForKey("faultactor", text); }
    void setdetail(const QString& text) { setValueForKey("detail", text); }

    void deserializeElementsFromNode(xmlNodePtr node) override;
    // The fault string without the server's exception class prefix and stack trace.
    QString simpleFaultString() const;
};
