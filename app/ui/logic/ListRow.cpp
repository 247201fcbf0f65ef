#include "app/ui/logic/ListRow.h"

QVariant ListRow::value(const QString& key) const
{
    if (m_object)
        return m_object->value(key);
    const int column = m_rows->columnOf(key);
    return column < 0 ? QVariant() : m_rows->value(m_row, column);
}

QString ListRow::stringValue(const QString& key) const
{
    if (m_object)
        return m_object->stringValue(key);
    const int column = m_rows->columnOf(key);
    return column < 0 ? QString(QLatin1String("")) : m_rows->stringValue(m_row, column);
}
