// A recognition run under way: its cards in their order, each prepared on the pool, sent to an
// idle OCR application and its reply taken as soon as it is in. The main thread moves the run on
// with pump(), which never waits, and applies the replies in the cards' order itself; so an import
// can start the run with its first card and go on importing while the cards are recognised.
#pragma once

#include "app/images/RecognitionCardJob.h"
#include "app/images/RecognitionPreparation.h"

#include <deque>
#include <vector>

class RecognitionPendingRun {
public:
    // `workers` OCR applications (link 0 and the extra workers, started on first use) and
    // `threads` preparing threads. The OCR application is open already.
    RecognitionPendingRun(const RecognitionRunSetup& setup, int workers, int threads);
    // Waits for the requests still out (each within its time-out) and the preparations in hand.
    ~RecognitionPendingRun();
    RecognitionPendingRun(const RecognitionPendingRun&) = delete;
    RecognitionPendingRun& operator=(const RecognitionPendingRun&) = delete;

    const RecognitionRunSetup& setup() const { return m_setup; }
    // The cards not yet applied, in their order; the caller pops the first once ready().
    std::deque<RecognitionCardJob>& jobs() { return m_jobs; }
    void add(RecognitionCardJob job) { m_jobs.push_back(std::move(job)); }

    // Takes the replies that are in, starts preparations within the window of cards in hand, and
    // sends prepared cards in their order to idle applications. No request is sent once a reply
    // (or a failed send) has ended the run, so with one application none follows it.
    void pump();
    // Whether the first card is ready or pump() has something to do: what a waiting run waits for.
    bool hasWork() const;
    // Answers (or lets time out) the requests still out and forgets every card.
    void drain();

private:
    int idleWorker() const;
    RecognitionCardJob* nextToSend();
    void collect(RecognitionCardJob& job);
    void send(RecognitionCardJob& job, int worker);

    const RecognitionRunSetup m_setup;
    const int m_workers;
    const qsizetype m_window; // cards prepared or in hand whose reply is not yet taken
    std::vector<char> m_usable;
    bool m_stopSending = false;
    std::deque<RecognitionCardJob> m_jobs;
    RecognitionPreparation m_preparation; // last: its threads stop before the rest goes
};
