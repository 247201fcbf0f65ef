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
    if (column < 0)
        return QString(QLatin1String(""));
    // Read in place: a filter asks this of every row.
    const QVariant& v = m_rows->value(m_row, column);
    if (v.typeId() == QMetaType::QString)
        return *static_cast<const QString*>(v.constData());
    if (v.isNull())
        return QString(QLatin1String(""));
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 17);
    return v.toString();
}
