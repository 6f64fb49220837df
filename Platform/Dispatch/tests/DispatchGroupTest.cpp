#include "Dispatch/Dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(DispatchGroupTest, WaitTimesOutUntilTheGroupEmptiesAndNotifyRunsAfter)
{
    auto group = dispatch_group_create();
    auto serial = dispatch_queue_create("group-test", DISPATCH_QUEUE_SERIAL);
    std::atomic<bool> release{false};
    std::atomic<int> done{0};
    dispatch_group_enter(group);
    dispatch_group_async(group, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0), [&] {
        while (!release) std::this_thread::yield();
        ++done;
    });
    dispatch_group_async(group, serial, [&] { ++done; });
    std::atomic<int> notifiedWith{-1};
    dispatch_group_notify(group, serial, [&] { notifiedWith = done.load(); });
    EXPECT_NE(dispatch_group_wait(group, dispatch_time(DISPATCH_TIME_NOW, 50 * NSEC_PER_MSEC)), 0);
    release = true;
    EXPECT_NE(dispatch_group_wait(group, dispatch_time(DISPATCH_TIME_NOW, 50 * NSEC_PER_MSEC)), 0);  // still entered
    dispatch_group_leave(group);
    EXPECT_EQ(dispatch_group_wait(group, DISPATCH_TIME_FOREVER), 0);
    for (int i = 0; i < 200 && notifiedWith < 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(notifiedWith, 2);
    EXPECT_EQ(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0)->label(), "com.tessel.root.high");
}

}  // namespace
