#include "plugin/SforceService/SoapValue.h"

const SoapValue::List& SoapValue::list() const&
{
    static const List empty;
    return isList() ? std::get<List>(m_storage) : empty;
}

SoapValue::List& SoapValue::list() &
{
    if (!isList())
        m_storage = List();
    return std::get<List>(m_storage);
}

SoapValue::List SoapValue::list() &&
{
    return isList() ? std::move(std::get<List>(m_storage)) : List();
}
