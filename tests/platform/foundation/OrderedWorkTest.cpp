#include "platform/foundation/OrderedWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// Results come in the items' order whichever thread finishes first; the threads keep within
// their distance of the last item taken; what was done and never taken is handed back.
TEST(OrderedWork, ResultsComeInOrderWithinTheirDistanceAndTheUntakenAreHandedBack)
{
    std::atomic<size_t> furthest{0};
    OrderedWork<size_t> work(100, 4, 8, [&](size_t i) {
        size_t seen = furthest.load();
        while (i > seen && !furthest.compare_exchange_weak(seen, i)) {
        }
        if (i % 3 == 0)
            std::this_thread::yield();
        return i * i;
    });
    for (size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(work.take(i), i * i);
        EXPECT_LE(furthest.load(), i + 8 + 4) << "the threads ran too far ahead of item " << i;
    }
    const std::vector<size_t> untaken = work.finish();
    EXPECT_LE(untaken.size(), 8u + 4u);
    for (size_t result : untaken)
        EXPECT_GE(result, 40u * 40u);
}
