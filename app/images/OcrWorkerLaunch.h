// The start of an extra OCR worker of a parallel run, without waiting for it: its child is started
// and 'OPEN', then 'ISOK', go to it as pending exchanges, so that the run goes on with the workers
// it has meanwhile. A worker that runs already was opened before and is ready at once; one whose
// child cannot be started, or whose engine refuses or does not answer in time, is ended.
#pragma once

#include "app/images/OcrPendingExchange.h"

#include <cstdint>
#include <memory>

class OcrWorkerLaunch {
public:
    enum class State { Opening, Ready, Failed };

    explicit OcrWorkerLaunch(int index);
    // Carries an opening still under way through (finish()), so that no worker is left running
    // with its engine unopened.
    ~OcrWorkerLaunch();
    OcrWorkerLaunch(const OcrWorkerLaunch&) = delete;
    OcrWorkerLaunch& operator=(const OcrWorkerLaunch&) = delete;

    State state() const { return m_state; }
    // Whether the exchange under way is answered: poll() then moves the launch on.
    bool hasAnswer() const { return m_exchange && m_exchange->isDone(); }
    // Takes the answer that is in, if any: 'OPEN' answered 0 sends 'ISOK', 'ISOK' answered 0
    // makes the worker ready. Never waits.
    State poll();
    // Waits for each answer still to come (each within its time-out) until the launch has ended.
    State finish();

private:
    void send(uint32_t eventId);
    void take();

    const int m_index;
    uint32_t m_event = 0;
    std::unique_ptr<OcrPendingExchange> m_exchange;
    State m_state = State::Opening;
};
