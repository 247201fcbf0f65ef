#include "plugin/SforceService/SoapResponseReader.h"

#include "plugin/SforceService/SOAPFault.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SforceServiceSvcHeaders.h"
#include "plugin/SforceService/SoapNamespaces.h"

#include <climits>
#include <ctime>
#include <libxml/parser.h>

namespace {

// A SOAP message must not carry a document type declaration; refusing it stops entity tricks early.
void refuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    *static_cast<bool*>(parser->_private) = true;
    xmlStopParser(parser);
}

// libxml2 reports some input errors (bad encodings) outside its parse options: they stay quiet,
// the caller reports the failure as a whole.
void ignoreGenericError(void*, const char*, ...)
{
}

void ignoreStructuredError(void*, xmlErrorPtr)
{
}

bool named(xmlNodePtr node, const QByteArray& name)
{
    return xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name.constData()));
}

bool isSoapFault(xmlNodePtr node)
{
    if (!named(node, "Fault") || !node->ns || !node->ns->href)
        return false;
    const QByteArray uri(reinterpret_cast<const char*>(node->ns->href));
    return uri == kNamespaceSoapEnvelope || uri == kNamespaceSoap12Envelope;
}

}

xmlDocPtr parseSoapDocument(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > INT_MAX)
        return nullptr;
    SforceServiceSvc::initialize();
    xmlSetGenericErrorFunc(nullptr, ignoreGenericError);
    xmlSetStructuredErrorFunc(nullptr, ignoreStructuredError);
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser)
        return nullptr;
    bool sawDocumentType = false;
    parser->_private = &sawDocumentType;
    parser->sax->internalSubset = refuseDocumentType;
    xmlDocPtr doc = xmlCtxtReadMemory(parser, bytes.constData(), int(bytes.size()), nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const bool wellFormed = parser->wellFormed && !sawDocumentType;
    xmlFreeParserCtxt(parser);
    if (doc && (!wellFormed || !xmlDocGetRootElement(doc))) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    return doc;
}

void readSoapResponse(const QByteArray& bytes, const QString& operationName, const SoapTypeInfo& responseType,
    bool readsDebuggingInfo, SoapBindingResponse& response)
{
    xmlDocPtr doc = parseSoapDocument(bytes);
    if (!doc) {
        response.seterror(SoapError{QString::fromLatin1(kErrorDomainXML), 1, QString::fromLatin1(kErrorTextParse)});
        return;
    }
    // The system's time zone is read once for the response; its date values are converted with it.
    tzset();
    const QByteArray responseElement = (operationName + QLatin1String("Response")).toUtf8();
    for (xmlNodePtr child = xmlDocGetRootElement(doc)->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (readsDebuggingInfo && named(child, "Header")) {
            SoapBindingResponse::Parts headers;
            for (xmlNodePtr block = child->children; block; block = block->next) {
                if (block->type == XML_ELEMENT_NODE && named(block, "DebuggingInfo"))
                    headers.push_back(SforceServiceSvc_DebuggingInfo::deserializeNode(block));
            }
            response.setHeaders(std::move(headers));
        } else if (named(child, "Body")) {
            SoapBindingResponse::Parts parts;
            for (xmlNodePtr part = child->children; part; part = part->next) {
                if (part->type != XML_ELEMENT_NODE)
                    continue;
                if (named(part, responseElement))
                    parts.push_back(SoapObject::deserializeWithType(responseType, part));
                else if (isSoapFault(part))
                    parts.push_back(SOAPFault::deserializeNode(part));
            }
            response.setBodyParts(std::move(parts));
        }
    }
    xmlFreeDoc(doc);
}
