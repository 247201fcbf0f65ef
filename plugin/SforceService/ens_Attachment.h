// A file stored with another record: the upload side sends each page of a card image as one, its PDF
// bytes in Body (Base64 on the wire), with a file name and the id of the contact or lead as parent.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Attachment : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Attachment, ens_sObject)
    // A body of zero bytes is still sent, as an empty element.
    void setBody(const QByteArray& body) { setValueForKey("Body", SoapValue(body)); }
    void setContentType(const QString& value) { setTextField("ContentType", value); }
    void setName(const QString& value) { setTextField("Name", value); }
    void setParentId(const QString& value) { setTextField("ParentId", value); }
};
