// One row of a store as an object: its entity, its primary key once saved, and its attribute
// values. A context keeps at most one object per row (identity map) and tracks changes to it.
// The values a fetch read stay in the fetch's compact columns (FetchedValues), answered by the
// object's row; values set, or read one object at a time, the object holds itself: only those that
// are set, one after the other in attribute order. So an object of a card with a few fields filled
// (or of a lighter fetch) costs what those fields take.
// Values are QVariants: null for a missing value or column, QString for text, qlonglong for
// integers, double, QDateTime (UTC) for dates, QByteArray for binary data, and for a to-one
// relationship the target's primary key (use relatedObject/setRelatedObject instead).
#pragma once

#include "platform/store/AttributeBits.h"
#include "platform/store/FetchedValues.h"
#include "platform/store/StoreModel.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <vector>

class ManagedObject;
class ManagedObjectContext;
using ManagedObjectPtr = std::shared_ptr<ManagedObject>;
using ManagedObjectList = QList<ManagedObjectPtr>;

class ManagedObject : public std::enable_shared_from_this<ManagedObject> {
public:
    ManagedObject(const EntityDescription& entity, ManagedObjectContext* context);

    const EntityDescription& entity() const { return *m_entity; }
    const QString& entityName() const { return m_entity->name(); }
    // The context that holds the object; null once that context is gone.
    ManagedObjectContext* context() const { return m_context; }

    // Z_PK of the row; 0 while the object has not been saved.
    qint64 primaryKey() const { return m_pk; }
    // The row's version counter Z_OPT as last read or written.
    qint64 optimisticLockVersion() const { return m_opt; }
    // The object identifier's URI: "x-coredata://<store UUID>/<Entity>/p<Z_PK>" once saved,
    // "x-coredata:///<Entity>/t<UUID>" before.
    QString objectIdUri() const;

    // Value of an attribute; null for an unknown name.
    QVariant value(const QString& key) const;
    // An attribute a lighter fetch left unread is read from the store here (see FetchRequest).
    // The reference stays valid until the object is changed or read again: for that, an object
    // answering from a fetch's values takes them into its own keeping first (by name it does not).
    const QVariant& value(int index) const;
    // The value as text: "" for null, numbers in C locale form.
    QString stringValue(const QString& key) const;
    // Sets an attribute; an unknown name is ignored (answers false). Setting an equal value is no change.
    bool setValue(const QString& key, const QVariant& value);
    void setValue(int index, const QVariant& value);
    // Every attribute (to-one relationships as primary keys) keyed by name.
    QVariantMap dictionary() const;

    // To-one relationships.
    ManagedObjectPtr relatedObject(const QString& key) const;
    bool setRelatedObject(const QString& key, const ManagedObjectPtr& target);

    // The values changed since the object was last saved or read, keyed by attribute name.
    QVariantMap changedValues() const;
    bool hasChanges() const { return m_inserted || m_deleted || m_dirty.any(); }
    bool isInserted() const { return m_inserted; }
    bool isUpdated() const { return !m_inserted && !m_deleted && m_dirty.any(); }
    bool isDeleted() const { return m_deleted; }

private:
    friend class ManagedObjectContext;

    // The value of an attribute, read now when a lighter fetch left it unread.
    QVariant currentValue(int index) const
    {
        if (m_unread.test(index))
            readUnread(index);
        return storedValue(index);
    }
    // The value held for an attribute, without reading what a lighter fetch left unread.
    QVariant storedValue(int index) const
    {
        if (m_fromRow.test(index))
            return m_rowValues->value(m_row, index);
        return m_held.test(index) ? m_values[size_t(m_held.rank(index))] : QVariant();
    }
    // Holds `value` for the attribute; an invalid value is held as no value.
    void storeValue(int index, QVariant value);
    // Room for `count` values in all, when the object holds none yet.
    void reserveValues(int count);
    static const QVariant& nullValue();
    // Lets go of the values of `attributes` and marks those that had one unread, to be read again
    // on first use.
    void forgetValues(const AttributeBits& attributes);
    // Answers the values of `attributes` from row `row` of a fetch's values from now on. Values of
    // the row answered before that the new one does not replace are taken into the object's keeping.
    void useRow(std::shared_ptr<const FetchedValues> values, quint32 row, const AttributeBits& attributes);
    // Takes the values of `attributes` answered by the fetch's row into the object's own keeping.
    void keepRowValues(const AttributeBits& attributes);
    void keepRowValues() { keepRowValues(m_fromRow); }
    const FetchedValues* rowValues() const { return m_rowValues.get(); }
    // Lets go of what the object held itself for `attributes`.
    void eraseValues(const AttributeBits& attributes);
    // Stops answering `attributes` from the fetch's row, and lets go of the row once none is.
    void releaseRow(const AttributeBits& attributes);
    void markDirty(int index);
    void clearChanges();
    void readUnread(int index) const;
    void readAllUnread() const;

    const EntityDescription* m_entity;
    ManagedObjectContext* m_context;
    qint64 m_pk = 0;
    qint64 m_opt = 0;
    QString m_temporaryId;
    std::shared_ptr<const FetchedValues> m_rowValues; // the values of the fetch that read the row last
    AttributeBits m_fromRow; // attributes answered by m_rowValues
    std::vector<QVariant> m_values; // the values of the attributes in m_held, in attribute order
    AttributeBits m_held;
    AttributeBits m_dirty;
    mutable AttributeBits m_unread;     // attributes a lighter fetch left unread
    std::vector<ManagedObjectPtr> m_targets; // unsaved relationship targets, by attribute index
    quint64 m_seenInFetch = 0; // the last full fetch that read the object's row
    quint32 m_row = 0; // the object's row in m_rowValues
    bool m_inserted = false;
    bool m_deleted = false;
    bool m_pendingUpdate = false; // listed in the context's updated objects
    bool m_notifyPending = false; // listed for the next objects-did-change notification
};

Q_DECLARE_METATYPE(ManagedObjectPtr)
Q_DECLARE_METATYPE(ManagedObjectList)
