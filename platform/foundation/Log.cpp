#include "platform/foundation/Log.h"

#include <QCoreApplication>
#include <QDateTime>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <syslog.h>
#include <unistd.h>

namespace {
std::atomic<bool> g_logOn{false};
std::mutex g_logMutex;
}

void setLogOn(bool on)
{
    g_logOn.store(on);
}

bool isLogOn()
{
    return g_logOn.load();
}

void logLine(const QString& text)
{
    const QByteArray line = text.toUtf8();
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    const QByteArray stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    std::lock_guard<std::mutex> lock(g_logMutex);
    std::fprintf(stderr, "%s %s[%d] %s\n", stamp.constData(), name.constData(), static_cast<int>(getpid()), line.constData());
    std::fflush(stderr);
    syslog(LOG_USER | LOG_NOTICE, "%s", line.constData());
}
