#include "platform/foundation/PlistValue.h"

bool PlistValue::toBool(bool def) const
{
    switch (type()) {
    case Type::Boolean: return std::get<bool>(m_value);
    case Type::Integer: return std::get<int64_t>(m_value) != 0;
    case Type::Real: return std::get<double>(m_value) != 0.0;
    default: return def;
    }
}

int64_t PlistValue::toInteger(int64_t def) const
{
    switch (type()) {
    case Type::Boolean: return std::get<bool>(m_value) ? 1 : 0;
    case Type::Integer: return std::get<int64_t>(m_value);
    case Type::Real: return static_cast<int64_t>(std::get<double>(m_value));
    default: return def;
    }
}

double PlistValue::toReal(double def) const
{
    switch (type()) {
    case Type::Boolean: return std::get<bool>(m_value) ? 1.0 : 0.0;
    case Type::Integer: return static_cast<double>(std::get<int64_t>(m_value));
    case Type::Real: return std::get<double>(m_value);
    default: return def;
    }
}

QString PlistValue::toString(const QString& def) const
{
    return isString() ? std::get<QString>(m_value) : def;
}

QByteArray PlistValue::toData() const
{
    return isData() ? std::get<QByteArray>(m_value) : QByteArray();
}

QDateTime PlistValue::toDate() const
{
    return isDate() ? std::get<QDateTime>(m_value) : QDateTime();
}

PlistValue::Array PlistValue::toArray() const
{
    return isArray() ? std::get<Array>(m_value) : Array();
}

PlistValue::Dictionary PlistValue::toDictionary() const
{
    return isDictionary() ? std::get<Dictionary>(m_value) : Dictionary();
}

PlistValue PlistValue::value(const QString& key) const
{
    if (!isDictionary())
        return {};
    const auto& dict = std::get<Dictionary>(m_value);
    auto it = dict.constFind(key);
    return it == dict.constEnd() ? PlistValue() : *it;
}

bool PlistValue::contains(const QString& key) const
{
    return isDictionary() && std::get<Dictionary>(m_value).contains(key);
}

void PlistValue::insert(const QString& key, const PlistValue& v)
{
    if (!isDictionary())
        m_value = Dictionary();
    std::get<Dictionary>(m_value).insert(key, v);
}

void PlistValue::remove(const QString& key)
{
    if (isDictionary())
        std::get<Dictionary>(m_value).remove(key);
}
