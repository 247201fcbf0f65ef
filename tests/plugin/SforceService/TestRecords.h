// A record type of the tests' own (a custom object of the service), declared on the record base the
// way every record type is.
#pragma once

#include "plugin/SforceService/ens_sObject.h"

class ens_Widget__c : public ens_sObject {
    SOAP_VALUE_TYPE(ens_Widget__c, ens_sObject)
};

// Registers the test types with the binding's class lookup (once).
void registerTestRecordTypes();

// Parses `xml` and answers its root element; the document lives as long as the holder.
struct XmlFixture {
    explicit XmlFixture(const char* xml);
    ~XmlFixture();
    XmlFixture(const XmlFixture&) = delete;
    XmlFixture& operator=(const XmlFixture&) = delete;
    xmlNodePtr root() const;
    // The first element child of the root with that local name.
    xmlNodePtr child(const char* name) const;
    xmlDocPtr doc = nullptr;
};

// A new document whose root declares the envelope's namespaces, for writing values into.
struct WriteFixture {
    WriteFixture();
    ~WriteFixture();
    WriteFixture(const WriteFixture&) = delete;
    WriteFixture& operator=(const WriteFixture&) = delete;
    // The serialized form of `node`, which is appended to the root first.
    QString dump(xmlNodePtr node) const;
    xmlDocPtr doc = nullptr;
};

#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
