// The plug-in's diagnostic log: lines "<level word>|<text>" to standard error and the system log,
// written up to the level of the preference "LogLevel" (1 errors, 2 warnings, 3 information).
// The level is read once per process, like the host's own log switch.
#pragma once

#include <QString>

#include <functional>

enum LogLevel : int {
    kLogError = 1,
    kLogWarning = 2,
    kLogInformation = 3,
};

class LogManager {
public:
    using Sink = std::function<void(const QString& line)>;

    // True when a line was written.
    static bool LogOutput(int level, const QString& text);
    // The line for `level` under the highest level `maxLevel`; empty when it is not written.
    static QString lineFor(int level, int maxLevel, const QString& text);
    // Where lines go; an empty sink restores standard error and the system log.
    static void setSink(Sink sink);
};
