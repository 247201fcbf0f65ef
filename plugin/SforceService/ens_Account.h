// The service's account: the company on a card. The upload side creates one per card filed as a new
// account, or takes an existing one from its account search and shows it by name.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Account : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Account, ens_sObject)
    void setBillingCity(const QString& value) { setTextField("BillingCity", value); }
    void setBillingCountry(const QString& value) { setTextField("BillingCountry", value); }
    void setBillingPostalCode(const QString& value) { setTextField("BillingPostalCode", value); }
    void setBillingState(const QString& value) { setTextField("BillingState", value); }
    void setBillingStreet(const QString& value) { setTextField("BillingStreet", value); }
    void setFax(const QString& value) { setTextField("Fax", value); }
    void setName(const QString& value) { setTextField("Name", value); }
    void setPhone(const QString& value) { setTextField("Phone", value); }
    void setSite(const QString& value) { setTextField("Site", value); }
    void setWebsite(const QString& value) { setTextField("Website", value); }
    QString getName() const { return textForKey("Name"); }
};
