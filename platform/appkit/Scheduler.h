// Delayed calls on the main thread, standing in for the platform's delayed performs.
//
// A call comes due after its delay and runs from the event loop, in order of due time, then of
// scheduling. While a modal run is open (ModalScope) due calls are held; they run after the last
// modal run has closed. Time comes from a Clock, so tests can move it by hand.
//
// Calls from a worker thread to the main thread use performOnMainThread(AndWait): these are
// never held, so a worker waiting on the main thread cannot dead-lock behind a modal run.
//
// performAfterDelay and cancelPreviousPerformRequests are main-thread only.
#pragma once

#include "platform/appkit/Clock.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Scheduler {
public:
    using PerformId = uint64_t;

    // `clock` null: the scheduler makes its own SystemClock.
    explicit Scheduler(Clock* clock = nullptr);
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // The application's scheduler (made on first use, on the main thread).
    static Scheduler& shared();

    // Replaces the time source; null returns to a SystemClock. Pending calls keep their due times
    // in milliseconds, so set the clock before scheduling (tests do it first).
    void setClock(Clock* clock);
    Clock& clock() const { return *m_clock; }

    // Runs `call` once `delayMs` (0 or more) has passed. `target` and `selector` only identify the
    // request for cancelling; `target` may be null.
    PerformId performAfterDelay(const void* target, const QString& selector, int delayMs, std::function<void()> call);
    // Cancels the pending calls of `target`; with a selector, only those scheduled under it.
    void cancelPreviousPerformRequests(const void* target, const QString& selector = QString());
    void cancel(PerformId id);
    // Pending calls, held ones included.
    int pendingCount() const { return static_cast<int>(m_pending.size()); }

    // Queues `call` on the main thread (runs at once, later, from the event loop; never held).
    static void performOnMainThread(std::function<void()> call);
    // Runs `call` on the main thread and waits for it; on the main thread it runs at once.
    static void performOnMainThreadAndWait(std::function<void()> call);

    // Called by ModalScope when the last modal run has closed.
    static void modalRunsEnded();

private:
    struct Entry {
        PerformId id;
        const void* target;
        QString selector;
        qint64 dueMs;
        std::function<void()> call;
    };
    void runDue();
    void arm();

    std::unique_ptr<Clock> m_ownClock;
    Clock* m_clock = nullptr;
    std::vector<Entry> m_pending;
    PerformId m_nextId = 1;
};
