// The plug-in's preference domain and the time-outs of its service calls.
#pragma once

#include "platform/foundation/PreferenceDomain.h"

inline constexpr const char* kQuendrelPreferenceDomain = "com.orvane.zor.Pelmora.Quendrel";
inline constexpr const char* kPrefLogLevel = "LogLevel";
inline constexpr const char* kPrefAddTimeOut = "AddTimeOut";
inline constexpr const char* kPrefTimeOut = "TimeOut";

class GlobalData;

class PluginPreferences {
public:
    // A fresh view of the domain, read from the file at first use.
    static PreferenceDomain domain();
    // Writes the missing defaults ("LogLevel" 1, "AddTimeOut" 120000, "TimeOut" 30000) and sets
    // the time-outs: whole seconds of a stored value of at least 1000 ms, otherwise 120 and 30 s.
    // A default written now is not read back: the fallback holds for this call.
    static void loadTimeOuts(GlobalData& global);
    // Seconds for a stored millisecond value; `fallback` when absent or below one second.
    static double timeOutSeconds(const PlistValue& milliseconds, double fallback);
};
