#include "platform/store/FetchRequest.h"

#include "platform/store/ManagedObject.h"

#include <QDateTime>

namespace {

bool isNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

} // namespace

bool isNumberValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

int compareValues(const QVariant& a, const QVariant& b)
{
    const bool an = isNull(a), bn = isNull(b);
    if (an || bn)
        return int(bn) - int(an);
    if (isNumberValue(a) && isNumberValue(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime) {
        const qint64 x = a.toDateTime().toMSecsSinceEpoch(), y = b.toDateTime().toMSecsSinceEpoch();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    return a.toString().compare(b.toString());
}

Predicate keyEquals(const QString& key, const QVariant& value)
{
    return [key, value](const ManagedObject& object) {
        const QVariant v = object.value(key);
        if (isNull(v) || isNull(value))
            return isNull(v) && isNull(value);
        if (isNumberValue(v) != isNumberValue(value))
            return false;
        return compareValues(v, value) == 0;
    };
}
