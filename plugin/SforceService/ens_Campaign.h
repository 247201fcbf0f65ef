// The service's campaign, only ever read: the campaign search shows these five fields and the chosen
// campaign's id joins new leads to it.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

#include <QDateTime>

class ens_Campaign : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Campaign, ens_sObject)
    QString Name() const { return textForKey("Name"); }
    QDateTime StartDate() const { return valueForKey("StartDate").date(); }
    QDateTime EndDate() const { return valueForKey("EndDate").date(); }
    QString Type() const { return textForKey("Type"); }
    QString Status() const { return textForKey("Status"); }
};
