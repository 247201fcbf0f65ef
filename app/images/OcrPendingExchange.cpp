#include "app/images/OcrPendingExchange.h"

#include "platform/appkit/ModalScope.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <utility>

namespace {

// Wakes whoever waits for an exchange: the main thread's wait loop, or a plain waiter.
std::mutex g_mutex;
std::condition_variable g_ended;
QEventLoop* g_waitLoop = nullptr; // main thread only

void wakeWaiters()
{
    {
        std::lock_guard lock(g_mutex);
    }
    g_ended.notify_all();
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app,
            [] {
                if (g_waitLoop)
                    g_waitLoop->quit();
            },
            Qt::QueuedConnection);
    }
}

bool anyDone(const std::vector<OcrPendingExchange*>& exchanges)
{
    return std::any_of(exchanges.begin(), exchanges.end(), [](const OcrPendingExchange* e) { return e->isDone(); });
}

} // namespace

OcrPendingExchange::OcrPendingExchange(OcrChannel& channel, OcrMessage request, int timeoutMs)
    : m_request(std::move(request))
{
    m_thread = std::thread([this, &channel, timeoutMs] {
        m_result = channel.exchange(m_request, &m_reply, timeoutMs);
        m_done.store(true, std::memory_order_release);
        wakeWaiters();
    });
}

OcrPendingExchange::~OcrPendingExchange()
{
    if (m_thread.joinable())
        m_thread.join();
}

void OcrPendingExchange::wait()
{
    while (!isDone())
        waitForAny({this});
    if (m_thread.joinable())
        m_thread.join();
}

void OcrPendingExchange::waitForAny(const std::vector<OcrPendingExchange*>& exchanges)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        std::unique_lock lock(g_mutex);
        g_ended.wait(lock, [&] { return anyDone(exchanges); });
        return;
    }
    if (anyDone(exchanges))
        return;
    // An exchange that ends before the loop runs has queued its wake-up already: the loop sees it.
    ModalScope scope;
    QEventLoop loop;
    QEventLoop* const outer = std::exchange(g_waitLoop, &loop);
    while (!anyDone(exchanges))
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    g_waitLoop = outer;
    // A wake-up taken by this loop may have been meant for the one it interrupted.
    if (outer)
        wakeWaiters();
}
