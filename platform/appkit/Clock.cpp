#include "platform/appkit/Clock.h"

#include <algorithm>

SystemClock::SystemClock()
{
    m_elapsed.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto wake = std::exchange(m_wake, {}))
            wake();
    });
}

qint64 SystemClock::nowMs() const
{
    return m_elapsed.elapsed();
}

void SystemClock::wakeAt(qint64 dueMs, std::function<void()> wake)
{
    m_timer.stop();
    m_wake = {};
    if (dueMs < 0 || !wake)
        return;
    m_wake = std::move(wake);
    const qint64 delay = std::clamp<qint64>(dueMs - nowMs(), 0, std::numeric_limits<int>::max());
    m_timer.start(static_cast<int>(delay));
}
