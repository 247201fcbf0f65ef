// The service's closed vocabularies as integers: 0 is none, 1 to N the names in the service's order.
#pragma once

#include <QString>

#include <span>

class SoapEnumeration {
public:
    constexpr explicit SoapEnumeration(std::span<const char* const> names) : m_names(names) {}
    // Position from 1 of the name equal to `text` (exact, case-sensitive); 0 for none.
    qint32 fromString(const QString& text) const;
    // The name at `value`; the empty text outside 1 to N.
    QString toString(qint32 value) const;
    int count() const { return int(m_names.size()); }

private:
    std::span<const char* const> m_names;
};

const SoapEnumeration& fns_ExceptionCode();
const SoapEnumeration& fns_FaultCode();
const SoapEnumeration& SforceServiceSvc_StatusCode();
const SoapEnumeration& SforceServiceSvc_fieldType();
const SoapEnumeration& SforceServiceSvc_soapType();
const SoapEnumeration& SforceServiceSvc_DebugLevel();

qint32 fns_ExceptionCode_enumFromString(const QString& text);
QString fns_ExceptionCode_stringFromEnum(qint32 value);
qint32 fns_FaultCode_enumFromString(const QString& text);
QString fns_FaultCode_stringFromEnum(qint32 value);
qint32 SforceServiceSvc_StatusCode_enumFromString(const QString& text);
QString SforceServiceSvc_StatusCode_stringFromEnum(qint32 value);
qint32 SforceServiceSvc_fieldType_enumFromString(const QString& text);
QString SforceServiceSvc_fieldType_stringFromEnum(qint32 value);
qint32 SforceServiceSvc_soapType_enumFromString(const QString& text);
QString SforceServiceSvc_soapType_stringFromEnum(qint32 value);
qint32 SforceServiceSvc_DebugLevel_enumFromString(const QString& text);
QString SforceServiceSvc_DebugLevel_stringFromEnum(qint32 value);
