#include "app/images/OcrPendingExchange.h"

#include "app/images/RecognitionWait.h"

#include <algorithm>
#include <utility>

namespace {

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
        wakeRecognitionWaiters();
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
    waitForRecognitionWork([&exchanges] { return anyDone(exchanges); });
}
