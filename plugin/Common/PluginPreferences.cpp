#include "plugin/Common/PluginPreferences.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"

PreferenceDomain PluginPreferences::domain()
{
    return PreferenceDomain(QString::fromLatin1(kQuendrelPreferenceDomain));
}

double PluginPreferences::timeOutSeconds(const PlistValue& milliseconds, double fallback)
{
    if (!milliseconds.isNumber())
        return fallback;
    const int64_t value = milliseconds.toInteger();
    return value >= 1000 ? double(value / 1000) : fallback;
}

void PluginPreferences::loadTimeOuts(GlobalData& global)
{
    PreferenceDomain preferences = domain();
    const QString logLevelKey = QString::fromLatin1(kPrefLogLevel);
    const QString addKey = QString::fromLatin1(kPrefAddTimeOut);
    const QString timeOutKey = QString::fromLatin1(kPrefTimeOut);
    const PlistValue addTimeOut = preferences.value(addKey);
    const PlistValue timeOut = preferences.value(timeOutKey);
    const bool hasLogLevel = preferences.contains(logLevelKey);
    if (!hasLogLevel || addTimeOut.isNull() || timeOut.isNull()) {
        if (!hasLogLevel)
            preferences.setValue(logLevelKey, PlistValue(int64_t(kLogError)));
        if (addTimeOut.isNull())
            preferences.setValue(addKey, PlistValue(int64_t(120000)));
        if (timeOut.isNull())
            preferences.setValue(timeOutKey, PlistValue(int64_t(30000)));
        if (!preferences.synchronize())
            LogManager::LogOutput(kLogError, QStringLiteral("Log Level Set Failed"));
    }
    global.setSFADDTimeOut(timeOutSeconds(addTimeOut, 120.0));
    global.setSFTimeOut(timeOutSeconds(timeOut, 30.0));
}
