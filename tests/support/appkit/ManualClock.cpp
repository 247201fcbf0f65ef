#include "tests/support/appkit/ManualClock.h"

#include <algorithm>

void ManualClock::wakeAt(qint64 dueMs, std::function<void()> wake)
{
    m_due = dueMs;
    m_wake = dueMs < 0 ? std::function<void()>() : std::move(wake);
}

void ManualClock::advance(qint64 ms)
{
    const qint64 target = m_now + std::max<qint64>(ms, 0);
    while (m_wake && m_due <= target) {
        m_now = std::max(m_now, m_due);
        auto wake = std::exchange(m_wake, {});
        m_due = -1;
        wake();
    }
    m_now = target;
}
