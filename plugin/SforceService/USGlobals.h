// The process-wide table from namespace URI to the class prefix of the types in that namespace.
// Filled once by the binding's start-up, then only read.
#pragma once

#include <QHash>
#include <QString>

class USGlobals {
public:
    static USGlobals& sharedInstance();

    QHash<QString, QString>& wsdlStandardNamespaces() { return m_wsdlStandardNamespaces; }

private:
    USGlobals() = default;
    QHash<QString, QString> m_wsdlStandardNamespaces;
};
