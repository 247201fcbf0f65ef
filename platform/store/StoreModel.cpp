#include "platform/store/StoreModel.h"

#include "platform/store/AttributeBits.h"

#include <algorithm>

const char* AttributeDescription::sqlType() const
{
    switch (type) {
    case AttributeType::String: return "VARCHAR";
    case AttributeType::Integer16:
    case AttributeType::Integer32:
    case AttributeType::Integer64:
    case AttributeType::Boolean:
    case AttributeType::ToOne: return "INTEGER";
    case AttributeType::Double: return "FLOAT";
    case AttributeType::Date: return "TIMESTAMP";
    case AttributeType::Binary: return "BLOB";
    }
    return "VARCHAR";
}

bool AttributeDescription::isNumeric() const
{
    return type != AttributeType::String && type != AttributeType::Binary && type != AttributeType::Date;
}

QByteArray AttributeDescription::selectExpression() const
{
    if (type != AttributeType::String || maxLength <= 0)
        return column;
    // SQLite counts characters, so a cut never falls inside one.
    return "substr(" + column + ", 1, " + QByteArray::number(maxLength) + ')';
}

EntityDescription::EntityDescription(QString name, QList<AttributeDescription> attributes)
    : m_name(std::move(name)), m_table("Z" + m_name.toUpper().toUtf8()), m_attributes(std::move(attributes))
{
    // Objects keep their attributes' flags in AttributeBits.
    if (m_attributes.size() > AttributeBits::kCapacity)
        qFatal("entity %s has more than %d attributes", qPrintable(m_name), AttributeBits::kCapacity);
    for (int i = 0; i < m_attributes.size(); ++i) {
        AttributeDescription& a = m_attributes[i];
        a.column = "Z" + a.name.toUpper().toUtf8();
        m_index.insert(a.name, i);
    }
}

QStringList EntityDescription::attributeNames() const
{
    QStringList names;
    names.reserve(m_attributes.size());
    for (const AttributeDescription& a : m_attributes)
        names.append(a.name);
    return names;
}

ManagedObjectModel::ManagedObjectModel(QList<EntityDescription> entities, QList<ColumnAddition> additions)
    : m_entities(std::move(entities)), m_additions(std::move(additions))
{
    // The store numbers entities by their sorted names; keeping that order here keeps Z_ENT stable.
    std::sort(m_entities.begin(), m_entities.end(),
              [](const EntityDescription& a, const EntityDescription& b) { return a.name() < b.name(); });
}

const EntityDescription* ManagedObjectModel::entity(const QString& name) const
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : &m_entities[i];
}

int ManagedObjectModel::indexOf(const QString& name) const
{
    for (int i = 0; i < m_entities.size(); ++i)
        if (m_entities[i].name() == name)
            return i;
    return -1;
}

AttributeDescription attr(const QString& name, AttributeType type)
{
    AttributeDescription a;
    a.name = name;
    a.type = type;
    return a;
}

AttributeDescription toOne(const QString& name, const QString& destination)
{
    AttributeDescription a;
    a.name = name;
    a.type = AttributeType::ToOne;
    a.destinationEntity = destination;
    return a;
}
