#include "app/images/RecognitionPendingRun.h"

#include "app/images/OcrApplicationLink.h"
#include "app/images/PLRegController.h"
#include "platform/events/OcrProtocol.h"

#include <algorithm>

RecognitionPendingRun::RecognitionPendingRun(const RecognitionRunSetup& setup, int workers, int threads)
    : m_setup(setup),
      m_workers(std::max(1, workers)),
      m_window(std::max(qsizetype(m_workers) * 3, qsizetype(std::max(1, threads)) * 2)),
      m_usable(size_t(m_workers), 1),
      m_preparation(m_setup, threads)
{
}

RecognitionPendingRun::~RecognitionPendingRun()
{
    drain();
}

int RecognitionPendingRun::idleWorker() const
{
    // A worker whose reply is in but not yet taken still counts as busy: its reply decides
    // whether anything more is sent.
    for (int w = 0; w < m_workers; ++w) {
        const bool working =
            std::any_of(m_jobs.begin(), m_jobs.end(), [w](const RecognitionCardJob& job) { return job.worker == w && job.exchange; });
        if (m_usable[size_t(w)] && !working)
            return w;
    }
    return -1;
}

// Requests start in the cards' order: the first card not yet sent, once it is prepared.
RecognitionCardJob* RecognitionPendingRun::nextToSend()
{
    for (RecognitionCardJob& job : m_jobs) {
        if (!job.sent)
            return job.prepared->isDone() ? &job : nullptr;
    }
    return nullptr;
}

void RecognitionPendingRun::collect(RecognitionCardJob& job)
{
    job.error = PLFinishEventOnOCRWorker(job.worker, *job.exchange, &job.status, {ocr::kKeyResult, &job.result},
                                         {ocr::kKeyOrientation, &job.orientation});
    job.exchange.reset();
    job.collected = true;
    // The bitmap has gone out: only its size is read from here on.
    job.prepared->bitmap.data = QByteArray();
    job.prepared->bitmap.pixels = QImage();
    if (PLRegController::replyEndsRun(job.error, job.status, job.result, job.orientation))
        m_stopSending = true;
}

void RecognitionPendingRun::send(RecognitionCardJob& job, int worker)
{
    const PreparedCard& prepared = *job.prepared;
    job.worker = worker;
    job.sent = true;
    job.exchange =
        PLStartEventOnOCRWorker(worker, ocr::kEventRun, {ocr::kKeyParam, prepared.param.constData(), int32_t(prepared.param.size())},
                                {ocr::kKeyImageInfo, prepared.info.constData(), int32_t(prepared.info.size())},
                                {ocr::kKeyImage, prepared.bitmap.data.constData(), int32_t(prepared.bitmap.data.size())}, &job.error);
    if (!job.exchange) {
        job.collected = true;
        m_stopSending = true;
    }
}

void RecognitionPendingRun::pump()
{
    // Replies first, so that one that ends the run stops what would follow it.
    qsizetype inHand = 0;
    for (RecognitionCardJob& job : m_jobs) {
        if (job.exchange && job.exchange->isDone())
            collect(job);
        if (job.started && !job.collected && !(job.prepared->isDone() && job.prepared->skipped))
            ++inHand;
    }
    for (RecognitionCardJob& job : m_jobs) {
        if (inHand >= m_window)
            break;
        if (job.started)
            continue;
        job.started = true;
        // A card skipped before it had files to prepare takes no room.
        if (job.prepared->isDone())
            continue;
        ++inHand;
        m_preparation.prepare(job.prepared);
    }
    RecognitionCardJob* job = nullptr;
    int worker = -1;
    while ((job = nextToSend()) && (job->prepared->skipped || (!m_stopSending && (worker = idleWorker()) >= 0))) {
        if (job->prepared->skipped) {
            job->sent = true;
            continue;
        }
        // Extra workers start on first use; one that cannot be had is left out of the run.
        if (worker > 0 && !LaunchOCRWorker(worker)) {
            m_usable[size_t(worker)] = 0;
            continue;
        }
        send(*job, worker);
    }
}

bool RecognitionPendingRun::hasWork() const
{
    if (m_jobs.empty() || m_jobs.front().ready())
        return true;
    for (const RecognitionCardJob& job : m_jobs) {
        if (job.exchange && job.exchange->isDone())
            return true;
        if (!job.sent) {
            if (!job.prepared->isDone())
                return false;
            return job.prepared->skipped || (!m_stopSending && idleWorker() >= 0);
        }
    }
    return false;
}

void RecognitionPendingRun::drain()
{
    for (RecognitionCardJob& job : m_jobs) {
        if (job.exchange) {
            int32_t ignored = 0;
            PLFinishEventOnOCRWorker(job.worker, *job.exchange, &ignored, {ocr::kKeyUnused, nullptr}, {ocr::kKeyUnused, nullptr});
        }
    }
    m_jobs.clear();
}
