// Reads a response body into a SoapBindingResponse: a safe parse (no network, no document type
// declaration, libxml2's depth limit kept), then the Header's DebuggingInfo blocks where asked and
// the Body's response element and SOAP faults.
#pragma once

#include "plugin/SforceService/SoapBindingResponse.h"

#include <libxml/tree.h>

class SoapTypeInfo;

// The parsed document, or nullptr for malformed XML, an empty body or a document type declaration.
xmlDocPtr parseSoapDocument(const QByteArray& bytes);

// Fills `response` from `bytes`; a parse failure sets the XML error.
void readSoapResponse(const QByteArray& bytes, const QString& operationName, const SoapTypeInfo& responseType,
    bool readsDebuggingInfo, SoapBindingResponse& response);
