// One request to the OCR application in flight: the exchange runs on a thread of the exchange
// pool, so that the main thread's event loop keeps running (the processing sheet paints, its
// indicator moves) while the application works. The main thread waits in a modal run that takes
// no user input and holds the delayed calls, as it would behind a sheet.
#pragma once

#include "platform/events/OcrChannel.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

class OcrPendingExchange {
public:
    // Starts the exchange at once; `channel` must outlive this object.
    OcrPendingExchange(OcrChannel& channel, OcrMessage request, int timeoutMs);
    // Waits for the exchange to end (its time-out bounds the wait).
    ~OcrPendingExchange();
    OcrPendingExchange(const OcrPendingExchange&) = delete;
    OcrPendingExchange& operator=(const OcrPendingExchange&) = delete;

    bool isDone() const { return m_done.load(std::memory_order_acquire); }
    // Valid once done.
    OcrChannel::Result result() const { return m_result; }
    OcrMessage& reply() { return m_reply; }

    // Waits until this exchange is done.
    void wait();
    // Waits until at least one of `exchanges` is done; returns at once when one already is.
    static void waitForAny(const std::vector<OcrPendingExchange*>& exchanges);

private:
    OcrMessage m_request;
    OcrMessage m_reply;
    OcrChannel::Result m_result = OcrChannel::Ok;
    std::atomic<bool> m_done{false};
    // The pool's thread is through with this object once m_running is false.
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_running = true;
};
