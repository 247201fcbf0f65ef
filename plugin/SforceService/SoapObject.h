// The base of every value type of the service binding: fields held by their table, written as a
// libxml2 element with children in field order, read back by local name with xsi:type resolution.
#pragma once

#include "plugin/SforceService/SoapTypeInfo.h"

#include <libxml/tree.h>

class SoapObject {
public:
    explicit SoapObject(const SoapTypeInfo& info);
    virtual ~SoapObject() = default;
    SoapObject(const SoapObject&) = delete;
    SoapObject& operator=(const SoapObject&) = delete;

    const SoapTypeInfo& typeInfo() const { return *m_info; }
    const QString& className() const { return m_info->className(); }
    const QString& nsPrefix() const { return m_info->nsPrefix(); }

    // A new unattached element named "prefix:elementName" (the type's own prefix when `prefix` is
    // empty), with the type attribute where the type has one, holding the set fields.
    xmlNodePtr xmlNodeForDoc(xmlDocPtr doc, const QString& elementName, const QString& prefix = QString()) const;
    virtual void addAttributesToNode(xmlNodePtr node) const;
    virtual void addElementsToNode(xmlNodePtr node) const;
    virtual void deserializeAttributesFromNode(xmlNodePtr node);
    virtual void deserializeElementsFromNode(xmlNodePtr node);

    // Keyed read by member name ("id_", "Id_", "size_") or wire name; none for an unknown key.
    SoapValue valueForKey(const QString& key) const;
    // Keyed write; false for an unknown key. A list field takes a list value whole; a list of
    // objects refuses a list holding anything but objects of its class.
    bool setValueForKey(const QString& key, const SoapValue& value);
    // Appends to a list field; none, and in a list of objects anything but an object of its
    // class, is ignored.
    void appendValueForKey(const QString& key, const SoapValue& value);

    // A new object of `info` read from `node`.
    static SoapObjectPtr deserializeWithType(const SoapTypeInfo& info, xmlNodePtr node);
    // Reads `node` by the class its xsi:type names, else by `declaredClass`; none when the class is unknown.
    static SoapValue decodeElement(xmlNodePtr node, const QString& declaredClass);
    // The class named by the node's xsi:type, resolved by namespace URI; nullopt without the attribute,
    // an empty name when it cannot be resolved.
    static std::optional<QString> resolvedTypeName(xmlNodePtr node);

protected:
    const SoapValue& field(int index) const { return m_values[size_t(index)]; }
    QString textForKey(const QString& key) const { return valueForKey(key).text(); }

private:
    void readField(int index, xmlNodePtr child);

    const SoapTypeInfo* m_info;
    std::vector<SoapValue> m_values;
};
