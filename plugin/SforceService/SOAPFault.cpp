#include "plugin/SforceService/SOAPFault.h"

#include "plugin/SforceService/SoapNamespaces.h"
#include "plugin/SforceService/USAdditions.h"

SOAP_TYPE_INFO(SOAPFault, kPrefixService, nullptr, nullptr,
    SoapField::text("faultcode"), SoapField::text("faultstring"), SoapField::text("faultactor"), SoapField::text("detail"))

namespace {

bool named(xmlNodePtr node, const char* name)
{
    return xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

SoapValue textValue(xmlNodePtr node)
{
    const auto text = USAdditions::readText(node);
    return text ? SoapValue(*text) : SoapValue();
}

}

void SOAPFault::deserializeElementsFromNode(xmlNodePtr node)
{
    if (!node->ns || !node->ns->href)
        return;
    const QByteArray uri(reinterpret_cast<const char*>(node->ns->href));
    const bool soap11 = uri == kNamespaceSoapEnvelope;
    const bool soap12 = uri == kNamespaceSoap12Envelope;
    if (!soap11 && !soap12)
        return;
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (soap11) {
            for (const char* name : {"faultcode", "faultstring", "faultactor", "detail"}) {
                if (named(child, name))
                    setValueForKey(QString::fromLatin1(name), textValue(child));
            }
        } else if (named(child, "Code")) {
            for (xmlNodePtr value = child->children; value; value = value->next) {
                if (value->type == XML_ELEMENT_NODE && named(value, "Value")) {
                    setValueForKey("faultcode", textValue(value));
                    break;
                }
            }
        } else if (named(child, "Reason")) {
            xmlChar* content = xmlNodeGetContent(child);
            setfaultstring(content ? QString::fromUtf8(reinterpret_cast<const char*>(content)) : QString(""));
            xmlFree(content);
        } else if (named(child, "Node")) {
            setValueForKey("faultactor", textValue(child));
        } else if (named(child, "Detail")) {
            setValueForKey("detail", textValue(child));
        }
    }
}

QString SOAPFault::simpleFaultString() const
{
    QString text = textForKey("faultstring");
    text.remove(QStringLiteral("System.Web.Services.Protocols.SoapException: "));
    const qsizetype trace = text.indexOf(QStringLiteral("\n   at "));
    return trace >= 0 ? text.left(trace) : text;
}
