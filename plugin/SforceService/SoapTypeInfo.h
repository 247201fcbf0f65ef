// The description of one value type: its class name, namespace prefix, written type attribute and
// fields in wire order. Value, header, body, result, fault and record types are tables of these.
#pragma once

#include "plugin/SforceService/SoapEnumerations.h"
#include "plugin/SforceService/SoapValue.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <functional>
#include <initializer_list>
#include <vector>

enum class SoapKind { Text, Number, Date, Boolean, Bytes, Object, Enumeration };

struct SoapFieldInfo {
    QString wireName;
    SoapKind kind = SoapKind::Text;
    bool list = false;
    QString declaredClass;  // the class that reads an element without a type attribute
    const SoapEnumeration* enumeration = nullptr;
    QString memberName;     // the keyed-read name when it differs from the wire name
};

namespace SoapField {
SoapFieldInfo text(const char* wireName, const char* memberName = nullptr);
SoapFieldInfo number(const char* wireName, const char* memberName = nullptr);
SoapFieldInfo date(const char* wireName);
SoapFieldInfo boolean(const char* wireName);
SoapFieldInfo bytes(const char* wireName);
SoapFieldInfo object(const char* wireName, const char* className);
SoapFieldInfo enumeration(const char* wireName, const SoapEnumeration& enumeration);
SoapFieldInfo textList(const char* wireName);
SoapFieldInfo objectList(const char* wireName, const char* className);
}

class SoapTypeInfo {
public:
    using Factory = std::function<SoapObjectPtr()>;

    // `base` fields come first; `xsiType` is the type attribute the type writes on its element
    // (nullptr: none).
    SoapTypeInfo(const char* className, const char* nsPrefix, const char* xsiType, const SoapTypeInfo* base,
        std::initializer_list<SoapFieldInfo> ownFields, Factory factory);

    const QString& className() const { return m_className; }
    const QString& nsPrefix() const { return m_nsPrefix; }
    const QString& xsiType() const { return m_xsiType; }
    const std::vector<SoapFieldInfo>& fields() const { return m_fields; }
    int ownFieldCount() const { return m_ownFieldCount; }
    // Index of the field with that wire name, or -1.
    int indexOfWireName(const QString& wireName) const { return m_byWireName.value(wireName, -1); }
    // The same for a name in UTF-8, with no conversion: the field at `expected` is tried first
    // (elements usually come in wire order), then the name is looked up.
    int indexOfWireName(const char* wireName, int expected) const;
    // Index of the field with that member or wire name, or -1.
    int indexOfKey(const QString& key) const;
    SoapObjectPtr create() const { return m_factory(); }
    bool inherits(const SoapTypeInfo& other) const;

private:
    QString m_className;
    QString m_nsPrefix;
    QString m_xsiType;
    const SoapTypeInfo* m_base;
    std::vector<SoapFieldInfo> m_fields;
    int m_ownFieldCount;
    QHash<QString, int> m_byWireName;
    std::vector<QByteArray> m_wireNamesUtf8;
    QHash<QByteArrayView, int> m_byWireNameUtf8; // views of m_wireNamesUtf8
    QHash<QString, int> m_byMemberName;
    Factory m_factory;
};

// Declares the members every value type class has; `Name` is the class, `Base` its base class.
#define SOAP_VALUE_TYPE(Name, Base)                                                    \
public:                                                                                \
    Name() : Base(staticTypeInfo()) {}                                                 \
    static const SoapTypeInfo& staticTypeInfo();                                       \
    static std::shared_ptr<Name> deserializeNode(xmlNodePtr node)                      \
    {                                                                                  \
        return std::static_pointer_cast<Name>(SoapObject::deserializeWithType(staticTypeInfo(), node)); \
    }                                                                                  \
                                                                                       \
protected:                                                                             \
    explicit Name(const SoapTypeInfo& info) : Base(info) {}                            \
                                                                                       \
public:

// Defines `Name::staticTypeInfo()`: prefix, written type attribute (or nullptr), base type info
// (or nullptr) and the own fields in wire order.
#define SOAP_TYPE_INFO(Name, Prefix, XsiType, BaseInfo, ...)                                                  \
    const SoapTypeInfo& Name::staticTypeInfo()                                                                \
    {                                                                                                         \
        static const SoapTypeInfo info(#Name, Prefix, XsiType, BaseInfo, {__VA_ARGS__},                      \
            [] { return SoapObjectPtr(std::make_shared<Name>()); });                                          \
        return info;                                                                                          \
    }
