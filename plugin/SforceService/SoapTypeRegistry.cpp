#include "plugin/SforceService/SoapTypeRegistry.h"

SoapTypeRegistry& SoapTypeRegistry::instance()
{
    static SoapTypeRegistry registry;
    return registry;
}

void SoapTypeRegistry::registerType(const SoapTypeInfo& info)
{
    m_types.insert(info.className(), &info);
}

const SoapTypeInfo* SoapTypeRegistry::find(const QString& className) const
{
    return m_types.value(className, nullptr);
}
