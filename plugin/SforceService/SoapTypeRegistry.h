// Class lookup by name: every value, result, fault and record type the readers can produce.
// Filled once by the binding's start-up (SforceServiceSvc::initialize), then only read.
#pragma once

#include "plugin/SforceService/SoapTypeInfo.h"

class SoapTypeRegistry {
public:
    static SoapTypeRegistry& instance();

    void registerType(const SoapTypeInfo& info);
    // The type of that class name; nullptr when none is registered.
    const SoapTypeInfo* find(const QString& className) const;

private:
    SoapTypeRegistry() = default;
    QHash<QString, const SoapTypeInfo*> m_types;
};
