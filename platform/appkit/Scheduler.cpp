#include "platform/appkit/Scheduler.h"

#include "platform/appkit/ModalScope.h"
#include "platform/foundation/Log.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <exception>

namespace {
std::vector<Scheduler*>& liveSchedulers()
{
    static std::vector<Scheduler*> list;
    return list;
}
}

Scheduler::Scheduler(Clock* clock)
{
    setClock(clock);
    liveSchedulers().push_back(this);
}

Scheduler::~Scheduler()
{
    auto& list = liveSchedulers();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    m_clock->wakeAt(-1, {});
}

Scheduler& Scheduler::shared()
{
    static Scheduler scheduler;
    return scheduler;
}

void Scheduler::setClock(Clock* clock)
{
    if (m_clock)
        m_clock->wakeAt(-1, {});
    if (clock) {
        m_clock = clock;
    } else {
        if (!m_ownClock)
            m_ownClock = std::make_unique<SystemClock>();
        m_clock = m_ownClock.get();
    }
    arm();
}

Scheduler::PerformId Scheduler::performAfterDelay(const void* target, const QString& selector, int delayMs, std::function<void()> call)
{
    const PerformId id = m_nextId++;
    m_pending.push_back({id, target, selector, m_clock->nowMs() + std::max(delayMs, 0), std::move(call)});
    arm();
    return id;
}

void Scheduler::cancelPreviousPerformRequests(const void* target, const QString& selector)
{
    std::erase_if(m_pending, [&](const Entry& e) {
        return e.target == target && (selector.isEmpty() || e.selector == selector);
    });
    arm();
}

void Scheduler::cancel(PerformId id)
{
    std::erase_if(m_pending, [id](const Entry& e) { return e.id == id; });
    arm();
}

void Scheduler::runDue()
{
    // Calls scheduled while this pass runs wait for the next pass, even with a delay of 0.
    const PerformId limit = m_nextId;
    while (!ModalScope::isOpen()) {
        const qint64 now = m_clock->nowMs();
        auto next = m_pending.end();
        for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
            if (it->id < limit && it->dueMs <= now && (next == m_pending.end() || it->dueMs < next->dueMs))
                next = it;
        }
        if (next == m_pending.end())
            break;
        std::function<void()> call = std::move(next->call);
        m_pending.erase(next);
        try {
            call();
        } catch (const std::exception& e) {
            PLNSLog(QStringLiteral("Exception: %@"), QString::fromLocal8Bit(e.what()));
        }
    }
    // Held calls are armed again by modalRunsEnded.
    if (!ModalScope::isOpen())
        arm();
}

void Scheduler::arm()
{
    if (m_pending.empty()) {
        m_clock->wakeAt(-1, {});
        return;
    }
    const auto first = std::min_element(m_pending.begin(), m_pending.end(),
                                        [](const Entry& a, const Entry& b) { return a.dueMs < b.dueMs; });
    m_clock->wakeAt(first->dueMs, [this] { runDue(); });
}

void Scheduler::modalRunsEnded()
{
    for (Scheduler* scheduler : liveSchedulers())
        scheduler->arm();
}

void Scheduler::performOnMainThread(std::function<void()> call)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}

void Scheduler::performOnMainThreadAndWait(std::function<void()> call)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(call), Qt::BlockingQueuedConnection);
}
