// What a fetch asks for: an entity, an optional predicate and sort descriptors.
// Predicates are evaluated in memory on the fetched objects, never turned into SQL,
// so their meaning does not depend on SQLite's LIKE or collations.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class ManagedObject;

using Predicate = std::function<bool(const ManagedObject&)>;

struct SortDescriptor {
    QString key;
    bool ascending = true;
};

struct FetchRequest {
    QString entityName;
    Predicate predicate;            // empty: every object
    QList<SortDescriptor> sortDescriptors;
    bool includesPendingChanges = true; // unsaved inserts are found, unsaved deletes are not
    // Empty: every attribute is read. Otherwise only these are read from the rows, and objects
    // already known let go of their other unchanged values; an object's other attributes are read
    // when first asked for, with the rest of its row, or for every such object of the entity in one
    // pass over the column once a second object asks for the same one. A list that shows a few
    // columns of many rows holds only those.
    QStringList propertiesToFetch = {};
};

// The predicate "%K = %@": the value of `key` equals `value` (numbers compare by value,
// so 1 equals 1.0 and the text "1" does not equal the number 1).
Predicate keyEquals(const QString& key, const QVariant& value);

// Whether a value is a number (integers, booleans, reals) for the comparisons below.
bool isNumberValue(const QVariant& value);

// Orders two attribute values as a sort descriptor does: null first, then numbers by value,
// dates by time and text by UTF-16 code units; answers <0, 0 or >0.
int compareValues(const QVariant& a, const QVariant& b);
