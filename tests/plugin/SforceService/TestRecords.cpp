#include "tests/plugin/SforceService/TestRecords.h"

#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapNamespaces.h"
#include "plugin/SforceService/SoapTypeRegistry.h"

#include <libxml/parser.h>

#include <mutex>

using namespace SoapField;

SOAP_TYPE_INFO(ens_Widget__c, kPrefixRecord, "ens:Widget__c", &ens_sObject::staticTypeInfo(),
    number("Amount__c"), text("Email"), text("Name"), object("Parent__r", "ens_Widget__c"), date("Started__c"))

void registerTestRecordTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        SforceServiceSvc::initialize();
        SoapTypeRegistry::instance().registerType(ens_Widget__c::staticTypeInfo());
    });
}

XmlFixture::XmlFixture(const char* xml)
{
    SforceServiceSvc::initialize();
    doc = xmlReadMemory(xml, int(strlen(xml)), nullptr, nullptr, XML_PARSE_NONET);
}

XmlFixture::~XmlFixture()
{
    xmlFreeDoc(doc);
}

xmlNodePtr XmlFixture::root() const
{
    return xmlDocGetRootElement(doc);
}

xmlNodePtr XmlFixture::child(const char* name) const
{
    for (xmlNodePtr c = root()->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && xmlStrEqual(c->name, reinterpret_cast<const xmlChar*>(name)))
            return c;
    }
    return nullptr;
}

WriteFixture::WriteFixture()
{
    SforceServiceSvc::initialize();
    doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    xmlNodePtr root = xmlNewDocNode(doc, nullptr, reinterpret_cast<const xmlChar*>("root"), nullptr);
    xmlDocSetRootElement(doc, root);
    xmlNewNs(root, reinterpret_cast<const xmlChar*>(kNamespaceSchemaInstance), reinterpret_cast<const xmlChar*>("xsi"));
    xmlNewNs(root, reinterpret_cast<const xmlChar*>(kNamespaceEnterprise), reinterpret_cast<const xmlChar*>(kPrefixService));
    xmlNewNs(root, reinterpret_cast<const xmlChar*>(kNamespaceSObject), reinterpret_cast<const xmlChar*>(kPrefixRecord));
    xmlNewNs(root, reinterpret_cast<const xmlChar*>(kNamespaceFault), reinterpret_cast<const xmlChar*>(kPrefixFault));
}

WriteFixture::~WriteFixture()
{
    xmlFreeDoc(doc);
}

QString WriteFixture::dump(xmlNodePtr node) const
{
    xmlAddChild(xmlDocGetRootElement(doc), node);
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlNodeDump(buffer, doc, node, 0, 0);
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer)));
    xmlBufferFree(buffer);
    return text;
}
