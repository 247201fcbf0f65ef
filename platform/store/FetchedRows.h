// The stored rows of one entity read as plain values, without an object per row: what a list over
// many rows filters, sorts and shows. A row becomes an object only when asked (`object`), and an
// attribute that was not read is read for every row in one pass when first asked for.
//
// The values are those of the store when read: unsaved changes and unsaved inserts are not in
// them. Whoever keeps the rows follows changes through the objects (the context announces them).
// Once the context is gone the rows keep what they read and answer no objects.
#pragma once

#include "platform/store/ManagedObject.h"
#include "platform/store/RowColumn.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class ManagedObjectContext;

class FetchedRows {
public:
    const QString& entityName() const { return m_entityName; }
    // The context the rows were read from; null once it is gone.
    const ManagedObjectContext* context() const { return m_contextAlive.expired() ? nullptr : m_context; }
    qsizetype count() const { return qsizetype(m_keys.size()); }
    qint64 primaryKey(qsizetype row) const { return m_keys[size_t(row)]; }
    // The row of a primary key; -1 when the rows hold none.
    qsizetype rowWithPrimaryKey(qint64 primaryKey) const;

    // The column of an attribute, read now when it was not (-1: no such attribute, or it cannot be read).
    int columnOf(const QString& attribute) const;
    // The row's value as the store's objects hold it (see ManagedObject).
    QVariant value(qsizetype row, int column) const { return m_columns[size_t(column)].value(row); }
    // The value as text, as ManagedObject::stringValue gives it: "" for null.
    QString stringValue(qsizetype row, int column) const { return m_columns[size_t(column)].stringValue(row); }
    // Reads those of the attributes that were not read, for every row in one pass.
    void readAttributes(const QStringList& attributes) const;

    // The row's object: the context's registered one, else read whole from the store. Null when
    // the context is gone or the row no longer exists.
    ManagedObjectPtr object(qsizetype row) const;

private:
    friend class ManagedObjectContext;
    FetchedRows() = default;

    ManagedObjectContext* m_context = nullptr;
    std::weak_ptr<void> m_contextAlive;
    QString m_entityName;
    std::vector<qint64> m_keys;
    mutable QStringList m_attributes;                 // the read attributes, by column
    mutable std::vector<RowColumn> m_columns; // by column
    mutable QHash<qint64, qsizetype> m_rowOfKey;       // filled on first use
};

using FetchedRowsPtr = std::shared_ptr<const FetchedRows>;
