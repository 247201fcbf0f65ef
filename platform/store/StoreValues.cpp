#include "platform/store/StoreValues.h"

#include "platform/store/StoreStrings.h"

#include <sqlite3.h>

#include <cmath>

double storeTimeFromDate(const QDateTime& date)
{
    return double(date.toMSecsSinceEpoch()) / 1000.0 - double(kStoreEpochUnixSeconds);
}

QDateTime dateFromStoreTime(double seconds)
{
    const double ms = std::round((seconds + double(kStoreEpochUnixSeconds)) * 1000.0);
    // As Qt::UTC, not as a time zone: a UTC date then fits inside the QDateTime, with nothing allocated.
    return QDateTime::fromMSecsSinceEpoch(qint64(ms), Qt::UTC);
}

QVariant valueOfStoreInteger(qint64 v, AttributeType type)
{
    if (type == AttributeType::Date)
        return dateFromStoreTime(double(v));
    if (type == AttributeType::Double)
        return double(v);
    if (type == AttributeType::String)
        return QString::number(v);
    return qlonglong(v);
}

QVariant valueOfStoreReal(double v, AttributeType type)
{
    if (type == AttributeType::Date)
        return dateFromStoreTime(v);
    if (type == AttributeType::String)
        return QString::number(v, 'g', 17);
    return v;
}

QVariant readStoreColumn(sqlite3_stmt* s, int column, int storage, AttributeType type, StoreStrings* strings)
{
    switch (storage) {
    case SQLITE_INTEGER: return valueOfStoreInteger(sqlite3_column_int64(s, column), type);
    case SQLITE_FLOAT: return valueOfStoreReal(sqlite3_column_double(s, column), type);
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        const int size = sqlite3_column_bytes(s, column);
        return strings ? strings->text(text, size) : QString::fromUtf8(text, size);
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(s, column));
        return QByteArray(data, sqlite3_column_bytes(s, column));
    }
    default:
        return {};
    }
}

namespace {

int bindText(sqlite3_stmt* s, int parameter, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text(s, parameter, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool isNumericType(AttributeType type)
{
    return type != AttributeType::String && type != AttributeType::Binary;
}

} // namespace

int bindStoreValue(sqlite3_stmt* s, int parameter, const QVariant& value, AttributeType type)
{
    if (!value.isValid() || value.isNull())
        return sqlite3_bind_null(s, parameter);
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString& text = *static_cast<const QString*>(value.constData());
        if (isNumericType(type)) {
            // Card dictionaries carry "" for a missing number; numbers given as text are stored as numbers.
            if (text.isEmpty())
                return sqlite3_bind_null(s, parameter);
            bool ok = false;
            const qlonglong i = text.toLongLong(&ok);
            if (ok && type != AttributeType::Date)
                return sqlite3_bind_int64(s, parameter, i);
            const double d = text.toDouble(&ok);
            if (ok)
                return sqlite3_bind_double(s, parameter, d);
        }
        return bindText(s, parameter, text);
    }
    case QMetaType::QDateTime:
        return sqlite3_bind_double(s, parameter, storeTimeFromDate(value.toDateTime()));
    case QMetaType::Bool:
        return sqlite3_bind_int64(s, parameter, value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        if (type == AttributeType::String)
            return bindText(s, parameter, value.toString());
        if (type == AttributeType::Date)
            return sqlite3_bind_double(s, parameter, value.toDouble());
        return sqlite3_bind_int64(s, parameter, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        if (type == AttributeType::String)
            return bindText(s, parameter, QString::number(value.toDouble(), 'g', 17));
        return sqlite3_bind_double(s, parameter, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        if (type == AttributeType::String)
            return sqlite3_bind_text(s, parameter, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        return sqlite3_bind_blob(s, parameter, data.constData(), int(data.size()), SQLITE_TRANSIENT);
    }
    default:
        return bindText(s, parameter, value.toString());
    }
}
