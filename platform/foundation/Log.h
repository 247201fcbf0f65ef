// Logging: `logLine` always writes one line to standard error and the system log;
// `PLNSLog` writes only while the log switch is on.
#pragma once

#include "platform/foundation/FormatString.h"

#include <QString>

void setLogOn(bool on);
bool isLogOn();

// Writes one line when logging is on; safe from any thread.
void logLine(const QString& text);

// The main application's diagnostic log: a format and its arguments, written only when logging is on.
template <typename... Args>
void PLNSLog(const QString& format, const Args&... args)
{
    if (isLogOn())
        logLine(formatText(format, args...));
}
