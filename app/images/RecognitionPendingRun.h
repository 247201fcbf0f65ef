// A recognition run under way: its cards in their order, each prepared on the pool, sent to an
// idle OCR application and its reply taken as soon as it is in. The main thread moves the run on
// with pump(), which never waits, and applies the replies in the cards' order itself; so an import
// can start the run with its first card and go on importing while the cards are recognised.
#pragma once

#include "app/images/OcrWorkerLaunch.h"
#include "app/images/RecognitionCardJob.h"
#include "app/images/RecognitionPreparation.h"

#include <deque>
#include <memory>
#include <vector>

class RecognitionPendingRun {
public:
    // `workers` OCR applications (link 0 and the extra workers, started on first use without
    // waiting for them) and `threads` preparing threads. The OCR application is open already.
    RecognitionPendingRun(const RecognitionRunSetup& setup, int workers, int threads);
    // Waits for the requests still out (each within its time-out) and the preparations in hand.
    ~RecognitionPendingRun();
    RecognitionPendingRun(const RecognitionPendingRun&) = delete;
    RecognitionPendingRun& operator=(const RecognitionPendingRun&) = delete;

    const RecognitionRunSetup& setup() const { return m_setup; }
    // The cards not yet applied, in their order.
    const std::deque<RecognitionCardJob>& jobs() const { return m_jobs; }
    void setCard(qsizetype position, CardRecord* card) { m_jobs[size_t(position)].card = card; }
    void add(RecognitionCardJob job) { m_jobs.push_back(std::move(job)); }
    // The first card, once ready(), to be applied.
    RecognitionCardJob takeFront();

    // Takes the replies that are in, starts preparations within the window of cards in hand, and
    // sends prepared cards in their order to idle applications. A prepared card that finds none
    // starts extra workers, whose opening it looks in on at later calls. No request is sent once
    // a reply (or a failed send) has ended the run, so with one application none follows it, nor
    // while the replies taken and not yet applied pass their ceiling. Its cost does not grow with
    // the cards the run holds.
    void pump();
    // Whether the first card is ready or pump() has something to do: what a waiting run waits for.
    bool hasWork() const;
    // Answers (or lets time out) the requests still out and the workers' openings under way, and
    // forgets every card.
    void drain();

private:
    // Cards are counted from the run's first, applied ones included.
    RecognitionCardJob& at(qsizetype card) { return m_jobs[size_t(card - m_taken)]; }
    const RecognitionCardJob& at(qsizetype card) const { return m_jobs[size_t(card - m_taken)]; }
    qsizetype end() const { return m_taken + qsizetype(m_jobs.size()); }
    int idleWorker() const;
    void collect(RecognitionCardJob& job);
    void moveLaunchesOn();
    int workerToLaunch(int from) const;
    bool launchWorkers();
    void endLaunch(int worker, OcrWorkerLaunch::State state);

    const RecognitionRunSetup m_setup;
    const int m_workers;
    const qsizetype m_window; // cards prepared or in hand whose reply is not yet taken
    std::vector<char> m_usable;
    std::vector<char> m_ready; // takes requests: link 0, and an extra worker once opened
    std::vector<char> m_busy; // a request of the worker's is out, its reply not yet taken
    std::vector<std::unique_ptr<OcrWorkerLaunch>> m_launches; // of the workers being opened
    qsizetype m_opening = 0;
    bool m_stopSending = false;
    std::deque<RecognitionCardJob> m_jobs;
    qsizetype m_taken = 0; // cards applied and gone from m_jobs
    qsizetype m_nextToStart = 0;
    qsizetype m_nextToSend = 0;
    qsizetype m_inHand = 0;
    qsizetype m_heldReplyBytes = 0; // of the replies taken and not yet applied
    std::vector<qsizetype> m_inFlight; // cards whose request is out
    RecognitionPreparation m_preparation; // last: its threads stop before the rest goes
};
