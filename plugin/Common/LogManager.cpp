#include "plugin/Common/LogManager.h"

#include "plugin/Common/PluginPreferences.h"
#include "platform/foundation/Log.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic_int g_cachedLevel{0};
std::mutex g_sinkMutex;
LogManager::Sink g_sink;

int cachedLevel()
{
    int level = g_cachedLevel.load();
    if (level == 0) {
        level = int(PluginPreferences::domain().value(QString::fromLatin1(kPrefLogLevel)).toInteger(kLogError));
        g_cachedLevel.store(level);
    }
    return level;
}

}

QString LogManager::lineFor(int level, int maxLevel, const QString& text)
{
    if (maxLevel > kLogInformation || level > maxLevel)
        return QString();
    switch (level) {
    case kLogError: return QStringLiteral("ERROR|") + text;
    case kLogWarning: return QStringLiteral("WAENING|") + text;
    case kLogInformation: return QStringLiteral("INFORMATION|") + text;
    default: return QString();
    }
}

bool LogManager::LogOutput(int level, const QString& text)
{
    const QString line = lineFor(level, cachedLevel(), text);
    if (line.isEmpty())
        return false;
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    if (g_sink)
        g_sink(line);
    else
        logLine(line);
    return true;
}

void LogManager::setSink(Sink sink)
{
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    g_sink = std::move(sink);
}
