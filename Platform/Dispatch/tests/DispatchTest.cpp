#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Dispatch/DispatchTimer.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kTimeout = 20;

TEST(DispatchTest, SerialQueueRunsBlocksOneAtATimeInOrderAndSyncWaitsItsTurn)
{
    auto queue = dispatch_queue_create("com.tessel.tests.serial", DISPATCH_QUEUE_SERIAL);
    std::vector<int> order;  // touched only by the queue's blocks
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::vector<std::thread> producers;
    for (int p = 0; p < 4; ++p)
        producers.emplace_back([&, p] {
            for (int i = 0; i < 200; ++i)
                dispatch_async(queue, [&, p, i] {
                    if (running.fetch_add(1) != 0) overlapped = true;
                    order.push_back(p * 1000 + i);
                    running.fetch_sub(1);
                });
        });
    for (auto& t : producers) t.join();
    std::vector<int> seen;
    dispatch_sync(queue, [&] { seen = order; });
    ASSERT_EQ(seen.size(), 800u);
    EXPECT_FALSE(overlapped);
    std::vector<int> lastOf(4, -1);
    for (int v : seen) {
        EXPECT_GT(v % 1000, lastOf[v / 1000]) << "blocks of one producer ran out of order";
        lastOf[v / 1000] = v % 1000;
    }
}

TEST(DispatchTest, GlobalQueuePriorityIsObservableAndRetargetingTakesEffectPerBlock)
{
    auto priorityAndNice = [] {
        return std::make_pair(dispatch_get_current_priority(),
                              getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))));
    };
    auto queue = dispatch_queue_create("com.tessel.tests.retarget", DISPATCH_QUEUE_SERIAL);
    std::vector<std::pair<long, int>> seen;
    dispatch_set_target_queue(queue, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0));
    dispatch_async(queue, [&] {
        seen.push_back(priorityAndNice());
        // Retargeting from inside a block affects the next block, not this one.
        dispatch_set_target_queue(queue, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0));
        seen.push_back(priorityAndNice());
    });
    dispatch_async(queue, [&] { seen.push_back(priorityAndNice()); });
    dispatch_sync(queue, [] {});
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, DISPATCH_QUEUE_PRIORITY_BACKGROUND);
    EXPECT_GT(seen[0].second, 0) << "background workers run niced";
    EXPECT_EQ(seen[1].first, DISPATCH_QUEUE_PRIORITY_BACKGROUND);
    EXPECT_EQ(seen[2].first, DISPATCH_QUEUE_PRIORITY_DEFAULT);
    EXPECT_EQ(seen[2].second, 0);
}

TEST(DispatchTest, WorkerSyncHopToMainCompletesWhileTheTestPumpsTheRunLoop)
{
    ASSERT_TRUE(DispatchMainQueue::isMainThread());
    auto worker = dispatch_queue_create("com.tessel.tests.worker", DISPATCH_QUEUE_SERIAL);
    std::atomic<bool> finished{false};
    bool ranOnMain = false;
    dispatch_async(worker, [&] {
        dispatch_sync(dispatch_get_main_queue(), [&] { ranOnMain = DispatchMainQueue::isMainThread(); });
        finished = true;
    });
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return finished.load(); }, kTimeout));
    EXPECT_TRUE(ranOnMain);
    // A condition that never holds answers false once the timeout has passed.
    EXPECT_FALSE(DispatchRunLoop::runUntil([] { return false; }, 0.01));
}

TEST(DispatchTest, SyncOntoTheQueueRunningTheCallerStopsWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto queue = dispatch_queue_create("com.tessel.tests.self", DISPATCH_QUEUE_SERIAL);
    EXPECT_DEATH(dispatch_sync(queue, [&] { dispatch_sync(queue, [] {}); }), "already owned by the current thread");
    EXPECT_DEATH(dispatch_sync(dispatch_get_main_queue(), [] {}), "main queue called on the main thread");
}

TEST(DispatchTest, MainWaitingInSyncOnAQueueWhoseBlockSyncsToMainStopsWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Either side may start waiting first; each order is caught where its second wait begins.
    auto deadlock = [](bool blockWaitsFirst) {
        auto queue = dispatch_queue_create("com.tessel.tests.deadlock", DISPATCH_QUEUE_SERIAL);
        std::atomic<bool> blockStarted{false};
        std::atomic<bool> mainAboutToWait{false};
        dispatch_async(queue, [&] {
            blockStarted = true;
            if (!blockWaitsFirst) {
                while (!mainAboutToWait) std::this_thread::yield();
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            dispatch_sync(dispatch_get_main_queue(), [] {});
        });
        while (!blockStarted) std::this_thread::yield();
        if (blockWaitsFirst) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        mainAboutToWait = true;
        dispatch_sync(queue, [] {});
    };
    for (bool blockWaitsFirst : {true, false}) {
        SCOPED_TRACE(blockWaitsFirst ? "the block waits first" : "main waits first");
        EXPECT_DEATH(deadlock(blockWaitsFirst), "deadlock: the main thread waits in dispatch_sync on queue "
                                                "\"com.tessel.tests.deadlock\" while a block of that queue waits");
    }
}

TEST(DispatchTest, QueuesCarryOurLabels)
{
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_main_queue()), "com.tessel.main");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0)),
                 "com.tessel.root.default");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0)),
                 "com.tessel.root.background");
}

TEST(DispatchTest, VirtualTimeRunsEachDelayedBlockAndTimerTickAtItsOwnTime)
{
    DispatchClock::useVirtualTime(true);
    dispatch_time_t start = DispatchClock::now();
    std::vector<std::string> fired;
    auto record = [&fired, start](const std::string& name) {
        fired.push_back(name + "@" + std::to_string((DispatchClock::now() - start) / NSEC_PER_MSEC));
    };
    auto main = dispatch_get_main_queue();
    auto at = [&](double seconds, std::string name) {
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<std::int64_t>(seconds * NSEC_PER_SEC)), main,
                       [record, name] { record(name); });
    };
    at(0.30, "c");
    at(0.10, "a");
    at(0.20, "b");
    at(0.20, "b2");  // same due time: scheduling order
    auto timer = DispatchTimer::scheduledTimer(0.25, true, main, [&] { record("tick"); });
    auto once = DispatchTimer::scheduledTimer(0.05, false, main, [&] { record("once"); });

    // Nothing fires until time moves, however long the main thread pumps.
    EXPECT_FALSE(DispatchRunLoop::runUntil([&] { return !fired.empty(); }, 0.05));

    DispatchClock::advance(0.5);
    EXPECT_EQ(fired,
              (std::vector<std::string>{"once@50", "a@100", "b@200", "b2@200", "tick@250", "c@300", "tick@500"}));
    EXPECT_FALSE(once->isValid());

    fired.clear();
    DispatchClock::advance(0.3);
    EXPECT_EQ(fired, (std::vector<std::string>{"tick@750"}));

    fired.clear();
    timer->cancel();
    DispatchClock::advance(1.0);
    EXPECT_TRUE(fired.empty());
    DispatchClock::useVirtualTime(false);
}

TEST(DispatchTest, RealClockDelayedBlockRunsAfterItsDelay)
{
    auto main = dispatch_get_main_queue();
    dispatch_time_t start = DispatchClock::now();
    dispatch_time_t ranAt = 0;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 20 * NSEC_PER_MSEC), main, [&] { ranAt = DispatchClock::now(); });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return ranAt != 0; }, kTimeout));
    EXPECT_GE(ranAt - start, 20 * NSEC_PER_MSEC);
}

TEST(DispatchTest, APinnedDateStandsStillWhileDelaysRunInRealTime)
{
    DispatchClock::pinSecondsSince1970(1.7e9);
    bool ran = false;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 20 * NSEC_PER_MSEC), dispatch_get_main_queue(), [&] { ran = true; });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return ran; }, kTimeout));
    EXPECT_EQ(DispatchClock::secondsSince1970(), 1.7e9);
    DispatchClock::pinSecondsSince1970(std::nullopt);
    EXPECT_GT(DispatchClock::secondsSince1970(), 1.7e9 + 1e7) << "unpinned: the system's date again";
}

}  // namespace
