// A property-list value: the types a property list can hold, kept as they are,
// since callers test a value's type ("is a number") as well as its content.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>
#include <variant>

class PlistValue {
public:
    enum class Type { Null, Boolean, Integer, Real, String, Data, Date, Array, Dictionary };
    using Array = QList<PlistValue>;
    using Dictionary = QMap<QString, PlistValue>;

    PlistValue() = default;
    PlistValue(bool v) : m_value(v) {}
    PlistValue(int v) : m_value(static_cast<int64_t>(v)) {}
    PlistValue(int64_t v) : m_value(v) {}
    PlistValue(double v) : m_value(v) {}
    PlistValue(const char* v) : m_value(QString::fromUtf8(v)) {}
    PlistValue(const QString& v) : m_value(v) {}
    PlistValue(const QByteArray& v) : m_value(v) {}
    PlistValue(const QDateTime& v) : m_value(v) {}
    PlistValue(const Array& v) : m_value(v) {}
    PlistValue(const Dictionary& v) : m_value(v) {}

    Type type() const { return static_cast<Type>(m_value.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isBool() const { return type() == Type::Boolean; }
    // Booleans count as numbers, as the platform's number type holds both.
    bool isNumber() const { return type() == Type::Integer || type() == Type::Real || type() == Type::Boolean; }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }

    // Conversions answer the default when the value is of another type.
    bool toBool(bool def = false) const;
    int64_t toInteger(int64_t def = 0) const;
    double toReal(double def = 0.0) const;
    QString toString(const QString& def = QString()) const;
    QByteArray toData() const;
    QDateTime toDate() const;
    Array toArray() const;
    Dictionary toDictionary() const;

    // Dictionary access; a missing key or a non-dictionary answers a null value.
    PlistValue value(const QString& key) const;
    bool contains(const QString& key) const;
    void insert(const QString& key, const PlistValue& v);
    void remove(const QString& key);

    bool operator==(const PlistValue& other) const { return m_value == other.m_value; }
    bool operator!=(const PlistValue& other) const { return !(*this == other); }

private:
    std::variant<std::monostate, bool, int64_t, double, QString, QByteArray, QDateTime, Array, Dictionary> m_value;
};
