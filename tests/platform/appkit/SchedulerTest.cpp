#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"
#include "tests/support/appkit/ManualClock.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct SchedulerFixture : ::testing::Test {
    ManualClock clock;
    Scheduler scheduler{&clock};
    QStringList ran;

    auto record(const QString& name)
    {
        return [this, name] { ran.append(name); };
    }
};

} // namespace

TEST_F(SchedulerFixture, RunsCallsAtTheirDueTimeInOrder)
{
    scheduler.performAfterDelay(nullptr, "late", 1000, record("late"));
    scheduler.performAfterDelay(nullptr, "soon", 300, record("soon"));
    scheduler.performAfterDelay(nullptr, "now1", 0, record("now1"));
    scheduler.performAfterDelay(nullptr, "now2", 0, record("now2"));
    EXPECT_TRUE(ran.isEmpty()) << "nothing runs before the event loop turns";
    clock.advance(0);
    EXPECT_EQ(ran, QStringList({"now1", "now2"}));
    clock.advance(299);
    EXPECT_EQ(ran.size(), 2);
    clock.advance(1);
    EXPECT_EQ(ran.last(), "soon");
    clock.advance(700);
    EXPECT_EQ(ran.last(), "late");
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(SchedulerFixture, CallScheduledFromACallRunsAfterThoseAlreadyDue)
{
    scheduler.performAfterDelay(nullptr, "a", 0, [this] {
        ran.append("a");
        scheduler.performAfterDelay(nullptr, "c", 0, record("c"));
    });
    scheduler.performAfterDelay(nullptr, "b", 0, record("b"));
    clock.advance(0);
    EXPECT_EQ(ran, QStringList({"a", "b", "c"}));
}

TEST_F(SchedulerFixture, CancelsByTargetAndSelector)
{
    int a = 0, b = 0;
    scheduler.performAfterDelay(&a, "load", 300, record("a-load"));
    scheduler.performAfterDelay(&a, "show", 300, record("a-show"));
    scheduler.performAfterDelay(&b, "load", 300, record("b-load"));
    const auto id = scheduler.performAfterDelay(&b, "show", 300, record("b-show"));
    scheduler.cancelPreviousPerformRequests(&a, "load");
    scheduler.cancel(id);
    clock.advance(300);
    EXPECT_EQ(ran, QStringList({"a-show", "b-load"}));

    scheduler.performAfterDelay(&a, "load", 0, record("x"));
    scheduler.performAfterDelay(&a, "show", 0, record("y"));
    scheduler.cancelPreviousPerformRequests(&a);
    clock.advance(10);
    EXPECT_EQ(ran.size(), 2);
}

TEST_F(SchedulerFixture, HoldsDueCallsWhileAModalRunIsOpen)
{
    scheduler.performAfterDelay(nullptr, "load", 300, record("load"));
    {
        ModalScope modal;
        clock.advance(1000);
        EXPECT_TRUE(ran.isEmpty());
        {
            ModalScope nested;
        }
        clock.advance(0);
        EXPECT_TRUE(ran.isEmpty()) << "still inside the outer modal run";
    }
    EXPECT_TRUE(ran.isEmpty()) << "held calls run from the event loop, not inside the closing code";
    clock.advance(0);
    EXPECT_EQ(ran, QStringList({"load"}));
}

TEST_F(SchedulerFixture, CallThatOpensAModalRunHoldsTheOthers)
{
    scheduler.performAfterDelay(nullptr, "first", 0, [&] {
        ModalScope modal;
        ran.append("first");
        clock.advance(0);   // the nested run turns the loop: "second" must not run inside it
        EXPECT_EQ(ran, QStringList({"first"}));
    });
    scheduler.performAfterDelay(nullptr, "second", 0, record("second"));
    clock.advance(0);
    EXPECT_EQ(ran, QStringList({"first", "second"}));
}
