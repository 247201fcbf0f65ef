// The service's lead: a prospective customer. The upload side creates one per card filed as a lead and
// reads Email, FirstName and LastName of leads found by its duplicate check through the keyed read.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Lead : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Lead, ens_sObject)
    void setCity(const QString& value) { setTextField("City", value); }
    void setCompany(const QString& value) { setTextField("Company", value); }
    void setCountry(const QString& value) { setTextField("Country", value); }
    void setDescription(const QString& value) { setTextField("Description", value); }
    void setEmail(const QString& value) { setTextField("Email", value); }
    void setFax(const QString& value) { setTextField("Fax", value); }
    void setFirstName(const QString& value) { setTextField("FirstName", value); }
    void setLastName(const QString& value) { setTextField("LastName", value); }
    void setLeadSource(const QString& value) { setTextField("LeadSource", value); }
    void setMobilePhone(const QString& value) { setTextField("MobilePhone", value); }
    void setPhone(const QString& value) { setTextField("Phone", value); }
    void setPostalCode(const QString& value) { setTextField("PostalCode", value); }
    void setState(const QString& value) { setTextField("State", value); }
    void setStatus(const QString& value) { setTextField("Status", value); }
    void setStreet(const QString& value) { setTextField("Street", value); }
    void setTitle(const QString& value) { setTextField("Title", value); }
    void setWebsite(const QString& value) { setTextField("Website", value); }
};
