// The time source of the scheduler: a monotonic millisecond count and one wake-up request.
// The application uses SystemClock; tests install a manual clock and move time by hand.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale (not the wall clock).
    virtual qint64 nowMs() const = 0;
    // Calls `wake` once from the event loop at or after `dueMs`. A new request replaces the
    // previous one; a negative `dueMs` cancels it.
    virtual void wakeAt(qint64 dueMs, std::function<void()> wake) = 0;
};

// The real clock: QElapsedTimer for the time, one single-shot QTimer for the wake-up.
// Lives on the main thread.
class SystemClock : public Clock {
public:
    SystemClock();
    qint64 nowMs() const override;
    void wakeAt(qint64 dueMs, std::function<void()> wake) override;

private:
    QElapsedTimer m_elapsed;
    QTimer m_timer;
    std::function<void()> m_wake;
};
