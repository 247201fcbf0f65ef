// The description of a store's entities: names, attributes and how they map onto tables and
// columns in the store's own SQLite layout (table Z<ENTITY>, column Z<ATTRIBUTE>, both upper-case).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <memory>

enum class AttributeType {
    String,   // VARCHAR
    Integer16, Integer32, Integer64, Boolean, // INTEGER
    Double,   // FLOAT
    Date,     // TIMESTAMP: seconds since 2001-01-01 00:00:00 UTC
    Binary,   // BLOB
    ToOne,    // INTEGER: the target row's Z_PK
};

struct AttributeDescription {
    QString name;
    AttributeType type = AttributeType::String;
    QString destinationEntity; // ToOne only
    QByteArray column;         // "Z" + upper-cased name
    int maxLength = 0; // String: longer texts are read cut to this many characters; 0 none

    const char* sqlType() const;
    bool isNumeric() const;
    // What a select reads of the column: the column, or its first maxLength characters.
    QByteArray selectExpression() const;
};

class EntityDescription {
public:
    EntityDescription(QString name, QList<AttributeDescription> attributes);

    const QString& name() const { return m_name; }
    const QByteArray& table() const { return m_table; }
    const QList<AttributeDescription>& attributes() const { return m_attributes; }
    int attributeCount() const { return int(m_attributes.size()); }
    const AttributeDescription& attribute(int index) const { return m_attributes[index]; }
    // Index of an attribute by name, -1 when the entity has none of that name.
    int indexOf(const QString& name) const { return m_index.value(name, -1); }
    QStringList attributeNames() const;

private:
    QString m_name;
    QByteArray m_table;
    QList<AttributeDescription> m_attributes;
    QHash<QString, int> m_index;
};

// An attribute that stores written before it existed lack: opening such a store adds its column and
// fills it with `fill` (one SQL statement) in the same transaction.
struct ColumnAddition {
    QString entity;
    QString attribute;
    QByteArray fill;
};

class ManagedObjectModel {
public:
    explicit ManagedObjectModel(QList<EntityDescription> entities, QList<ColumnAddition> additions = {});

    const QList<EntityDescription>& entities() const { return m_entities; }
    const QList<ColumnAddition>& columnAdditions() const { return m_additions; }
    const EntityDescription* entity(const QString& name) const;
    // Position of the entity in the model, -1 when absent.
    int indexOf(const QString& name) const;

private:
    QList<EntityDescription> m_entities;
    QList<ColumnAddition> m_additions;
};

// A short way to write attribute lists.
AttributeDescription attr(const QString& name, AttributeType type = AttributeType::String);
AttributeDescription toOne(const QString& name, const QString& destination);
