// The main application's two diagnostic outputs, both behind the one log switch (setLogOn):
// PLNSLog (platform/foundation/Log.h) for the system log, PLprintf for standard output.
#pragma once

#include "platform/foundation/FormatString.h"
#include "platform/foundation/Log.h"

#include <cstdio>

// Prints the formatted text to standard output when logging is on and answers the number of
// bytes written; answers 0 and prints nothing when it is off.
template <typename... Args>
int PLprintf(const QString& format, const Args&... args)
{
    if (!isLogOn())
        return 0;
    const QByteArray text = formatText(format, args...).toUtf8();
    const size_t written = std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fflush(stdout);
    return static_cast<int>(written);
}
