#include "app/images/OcrPendingExchange.h"

#include "app/images/OcrApplicationLink.h"
#include "app/images/RecognitionWait.h"

#include <QThreadPool>

#include <algorithm>
#include <utility>

namespace {

bool anyDone(const std::vector<OcrPendingExchange*>& exchanges)
{
    return std::any_of(exchanges.begin(), exchanges.end(), [](const OcrPendingExchange* e) { return e->isDone(); });
}

// Exchanges run on threads kept for the next one rather than a thread started per request. A
// thread is added only while every kept one waits on an exchange of its own, so an application
// that hangs holds one thread alone and the others' exchanges go on. Left to the process's end.
QThreadPool& exchangeThreads()
{
    static QThreadPool* const pool = [] {
        auto* threads = new QThreadPool;
        // Each worker has one exchange in flight at most; the rest is room for single requests.
        threads->setMaxThreadCount(2 * kMaxOcrWorkers);
        return threads;
    }();
    return *pool;
}

} // namespace

OcrPendingExchange::OcrPendingExchange(OcrChannel& channel, OcrMessage request, int timeoutMs)
    : m_request(std::move(request))
{
    exchangeThreads().start([this, &channel, timeoutMs] {
        m_result = channel.exchange(m_request, &m_reply, timeoutMs);
        m_done.store(true, std::memory_order_release);
        wakeRecognitionWaiters();
        // The last touch of this object: its destructor may run as soon as the lock is let go.
        std::lock_guard lock(m_mutex);
        m_running = false;
        m_finished.notify_all();
    });
}

OcrPendingExchange::~OcrPendingExchange()
{
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [this] { return !m_running; });
}

void OcrPendingExchange::wait()
{
    while (!isDone())
        waitForAny({this});
}

void OcrPendingExchange::waitForAny(const std::vector<OcrPendingExchange*>& exchanges)
{
    waitForRecognitionWork([&exchanges] { return anyDone(exchanges); });
}
