#include "plugin/SforceService/SoapTypeInfo.h"

namespace SoapField {

static SoapFieldInfo make(const char* wireName, SoapKind kind, const char* declaredClass, const char* memberName = nullptr)
{
    SoapFieldInfo field;
    field.wireName = QString::fromLatin1(wireName);
    field.kind = kind;
    field.declaredClass = QString::fromLatin1(declaredClass);
    if (memberName)
        field.memberName = QString::fromLatin1(memberName);
    return field;
}

SoapFieldInfo text(const char* wireName, const char* memberName) { return make(wireName, SoapKind::Text, "NSString", memberName); }
SoapFieldInfo number(const char* wireName, const char* memberName) { return make(wireName, SoapKind::Number, "NSNumber", memberName); }
SoapFieldInfo date(const char* wireName) { return make(wireName, SoapKind::Date, "NSDate"); }
SoapFieldInfo boolean(const char* wireName) { return make(wireName, SoapKind::Boolean, "USBoolean"); }
SoapFieldInfo bytes(const char* wireName) { return make(wireName, SoapKind::Bytes, "NSData"); }
SoapFieldInfo object(const char* wireName, const char* className) { return make(wireName, SoapKind::Object, className); }

SoapFieldInfo enumeration(const char* wireName, const SoapEnumeration& values)
{
    SoapFieldInfo field = make(wireName, SoapKind::Enumeration, "");
    field.enumeration = &values;
    return field;
}

SoapFieldInfo textList(const char* wireName)
{
    SoapFieldInfo field = text(wireName);
    field.list = true;
    return field;
}

SoapFieldInfo objectList(const char* wireName, const char* className)
{
    SoapFieldInfo field = object(wireName, className);
    field.list = true;
    return field;
}

}

SoapTypeInfo::SoapTypeInfo(const char* className, const char* nsPrefix, const char* xsiType, const SoapTypeInfo* base,
    std::initializer_list<SoapFieldInfo> ownFields, Factory factory)
    : m_className(QString::fromLatin1(className))
    , m_nsPrefix(QString::fromLatin1(nsPrefix))
    , m_xsiType(xsiType ? QString::fromLatin1(xsiType) : QString())
    , m_base(base)
    , m_ownFieldCount(int(ownFields.size()))
    , m_factory(std::move(factory))
{
    if (base)
        m_fields = base->fields();
    m_fields.insert(m_fields.end(), ownFields.begin(), ownFields.end());
    for (int i = 0; i < int(m_fields.size()); ++i) {
        m_byWireName.insert(m_fields[size_t(i)].wireName, i);
        m_wireNamesUtf8.push_back(m_fields[size_t(i)].wireName.toUtf8());
        if (!m_fields[size_t(i)].memberName.isEmpty())
            m_byMemberName.insert(m_fields[size_t(i)].memberName, i);
    }
    for (int i = 0; i < int(m_wireNamesUtf8.size()); ++i)
        m_byWireNameUtf8.insert(QByteArrayView(m_wireNamesUtf8[size_t(i)]), i);
}

int SoapTypeInfo::indexOfWireName(const char* wireName, int expected) const
{
    // A record's fields come in the order the query named them, which is the wire order only when
    // the query kept to it: a record type has up to a hundred fields, too many to search in turn.
    const QByteArrayView name(wireName);
    if (expected >= 0 && expected < int(m_wireNamesUtf8.size()) && m_wireNamesUtf8[size_t(expected)] == name)
        return expected;
    return m_byWireNameUtf8.value(name, -1);
}

int SoapTypeInfo::indexOfKey(const QString& key) const
{
    const int byMember = m_byMemberName.value(key, -1);
    return byMember >= 0 ? byMember : indexOfWireName(key);
}

bool SoapTypeInfo::inherits(const SoapTypeInfo& other) const
{
    for (const SoapTypeInfo* info = this; info; info = info->m_base) {
        if (info == &other)
            return true;
    }
    return false;
}
