// One row of a list's content as its filter, its sort and its cells read it: the values of the
// row's object once it has one, else those a light fetch read of the row (FetchedRows).
#pragma once

#include "platform/store/FetchedRows.h"
#include "platform/store/ManagedObject.h"

#include <QString>
#include <QVariant>

#include <functional>

class ListRow {
public:
    explicit ListRow(const ManagedObject& object) : m_object(&object) {}
    ListRow(const FetchedRows* rows, qsizetype row, const ManagedObject* object) : m_rows(rows), m_row(row), m_object(object) {}

    // Null for an unknown attribute.
    QVariant value(const QString& key) const;
    // The value as text, as ManagedObject::stringValue gives it: "" for null.
    QString stringValue(const QString& key) const;

private:
    const FetchedRows* m_rows = nullptr;
    qsizetype m_row = 0;
    const ManagedObject* m_object = nullptr;
};

// A list's filter: whether the row is arranged.
using RowPredicate = std::function<bool(const ListRow&)>;
