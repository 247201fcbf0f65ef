#include "plugin/SforceService/SoapObject.h"

#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapNamespaces.h"
#include "plugin/SforceService/SoapTypeRegistry.h"
#include "plugin/SforceService/USAdditions.h"
#include "plugin/SforceService/USGlobals.h"

#include <QVarLengthArray>

#include <algorithm>

namespace {

const xmlChar* xc(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

// The element's xsi:type attribute, or nullptr.
xmlAttrPtr schemaInstanceType(xmlNodePtr node)
{
    for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next) {
        if (attribute->ns && attribute->ns->href && xmlStrEqual(attribute->name, xc("type"))
            && xmlStrEqual(attribute->ns->href, xc(kNamespaceSchemaInstance)))
            return attribute;
    }
    return nullptr;
}

// How many elements of the node's name follow one another from it, the node included.
int repeatsOf(xmlNodePtr node)
{
    int count = 0;
    for (xmlNodePtr sibling = node; sibling; sibling = sibling->next) {
        if (sibling->type != XML_ELEMENT_NODE)
            continue;
        if (!xmlStrEqual(sibling->name, node->name))
            break;
        ++count;
    }
    return count;
}

// Whether `value` may be an item of the list field `f`: a list of objects holds only objects of
// its declared class or of classes derived from it, so that it can be handed out as that class.
bool fitsList(const SoapFieldInfo& f, const SoapValue& value)
{
    if (value.isNone())
        return false;
    if (f.kind != SoapKind::Object)
        return true;
    const SoapTypeInfo* declared = SoapTypeRegistry::instance().find(f.declaredClass);
    return value.isObject() && (!declared || value.object()->typeInfo().inherits(*declared));
}

std::optional<USAdditions::Codec> codecOfKind(SoapKind kind)
{
    switch (kind) {
    case SoapKind::Text: return USAdditions::Codec::String;
    case SoapKind::Number: return USAdditions::Codec::Number;
    case SoapKind::Date: return USAdditions::Codec::Date;
    case SoapKind::Boolean: return USAdditions::Codec::Boolean;
    case SoapKind::Bytes: return USAdditions::Codec::Data;
    case SoapKind::Object:
    case SoapKind::Enumeration: return std::nullopt;
    }
    return std::nullopt;
}

}

SoapObject::SoapObject(const SoapTypeInfo& info)
    : m_info(&info)
    , m_values(info.fields().size())
{
    for (size_t i = 0; i < m_values.size(); ++i) {
        const SoapFieldInfo& f = info.fields()[i];
        if (f.list)
            m_values[i] = SoapValue(SoapValue::List());
        else if (f.kind == SoapKind::Enumeration)
            m_values[i] = SoapValue(qint32(0));
    }
}

xmlNodePtr SoapObject::xmlNodeForDoc(xmlDocPtr doc, const QString& elementName, const QString& prefix) const
{
    const QByteArray name = USAdditions::qualifiedName(elementName, prefix.isEmpty() ? nsPrefix() : prefix).toUtf8();
    xmlNodePtr node = xmlNewDocNode(doc, nullptr, xc(name.constData()), nullptr);
    if (!m_info->xsiType().isEmpty()) {
        const QByteArray type = m_info->xsiType().toUtf8();
        xmlNodePtr root = xmlDocGetRootElement(doc);
        xmlNsPtr xsi = root ? xmlSearchNs(doc, root, xc("xsi")) : nullptr;
        if (xsi)
            xmlNewNsProp(node, xsi, xc("type"), xc(type.constData()));
        else
            xmlNewProp(node, xc("type"), xc(type.constData()));
    }
    addAttributesToNode(node);
    addElementsToNode(node);
    return node;
}

void SoapObject::addAttributesToNode(xmlNodePtr) const
{
}

static void appendValue(xmlNodePtr parent, const QString& name, const QString& prefix, const SoapValue& value)
{
    xmlNodePtr child = value.isObject() ? value.object()->xmlNodeForDoc(parent->doc, name, prefix)
                                        : USAdditions::writeValue(parent->doc, name, prefix, value);
    xmlAddChild(parent, child);
}

void SoapObject::addElementsToNode(xmlNodePtr node) const
{
    const QString& prefix = nsPrefix();
    for (size_t i = 0; i < m_values.size(); ++i) {
        const SoapFieldInfo& f = m_info->fields()[i];
        const SoapValue& value = m_values[i];
        if (f.list) {
            for (const SoapValue& item : value.list()) {
                if (!item.isNone())
                    appendValue(node, f.wireName, prefix, item);
            }
        } else if (f.kind == SoapKind::Enumeration && f.enumeration) {
            if (value.enumeration() != 0)
                xmlAddChild(node, USAdditions::newTextElement(node->doc, f.wireName, prefix, f.enumeration->toString(value.enumeration())));
        } else if (!value.isNone()) {
            appendValue(node, f.wireName, prefix, value);
        }
    }
}

void SoapObject::deserializeAttributesFromNode(xmlNodePtr)
{
}

void SoapObject::deserializeElementsFromNode(xmlNodePtr node)
{
    int last = -1;
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        // A list repeats its field; other fields follow each other in wire order.
        const int expected = last >= 0 && m_info->fields()[size_t(last)].list ? last : last + 1;
        const int index = m_info->indexOfWireName(reinterpret_cast<const char*>(child->name), expected);
        if (index >= 0) {
            readField(index, child);
            last = index;
        }
    }
}

void SoapObject::readField(int index, xmlNodePtr child)
{
    const SoapFieldInfo& f = m_info->fields()[size_t(index)];
    SoapValue& slot = m_values[size_t(index)];
    if (f.kind == SoapKind::Enumeration) {
        slot = SoapValue(f.enumeration ? f.enumeration->fromString(USAdditions::readText(child).value_or(QString())) : 0);
        return;
    }
    // An element without attributes has no type of its own: a plain field reads it with its codec.
    const std::optional<USAdditions::Codec> codec = child->properties ? std::nullopt : codecOfKind(f.kind);
    SoapValue value = codec ? USAdditions::decodeCodec(*codec, child) : decodeElement(child, f.declaredClass);
    if (f.list) {
        SoapValue::List& items = slot.list();
        // The list is sized once, for the run of elements that repeat the field.
        if (items.capacity() == 0)
            items.reserve(size_t(repeatsOf(child)));
        if (fitsList(f, value))
            items.push_back(std::move(value));
    } else {
        slot = std::move(value);
    }
}

std::optional<QString> SoapObject::resolvedTypeName(xmlNodePtr node)
{
    const xmlAttrPtr attribute = schemaInstanceType(node);
    if (!attribute)
        return std::nullopt;
    // Read in place: a response's records each carry one, and most name the type of the one before.
    const USAdditions::NodeText text(attribute);
    const QByteArrayView typeBytes = text.hasText() ? text.bytes() : QByteArrayView("");
    const qsizetype colon = typeBytes.indexOf(':');
    if (colon < 0) {
        const QString type = QString::fromUtf8(typeBytes);
        // A bare type name is first looked for in the default namespace, then taken as a class name.
        xmlNsPtr defaultNs = xmlSearchNs(node->doc, node, nullptr);
        if (defaultNs && defaultNs->href) {
            const QString prefix = USGlobals::sharedInstance().wsdlStandardNamespaces().value(
                QString::fromUtf8(reinterpret_cast<const char*>(defaultNs->href)));
            const QString name = prefix + QLatin1Char('_') + type;
            if (!prefix.isEmpty() && SoapTypeRegistry::instance().find(name))
                return name;
        }
        return type;
    }
    QVarLengthArray<char, 32> prefix(colon + 1);
    std::copy(typeBytes.begin(), typeBytes.begin() + colon, prefix.begin());
    prefix[colon] = '\0';
    xmlNsPtr ns = xmlSearchNs(node->doc, node, xc(prefix.constData()));
    if (!ns || !ns->href)
        return QString();
    // The records of a response carry the same few types: the last one resolved is kept, by its
    // text and its namespace (the namespace table does not change once the binding is set up).
    struct Resolved {
        QByteArray type;
        QByteArray href;
        QString name;
    };
    thread_local Resolved last;
    const char* href = reinterpret_cast<const char*>(ns->href);
    if (last.type == typeBytes && last.href == href)
        return last.name;
    const QString local = QString::fromUtf8(typeBytes.sliced(colon + 1)).section(QLatin1Char(':'), 0, 0);
    const QString classPrefix = USGlobals::sharedInstance().wsdlStandardNamespaces().value(QString::fromUtf8(href));
    const QString name = classPrefix.isEmpty() ? QString() : classPrefix + QLatin1Char('_') + local;
    last = {typeBytes.toByteArray(), QByteArray(href), name};
    return name;
}

SoapValue SoapObject::decodeElement(xmlNodePtr node, const QString& declaredClass)
{
    SforceServiceSvc::initialize();
    const QString className = resolvedTypeName(node).value_or(declaredClass);
    if (className.isEmpty())
        return SoapValue();
    if (auto value = USAdditions::decodeCodecClass(className, node))
        return *value;
    const SoapTypeInfo* info = SoapTypeRegistry::instance().find(className);
    return info ? SoapValue(deserializeWithType(*info, node)) : SoapValue();
}

SoapObjectPtr SoapObject::deserializeWithType(const SoapTypeInfo& info, xmlNodePtr node)
{
    SoapObjectPtr object = info.create();
    object->deserializeAttributesFromNode(node);
    object->deserializeElementsFromNode(node);
    return object;
}

SoapValue SoapObject::valueForKey(const QString& key) const
{
    const int index = m_info->indexOfKey(key);
    return index >= 0 ? m_values[size_t(index)] : SoapValue();
}

bool SoapObject::setValueForKey(const QString& key, const SoapValue& value)
{
    const int index = m_info->indexOfKey(key);
    if (index < 0)
        return false;
    const SoapFieldInfo& f = m_info->fields()[size_t(index)];
    if (f.list && (!value.isList() || !std::all_of(value.list().begin(), value.list().end(),
                                                     [&](const SoapValue& item) { return fitsList(f, item); })))
        return false;
    m_values[size_t(index)] = (f.kind == SoapKind::Enumeration && value.isNone()) ? SoapValue(qint32(0)) : value;
    return true;
}

void SoapObject::appendValueForKey(const QString& key, const SoapValue& value)
{
    const int index = m_info->indexOfKey(key);
    if (index >= 0 && m_info->fields()[size_t(index)].list && fitsList(m_info->fields()[size_t(index)], value))
        m_values[size_t(index)].list().push_back(value);
}
