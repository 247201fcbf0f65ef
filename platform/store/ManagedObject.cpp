#include "platform/store/ManagedObject.h"

#include "platform/store/ManagedObjectContext.h"

#include <QUuid>

#include <algorithm>

ManagedObject::ManagedObject(const EntityDescription& entity, ManagedObjectContext* context)
    : m_entity(&entity), m_context(context)
{
}

const QVariant& ManagedObject::nullValue()
{
    static const QVariant none;
    return none;
}

void ManagedObject::reserveValues(int count)
{
    if (m_values.empty())
        m_values.reserve(size_t(count));
}

void ManagedObject::eraseValues(const AttributeBits& attributes)
{
    const AttributeBits drop = attributes & m_held;
    if (!drop.any())
        return;
    size_t kept = 0, at = 0;
    for (int a = 0; a < m_entity->attributeCount(); ++a) {
        if (!m_held.test(a))
            continue;
        if (!drop.test(a)) {
            if (kept != at)
                m_values[kept] = std::move(m_values[at]);
            ++kept;
        }
        ++at;
    }
    m_values.resize(kept);
    m_values.shrink_to_fit();
    m_held = m_held & ~drop;
}

void ManagedObject::releaseRow(const AttributeBits& attributes)
{
    m_fromRow = m_fromRow & ~attributes;
    if (!m_fromRow.any())
        m_rowValues.reset();
}

void ManagedObject::forgetValues(const AttributeBits& attributes)
{
    // Only values held are marked unread: one that was null stays null until read again.
    AttributeBits had = attributes & m_held;
    const AttributeBits fromRow = attributes & m_fromRow;
    if (fromRow.any()) {
        for (int a = 0; a < m_entity->attributeCount(); ++a)
            if (fromRow.test(a) && !m_rowValues->isNull(m_row, a))
                had.set(a);
        releaseRow(fromRow);
    }
    eraseValues(attributes);
    m_unread = m_unread | had;
}

void ManagedObject::useRow(std::shared_ptr<const FetchedValues> values, quint32 row, const AttributeBits& attributes)
{
    keepRowValues(m_fromRow & ~attributes);
    eraseValues(attributes);
    if (!attributes.any())
        return;
    m_rowValues = std::move(values);
    m_row = row;
    m_fromRow = attributes;
}

void ManagedObject::keepRowValues(const AttributeBits& attributes)
{
    const AttributeBits taken = attributes & m_fromRow;
    if (!taken.any())
        return;
    // storeValue lets go of the row with its last value.
    const std::shared_ptr<const FetchedValues> values = m_rowValues;
    m_values.reserve(m_values.size() + size_t(taken.count()));
    for (int a = 0; a < m_entity->attributeCount(); ++a)
        if (taken.test(a))
            storeValue(a, values->value(m_row, a));
}

void ManagedObject::storeValue(int index, QVariant value)
{
    if (m_fromRow.test(index)) {
        AttributeBits one;
        one.set(index);
        releaseRow(one);
    }
    const int at = m_held.rank(index);
    if (m_held.test(index)) {
        if (value.isValid()) {
            m_values[size_t(at)] = std::move(value);
        } else {
            m_values.erase(m_values.begin() + at);
            m_held.reset(index);
        }
    } else if (value.isValid()) {
        // An object being filled grows a few values at a time; a saved one, read far more often
        // than it is changed, by the one value.
        if (m_values.size() == m_values.capacity())
            m_values.reserve(m_values.size() + (m_pk > 0 ? 1 : std::max<size_t>(4, m_values.size() / 4)));
        m_values.insert(m_values.begin() + at, std::move(value));
        m_held.set(index);
    }
}

QString ManagedObject::objectIdUri() const
{
    if (m_pk > 0) {
        const QString uuid = m_context ? m_context->storeUuid() : QString();
        return QStringLiteral("x-coredata://%1/%2/p%3").arg(uuid, entityName()).arg(m_pk);
    }
    return QStringLiteral("x-coredata:///%1/t%2").arg(entityName(), m_temporaryId);
}

QVariant ManagedObject::value(const QString& key) const
{
    const int i = m_entity->indexOf(key);
    return i < 0 ? QVariant() : currentValue(i);
}

const QVariant& ManagedObject::value(int index) const
{
    if (m_unread.test(index))
        readUnread(index);
    // Each object is made non-const (make_shared); what it answers does not change here.
    if (m_rowValues)
        const_cast<ManagedObject*>(this)->keepRowValues();
    return m_held.test(index) ? m_values[size_t(m_held.rank(index))] : nullValue();
}

QString ManagedObject::stringValue(const QString& key) const
{
    const QVariant v = value(key);
    if (!v.isValid() || v.isNull())
        return QString(QLatin1String(""));
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 17);
    return v.toString();
}

bool ManagedObject::setValue(const QString& key, const QVariant& value)
{
    const int i = m_entity->indexOf(key);
    if (i < 0)
        return false;
    setValue(i, value);
    return true;
}

void ManagedObject::setValue(int index, const QVariant& value)
{
    // Compared with the stored value, so that an unread attribute set to its own value is no change.
    const QVariant current = currentValue(index);
    if (current.typeId() == value.typeId() && current == value)
        return;
    storeValue(index, value);
    if (m_entity->attribute(index).type == AttributeType::ToOne) {
        if (!m_targets.empty())
            m_targets[size_t(index)].reset();
    }
    markDirty(index);
}

QVariantMap ManagedObject::dictionary() const
{
    readAllUnread();
    QVariantMap map;
    for (int i = 0; i < m_entity->attributeCount(); ++i)
        map.insert(m_entity->attribute(i).name, currentValue(i));
    return map;
}

ManagedObjectPtr ManagedObject::relatedObject(const QString& key) const
{
    const int i = m_entity->indexOf(key);
    if (i < 0 || m_entity->attribute(i).type != AttributeType::ToOne)
        return nullptr;
    if (!m_targets.empty() && m_targets[size_t(i)])
        return m_targets[size_t(i)];
    const QVariant pk = currentValue(i);
    if (!m_context || !pk.isValid() || pk.isNull())
        return nullptr;
    return m_context->objectWithPrimaryKey(m_entity->attribute(i).destinationEntity, pk.toLongLong());
}

bool ManagedObject::setRelatedObject(const QString& key, const ManagedObjectPtr& target)
{
    const int i = m_entity->indexOf(key);
    if (i < 0 || m_entity->attribute(i).type != AttributeType::ToOne)
        return false;
    if (target && target->entityName() != m_entity->attribute(i).destinationEntity)
        return false;
    if (m_targets.empty())
        m_targets.resize(size_t(m_entity->attributeCount()));
    // The target's key is known only once it has been saved; `save` fills it in then.
    m_unread.reset(i);
    storeValue(i, target && target->primaryKey() > 0 ? QVariant(qlonglong(target->primaryKey())) : QVariant());
    m_targets[size_t(i)] = target;
    markDirty(i);
    return true;
}

QVariantMap ManagedObject::changedValues() const
{
    QVariantMap map;
    for (int i = 0; i < m_entity->attributeCount(); ++i)
        if (m_dirty.test(i))
            map.insert(m_entity->attribute(i).name, storedValue(i));
    return map;
}

void ManagedObject::readUnread(int index) const
{
    if (m_context)
        m_context->readUnread(*this, index);
    // A row gone from the store, or a context gone: the value stays null from now on.
    m_unread.reset(index);
}

void ManagedObject::readAllUnread() const
{
    if (!m_unread.any())
        return;
    if (m_context)
        m_context->readObject(*this);
    m_unread.clear();
}

void ManagedObject::markDirty(int index)
{
    m_dirty.set(index);
    if (m_context)
        m_context->objectChanged(this);
}

void ManagedObject::clearChanges()
{
    m_dirty.clear();
    m_inserted = false;
    m_pendingUpdate = false;
}
