// A clock that tests move by hand: the scheduler's calls run inside advance(), at their due times.
#pragma once

#include "platform/appkit/Clock.h"

class ManualClock : public Clock {
public:
    qint64 nowMs() const override { return m_now; }
    void wakeAt(qint64 dueMs, std::function<void()> wake) override;

    // Moves time forward by `ms` (0 runs what is due now), waking the scheduler at each due time.
    void advance(qint64 ms);

private:
    qint64 m_now = 0;
    qint64 m_due = -1;
    std::function<void()> m_wake;
};
