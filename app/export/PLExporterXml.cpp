// The element and document building the ContactXML files share.
#include "app/export/PLExporter.h"

#include "app/core/LocalString.h"
#include "app/core/VersionUtilities.h"
#include "app/export/ExportText.h"


namespace {

const char kContactXmlNamespace[] = "http://www.xmlns.org/2002/ContactXML";
const char kCreatorBase[] = "http://www.orvane.com/Pelmora/";

QByteArray xmlText(const QString& text)
{
    return cleanExportText(text).toUtf8();
}

const xmlChar* chars(const QByteArray& bytes)
{
    return reinterpret_cast<const xmlChar*>(bytes.constData());
}

} // namespace

xmlNodePtr PLExporter::creatAtomicNode(const QString& name, const Attributes& attributes, const QString& value, int checkState)
{
    if (name.isEmpty() || checkState != 1)
        return nullptr;
    xmlNodePtr node = xmlNewNode(nullptr, chars(name.toUtf8()));
    if (!node)
        return nullptr;
    for (const auto& [attribute, text] : attributes)
        xmlNewProp(node, chars(attribute.toUtf8()), chars(xmlText(text)));
    if (!value.isEmpty())
        xmlNodeAddContent(node, chars(xmlText(value)));
    return node;
}

QList<xmlNodePtr> PLExporter::makeArrayWithObjects(std::initializer_list<xmlNodePtr> objects)
{
    QList<xmlNodePtr> list;
    for (xmlNodePtr object : objects) {
        if (object)
            list.append(object);
    }
    return list;
}

XmlDocument PLExporter::newContactXMLDocument()
{
    XmlDocument document(xmlNewDoc(BAD_CAST "1.0"));
    if (!document)
        return nullptr;
    xmlNodePtr root = xmlNewDocNode(document.get(), nullptr, BAD_CAST "ContactXML", nullptr);
    if (!root)
        return nullptr;
    xmlDocSetRootElement(document.get(), root);
    xmlNsPtr ns = xmlNewNs(root, BAD_CAST kContactXmlNamespace, nullptr);
    xmlSetNs(root, ns);
    xmlNewProp(root, BAD_CAST "version", BAD_CAST "1.1");
    xmlNewProp(root, BAD_CAST "creator", chars((QLatin1String(kCreatorBase) + getCurrentPLVersion()).toUtf8()));
    return document;
}

QString PLExporter::langValueForXML()
{
    switch (getLocalString(QStringLiteral("IDS_RESOURCE_LANG_ID")).trimmed().toInt()) {
    case 1: return QStringLiteral("fr");
    case 2: return QStringLiteral("de");
    case 3: return QStringLiteral("it");
    case 6: return QStringLiteral("es");
    case 8: return QStringLiteral("pt");
    case 11: return QStringLiteral("ja-JP");
    case 19: return QStringLiteral("zh-TW");
    case 23: return QStringLiteral("ko");
    case 32: return QStringLiteral("ru");
    case 33: return QStringLiteral("zh-CN");
    default: return QStringLiteral("en");
    }
}

bool PLExporter::contactXmlBytes(xmlDocPtr document, QByteArray* bytes)
{
    if (!document || !bytes)
        return false;
    xmlChar* buffer = nullptr;
    int length = 0;
    xmlDocDumpFormatMemoryEnc(document, &buffer, &length, "UTF-16", 1);
    if (!buffer || length <= 0) {
        xmlFree(buffer);
        return false;
    }
    *bytes = QByteArray(reinterpret_cast<const char*>(buffer), length);
    xmlFree(buffer);
    return true;
}
