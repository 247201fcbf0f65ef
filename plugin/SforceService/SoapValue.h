// One value of the service's wire: none, text, number, date-time, bytes, boolean, enumeration,
// nested object or list. Fields of every value type and record hold these.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

class SoapObject;
using SoapObjectPtr = std::shared_ptr<SoapObject>;

// The service's boolean: set once, read as a flag or as "true"/"false".
class USBoolean {
public:
    explicit USBoolean(bool value = false) : m_value(value) {}
    bool boolValue() const { return m_value; }
    QString stringValue() const { return m_value ? QStringLiteral("true") : QStringLiteral("false"); }
    bool operator==(const USBoolean& other) const { return m_value == other.m_value; }

private:
    bool m_value;
};

class SoapValue {
public:
    using List = std::vector<SoapValue>;
    using Storage = std::variant<std::monostate, QString, double, QDateTime, QByteArray, USBoolean, qint32, SoapObjectPtr, List>;

    SoapValue() = default;
    // A null text is none; the empty text is a value.
    SoapValue(const QString& text) : m_storage(text.isNull() ? Storage() : Storage(text)) {}
    SoapValue(const char* text) : m_storage(QString::fromUtf8(text)) {}
    SoapValue(double number) : m_storage(number) {}
    SoapValue(const QDateTime& date) : m_storage(date) {}
    SoapValue(const QByteArray& bytes) : m_storage(bytes) {}
    SoapValue(USBoolean flag) : m_storage(flag) {}
    SoapValue(qint32 enumeration) : m_storage(enumeration) {}
    SoapValue(SoapObjectPtr object) : m_storage(object ? Storage(std::move(object)) : Storage()) {}
    SoapValue(List list) : m_storage(std::move(list)) {}

    bool isNone() const { return std::holds_alternative<std::monostate>(m_storage); }
    bool isText() const { return std::holds_alternative<QString>(m_storage); }
    bool isNumber() const { return std::holds_alternative<double>(m_storage); }
    bool isDate() const { return std::holds_alternative<QDateTime>(m_storage); }
    bool isBytes() const { return std::holds_alternative<QByteArray>(m_storage); }
    bool isBoolean() const { return std::holds_alternative<USBoolean>(m_storage); }
    bool isEnumeration() const { return std::holds_alternative<qint32>(m_storage); }
    bool isObject() const { return std::holds_alternative<SoapObjectPtr>(m_storage); }
    bool isList() const { return std::holds_alternative<List>(m_storage); }

    // Each accessor answers the held value, or an empty one of its kind when another kind is held.
    QString text() const { return isText() ? std::get<QString>(m_storage) : QString(); }
    double number() const { return isNumber() ? std::get<double>(m_storage) : 0.0; }
    QDateTime date() const { return isDate() ? std::get<QDateTime>(m_storage) : QDateTime(); }
    QByteArray bytes() const { return isBytes() ? std::get<QByteArray>(m_storage) : QByteArray(); }
    std::optional<USBoolean> boolean() const
    {
        return isBoolean() ? std::optional<USBoolean>(std::get<USBoolean>(m_storage)) : std::nullopt;
    }
    qint32 enumeration() const { return isEnumeration() ? std::get<qint32>(m_storage) : 0; }
    SoapObjectPtr object() const { return isObject() ? std::get<SoapObjectPtr>(m_storage) : nullptr; }
    template <typename T>
    std::shared_ptr<T> objectAs() const { return std::dynamic_pointer_cast<T>(object()); }
    const List& list() const&;
    List& list() &;
    // From a temporary the list is handed over, so `for (x : object->valueForKey(k).list())` is safe.
    List list() &&;

    const Storage& storage() const { return m_storage; }
    // Objects compare by identity, everything else by value.
    bool operator==(const SoapValue& other) const { return m_storage == other.m_storage; }

private:
    Storage m_storage;
};
