#include <gtest/gtest.h>

#include "platform/fakes/ManualTimers.h"

using platform::fakes::ManualTimers;

TEST(ManualTimersTest, TicksFireInTimeOrderAndRestartWhenChanged) {
    ManualTimers timers;
    std::string log;
    auto fast = timers.create([&] { log += 'f'; });
    auto slow = timers.create([&] { log += 's'; });
    fast->set(100, true);
    slow->set(250, true);
    timers.advance(500);
    EXPECT_EQ(log, "ffsfffs");
    log.clear();
    fast->set(100, false);
    timers.advance(500);
    EXPECT_EQ(log, "ss");
    log.clear();
    slow->set(0, true);  // an interval of 0 never ticks
    timers.advance(500);
    EXPECT_EQ(log, "");
}

TEST(ManualTimersTest, ATickMayDestroyItsOwnTimer) {
    ManualTimers timers;
    std::unique_ptr<platform::TimerSource> once;
    int ticks = 0;
    once = timers.create([&] {
        ++ticks;
        once.reset();
    });
    once->set(10, true);
    timers.advance(100);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timers.liveTimers(), 0);
}
