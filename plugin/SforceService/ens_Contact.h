// The service's contact: a person, usually at an account. The upload side creates one per card
// filed as a contact and reads Email, FirstName and LastName of contacts found by its duplicate check.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Contact : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Contact, ens_sObject)
    void setAccountId(const QString& value) { setTextField("AccountId", value); }
    void setDepartment(const QString& value) { setTextField("Department", value); }
    void setDescription(const QString& value) { setTextField("Description", value); }
    void setEmail(const QString& value) { setTextField("Email", value); }
    void setFax(const QString& value) { setTextField("Fax", value); }
    void setFirstName(const QString& value) { setTextField("FirstName", value); }
    void setLastName(const QString& value) { setTextField("LastName", value); }
    void setMailingCity(const QString& value) { setTextField("MailingCity", value); }
    void setMailingCountry(const QString& value) { setTextField("MailingCountry", value); }
    void setMailingPostalCode(const QString& value) { setTextField("MailingPostalCode", value); }
    void setMailingState(const QString& value) { setTextField("MailingState", value); }
    void setMailingStreet(const QString& value) { setTextField("MailingStreet", value); }
    void setMobilePhone(const QString& value) { setTextField("MobilePhone", value); }
    void setName(const QString& value) { setTextField("Name", value); }
    void setPhone(const QString& value) { setTextField("Phone", value); }
    void setTitle(const QString& value) { setTextField("Title", value); }
    QString AccountId() const { return textForKey("AccountId"); }
};
