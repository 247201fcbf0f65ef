#include "app/images/RecognitionPendingRun.h"

#include "app/images/OcrApplicationLink.h"
#include "app/images/PLRegController.h"
#include "platform/events/OcrProtocol.h"

#include <algorithm>

namespace {

// A reply's result block is a quarter of a megabyte: replies taken ahead of their turn (an import
// runs far ahead of its recognition) are held to this, some hundred cards.
constexpr qsizetype kMaxHeldReplyBytes = 32 << 20;

qsizetype replyBytes(const RecognitionCardJob& job)
{
    return job.result.size() + job.orientation.size();
}

} // namespace

RecognitionPendingRun::RecognitionPendingRun(const RecognitionRunSetup& setup, int workers, int threads)
    : m_setup(setup),
      m_workers(std::max(1, workers)),
      m_window(std::max(qsizetype(m_workers) * 3, qsizetype(std::max(1, threads)) * 2)),
      m_usable(size_t(m_workers), 1),
      m_ready(size_t(m_workers), 0),
      m_busy(size_t(m_workers), 0),
      m_launches(size_t(m_workers)),
      m_preparation(m_setup, threads)
{
    m_ready[0] = 1;
}

RecognitionPendingRun::~RecognitionPendingRun()
{
    drain();
}

RecognitionCardJob RecognitionPendingRun::takeFront()
{
    RecognitionCardJob job = std::move(m_jobs.front());
    m_jobs.pop_front();
    ++m_taken;
    m_heldReplyBytes -= replyBytes(job);
    return job;
}

int RecognitionPendingRun::idleWorker() const
{
    for (int w = 0; w < m_workers; ++w) {
        if (m_usable[size_t(w)] && m_ready[size_t(w)] && !m_busy[size_t(w)])
            return w;
    }
    return -1;
}

void RecognitionPendingRun::endLaunch(int worker, OcrWorkerLaunch::State state)
{
    // A worker that cannot be had is left out of the run.
    m_ready[size_t(worker)] = state == OcrWorkerLaunch::State::Ready;
    m_usable[size_t(worker)] = state == OcrWorkerLaunch::State::Ready;
    m_launches[size_t(worker)].reset();
    --m_opening;
}

void RecognitionPendingRun::moveLaunchesOn()
{
    for (int w = 1; w < m_workers && m_opening > 0; ++w) {
        std::unique_ptr<OcrWorkerLaunch>& launch = m_launches[size_t(w)];
        if (launch && launch->poll() != OcrWorkerLaunch::State::Opening)
            endLaunch(w, launch->state());
    }
}

int RecognitionPendingRun::workerToLaunch(int from) const
{
    // One worker is started for each card waiting to be sent that no opening covers yet.
    if (m_opening >= m_nextToStart - m_nextToSend)
        return -1;
    for (int w = std::max(1, from); w < m_workers; ++w) {
        if (m_usable[size_t(w)] && !m_ready[size_t(w)] && !m_launches[size_t(w)])
            return w;
    }
    return -1;
}

bool RecognitionPendingRun::launchWorkers()
{
    // All in this call; true when one is ready at once (opened by an earlier run).
    for (int w = workerToLaunch(1); w > 0; w = workerToLaunch(w + 1)) {
        m_launches[size_t(w)] = std::make_unique<OcrWorkerLaunch>(w);
        ++m_opening;
        const OcrWorkerLaunch::State state = m_launches[size_t(w)]->state();
        if (state != OcrWorkerLaunch::State::Opening)
            endLaunch(w, state);
        if (state == OcrWorkerLaunch::State::Ready)
            return true;
    }
    return false;
}

void RecognitionPendingRun::collect(RecognitionCardJob& job)
{
    job.error = PLFinishEventOnOCRWorker(job.worker, *job.exchange, &job.status, {ocr::kKeyResult, &job.result},
                                         {ocr::kKeyOrientation, &job.orientation});
    job.exchange.reset();
    job.collected = true;
    m_heldReplyBytes += replyBytes(job);
    // The bitmap has gone out: only its size is read from here on.
    job.prepared->bitmap.data = QByteArray();
    job.prepared->bitmap.pixels = QImage();
    if (PLRegController::replyEndsRun(job.error, job.status, job.result, job.orientation))
        m_stopSending = true;
}

void RecognitionPendingRun::pump()
{
    // Replies first, so that one that ends the run stops what would follow it. A worker whose
    // reply is in counts as busy until then.
    for (auto it = m_inFlight.begin(); it != m_inFlight.end();) {
        RecognitionCardJob& job = at(*it);
        if (!job.exchange->isDone()) {
            ++it;
            continue;
        }
        m_busy[size_t(job.worker)] = 0;
        collect(job);
        --m_inHand;
        it = m_inFlight.erase(it);
    }
    moveLaunchesOn();
    while (m_nextToStart < end() && m_inHand < m_window) {
        RecognitionCardJob& job = at(m_nextToStart++);
        // A card skipped before it had files to prepare takes no room.
        if (job.prepared->isDone())
            continue;
        job.started = true;
        ++m_inHand;
        m_preparation.prepare(job.prepared);
    }
    // Requests start in the cards' order: the first card not yet sent, once it is prepared.
    while (m_nextToSend < m_nextToStart) {
        RecognitionCardJob& job = at(m_nextToSend);
        if (!job.prepared->isDone())
            return;
        if (job.prepared->skipped) {
            job.sent = true;
            m_inHand -= job.started ? 1 : 0;
            ++m_nextToSend;
            continue;
        }
        const bool maySend = !m_stopSending && m_heldReplyBytes < kMaxHeldReplyBytes;
        const int worker = maySend ? idleWorker() : -1;
        if (worker < 0) {
            // Extra workers start on first use, side by side; the cards go on to those open
            // meanwhile.
            if (maySend && launchWorkers())
                continue;
            return;
        }
        // A worker that has gone since its last reply starts afresh.
        if (worker > 0 && !isOcrWorkerRunning(worker)) {
            m_ready[size_t(worker)] = 0;
            continue;
        }
        const PreparedCard& prepared = *job.prepared;
        job.worker = worker;
        job.sent = true;
        job.exchange =
            PLStartEventOnOCRWorker(worker, ocr::kEventRun, {ocr::kKeyParam, prepared.param.constData(), int32_t(prepared.param.size())},
                                    {ocr::kKeyImageInfo, prepared.info.constData(), int32_t(prepared.info.size())},
                                    {ocr::kKeyImage, prepared.bitmap.data.constData(), int32_t(prepared.bitmap.data.size())}, &job.error);
        if (job.exchange) {
            m_busy[size_t(worker)] = 1;
            m_inFlight.push_back(m_nextToSend);
        } else {
            job.collected = true;
            --m_inHand;
            m_stopSending = true;
        }
        ++m_nextToSend;
    }
}

bool RecognitionPendingRun::hasWork() const
{
    if (m_jobs.empty() || m_jobs.front().ready())
        return true;
    for (const qsizetype card : m_inFlight) {
        if (at(card).exchange->isDone())
            return true;
    }
    for (int w = 1; w < m_workers && m_opening > 0; ++w) {
        if (m_launches[size_t(w)] && m_launches[size_t(w)]->hasAnswer())
            return true;
    }
    if (m_nextToSend >= m_nextToStart || !at(m_nextToSend).prepared->isDone())
        return false;
    return at(m_nextToSend).prepared->skipped
        || (!m_stopSending && m_heldReplyBytes < kMaxHeldReplyBytes && (idleWorker() >= 0 || workerToLaunch(1) > 0));
}

void RecognitionPendingRun::drain()
{
    for (const qsizetype card : m_inFlight) {
        RecognitionCardJob& job = at(card);
        int32_t ignored = 0;
        PLFinishEventOnOCRWorker(job.worker, *job.exchange, &ignored, {ocr::kKeyUnused, nullptr}, {ocr::kKeyUnused, nullptr});
    }
    m_inFlight.clear();
    // An opening is carried through, so that the next run finds the worker open or ended.
    for (int w = 1; w < m_workers && m_opening > 0; ++w) {
        if (m_launches[size_t(w)])
            endLaunch(w, m_launches[size_t(w)]->finish());
    }
    m_taken += qsizetype(m_jobs.size());
    m_jobs.clear();
    m_nextToStart = m_nextToSend = m_taken;
    m_inHand = 0;
    m_heldReplyBytes = 0;
}
