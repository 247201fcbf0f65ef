// The cards of a recognition run are checked, decoded to grey and made into requests on a pool
// of threads (one per core at most) while the main thread applies the replies in the cards' order.
#pragma once

#include "app/images/GreyBitmapPool.h"
#include "app/images/RecognitionCardJob.h"

#include <QThreadPool>

#include <memory>

class RecognitionPreparation {
public:
    // `setup` and its images must outlive this object; their checks and decoding are called from
    // the pool's threads, several cards at once.
    RecognitionPreparation(const RecognitionRunSetup& setup, int threads);
    // Drops the cards not yet started and waits for those in hand. The bitmaps' buffers kept for
    // reuse go with it.
    ~RecognitionPreparation();
    RecognitionPreparation(const RecognitionPreparation&) = delete;
    RecognitionPreparation& operator=(const RecognitionPreparation&) = delete;

    // Prepares the card whose front file (and, unless blank, back file) `card` names; marks it
    // done and wakes the recognition waiters when it is. Its grey bitmap is over a buffer of
    // the run's, which comes back once the last image over it goes.
    void prepare(std::shared_ptr<PreparedCard> card);

private:
    // The preparation of one card on the calling thread.
    static void prepareNow(const RecognitionRunSetup& setup, PreparedCard& card);

    const RecognitionRunSetup& m_setup;
    // Two buffers a thread: the card it decodes and the one whose request is going out.
    GreyBitmapPool m_bitmaps;
    QThreadPool m_pool; // after m_bitmaps: its threads stop before the pool goes
};
