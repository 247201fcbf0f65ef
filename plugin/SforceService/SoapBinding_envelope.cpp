#include "plugin/SforceService/SoapBinding_envelope.h"

#include "plugin/SforceService/SoapNamespaces.h"
#include "plugin/SforceService/SoapObject.h"
#include "platform/foundation/Log.h"

#include <libxml/tree.h>

namespace {

const xmlChar* xc(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

bool hasEntries(const SoapElements& elements)
{
    for (const auto& entry : elements) {
        if (entry.second)
            return true;
    }
    return false;
}

void appendElements(xmlNodePtr parent, const SoapElements& elements)
{
    for (const auto& [name, object] : elements) {
        if (object)
            xmlAddChild(parent, object->xmlNodeForDoc(parent->doc, name));
    }
}

}

QByteArray SoapBinding_envelope::serializedFormUsingHeaderElements(const SoapElements& headerElements, const SoapElements& bodyElements)
{
    xmlDocPtr doc = xmlNewDoc(xc("1.0"));
    if (!doc) {
        logLine(QStringLiteral("Error creating the xml document tree"));
        return QByteArray();
    }
    xmlNodePtr root = xmlNewDocNode(doc, nullptr, xc("Envelope"), nullptr);
    xmlDocSetRootElement(doc, root);
    xmlNsPtr soap = xmlNewNs(root, xc(kNamespaceSoapEnvelope), xc("soap"));
    xmlNsPtr xsl = xmlNewNs(root, xc(kNamespaceXslt), xc("xsl"));
    xmlNewNs(root, xc(kNamespaceSchemaInstance), xc("xsi"));
    xmlNewNsProp(root, xsl, xc("version"), xc("1.0"));
    xmlNewNs(root, xc(kNamespaceSchema), xc(kPrefixSchema));
    xmlNewNs(root, xc(kNamespaceEnterprise), xc(kPrefixService));
    xmlNewNs(root, xc(kNamespaceSObject), xc(kPrefixRecord));
    xmlNewNs(root, xc(kNamespaceFault), xc(kPrefixFault));
    xmlSetNs(root, soap);
    if (hasEntries(headerElements))
        appendElements(xmlNewChild(root, soap, xc("Header"), nullptr), headerElements);
    if (hasEntries(bodyElements))
        appendElements(xmlNewChild(root, soap, xc("Body"), nullptr), bodyElements);
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemory(doc, &buffer, &size, 1);
    QByteArray text(reinterpret_cast<const char*>(buffer), size);
    xmlFree(buffer);
    xmlFreeDoc(doc);
    return text;
}
