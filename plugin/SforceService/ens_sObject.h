// The record base: every record type of the service derives from it, appends its own fields in wire
// order after "fieldsToNull" and "Id", and writes the type attribute "ens:<Type>" on its element.
// A record type is declared with SOAP_VALUE_TYPE(ens_X, ens_sObject) and defined with
// SOAP_TYPE_INFO(ens_X, kPrefixRecord, "ens:X", &ens_sObject::staticTypeInfo(), fields…),
// then registered in SoapTypeCatalog.cpp.
#pragma once

#include "plugin/SforceService/SoapObject.h"

class ens_sObject : public SoapObject {
    SOAP_VALUE_TYPE(ens_sObject, SoapObject)
    void setId(const QString& id) { setValueForKey("Id", id); }
    QString getId() const { return textForKey("Id"); }
    void addFieldsToNull(const QString& field) { appendValueForKey("fieldsToNull", field); }

protected:
    // The setters of the record types: a null text clears the field, so it is not sent; any other
    // text, the empty one included, is sent as it stands.
    void setTextField(const char* wireName, const QString& text)
    {
        setValueForKey(QString::fromLatin1(wireName), text.isNull() ? SoapValue() : SoapValue(text));
    }
};
