#include "platform/store/FetchedRows.h"

#include "platform/store/ManagedObjectContext.h"

qsizetype FetchedRows::rowWithPrimaryKey(qint64 primaryKey) const
{
    if (m_rowOfKey.isEmpty() && !m_keys.empty()) {
        m_rowOfKey.reserve(qsizetype(m_keys.size()));
        for (size_t row = 0; row < m_keys.size(); ++row)
            m_rowOfKey.insert(m_keys[row], qsizetype(row));
    }
    return m_rowOfKey.value(primaryKey, -1);
}

int FetchedRows::columnOf(const QString& attribute) const
{
    const int column = int(m_attributes.indexOf(attribute));
    if (column >= 0)
        return column;
    readAttributes({attribute});
    return int(m_attributes.indexOf(attribute));
}

void FetchedRows::readAttributes(const QStringList& attributes) const
{
    QStringList missing;
    for (const QString& attribute : attributes) {
        if (!m_attributes.contains(attribute) && !missing.contains(attribute))
            missing.append(attribute);
    }
    if (!missing.isEmpty() && !m_contextAlive.expired())
        m_context->readRowsColumns(*this, missing);
}

ManagedObjectPtr FetchedRows::object(qsizetype row) const
{
    if (m_contextAlive.expired())
        return nullptr;
    return m_context->objectWithPrimaryKey(m_entityName, primaryKey(row));
}
