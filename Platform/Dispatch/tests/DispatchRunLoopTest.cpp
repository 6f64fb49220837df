#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kTimeout = 20;

// Observers are process-wide: each test removes what it added.
class ObserverScope {
public:
    ~ObserverScope()
    {
        for (auto id : ids_) DispatchRunLoop::removeObserver(id);
    }
    DispatchRunLoop::ObserverId add(DispatchRunLoopStage stage, std::function<void()> observer)
    {
        ids_.push_back(DispatchRunLoop::addObserver(stage, std::move(observer)));
        return ids_.back();
    }

private:
    std::vector<DispatchRunLoop::ObserverId> ids_;
};

TEST(DispatchRunLoopTest, ATurnRunsTheStagesInOrderAndDefersBlocksPostedDuringIt)
{
    ObserverScope observers;
    std::vector<std::string> seen;
    auto note = [&seen](std::string what) { return [&seen, what] { seen.push_back(what); }; };
    // Added last stage first, so that only the stage decides the order.
    observers.add(DispatchRunLoopStage::Composite, note("composite"));
    observers.add(DispatchRunLoopStage::Display, note("display"));
    observers.add(DispatchRunLoopStage::Layout, note("layout"));
    observers.add(DispatchRunLoopStage::Animation, note("animation"));
    observers.add(DispatchRunLoopStage::Input, note("input"));
    observers.add(DispatchRunLoopStage::TimersAndBlocks, note("after blocks"));
    // Within a stage, observers run in the order added; one removed by an earlier one is skipped.
    DispatchRunLoop::ObserverId removedLater = 0;
    bool removeNow = false;
    observers.add(DispatchRunLoopStage::Layout, [&] {
        seen.push_back("layout 2");
        if (removeNow) DispatchRunLoop::removeObserver(removedLater);
    });
    removedLater = observers.add(DispatchRunLoopStage::Layout, note("layout 3"));

    auto main = dispatch_get_main_queue();
    dispatch_async(main, [&] {
        seen.push_back("block");
        dispatch_async(main, note("posted during the turn"));
    });
    EXPECT_EQ(DispatchRunLoop::drain(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"block", "after blocks", "input", "animation", "layout", "layout 2",
                                              "layout 3", "display", "composite"}));

    seen.clear();
    removeNow = true;
    EXPECT_EQ(DispatchRunLoop::drain(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"posted during the turn", "after blocks", "input", "animation", "layout",
                                              "layout 2", "display", "composite"}));
}

TEST(DispatchRunLoopTest, AdvancingTurnsOnceAtEveryFrameBoundaryAndDueTimeInOrder)
{
    DispatchClock::useVirtualTime(true);
    dispatch_time_t start = DispatchClock::now();
    ObserverScope observers;
    std::vector<std::string> seen;
    auto elapsed = [start] { return std::to_string(DispatchClock::now() - start); };
    observers.add(DispatchRunLoopStage::Animation, [&] { seen.push_back("frame@" + elapsed()); });
    dispatch_after(start + 25 * NSEC_PER_MSEC, dispatch_get_main_queue(),
                   [&] { seen.push_back("block@" + elapsed()); });

    // Frames fall every 1/60 s, rounded up to the nanosecond; the last turn is at the end.
    DispatchClock::advance(0.055);
    EXPECT_EQ(seen, (std::vector<std::string>{"frame@16666667", "block@25000000", "frame@25000000", "frame@33333334",
                                              "frame@50000000", "frame@55000000"}));
    EXPECT_EQ(DispatchClock::now() - start, 55 * NSEC_PER_MSEC);
    DispatchClock::useVirtualTime(false);
}

TEST(DispatchRunLoopTest, VirtualTimeFiresWorkerBlocksAndAdvancingOffTheMainThreadOnlyHandsOn)
{
    DispatchClock::useVirtualTime(true);
    dispatch_time_t start = DispatchClock::now();
    auto worker = dispatch_queue_create("com.tessel.tests.virtual-worker", DISPATCH_QUEUE_SERIAL);
    std::atomic<dispatch_time_t> workerRanAt{0};
    dispatch_after(start + 100 * NSEC_PER_MSEC, worker, [&] { workerRanAt = DispatchClock::now(); });
    DispatchClock::advance(0.1);
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return workerRanAt != 0; }, kTimeout));
    EXPECT_EQ(workerRanAt - start, 100 * NSEC_PER_MSEC);

    bool ranOnMain = false;
    dispatch_after(start + 150 * NSEC_PER_MSEC, dispatch_get_main_queue(), [&] { ranOnMain = true; });
    std::thread([] { DispatchClock::advance(0.05); }).join();
    EXPECT_FALSE(ranOnMain) << "only the main thread turns the run loop";
    EXPECT_EQ(DispatchRunLoop::drain(), 1);
    EXPECT_TRUE(ranOnMain);
    DispatchClock::useVirtualTime(false);
}

TEST(DispatchRunLoopTest, AHostLoopSleepingUntilWokenSeesEveryKindOfPost)
{
    int fd = eventfd(0, EFD_NONBLOCK);
    ASSERT_GE(fd, 0);
    DispatchMainQueue::setWakeHandler([fd] {
        std::uint64_t one = 1;
        [[maybe_unused]] auto written = write(fd, &one, sizeof one);
    });
    // The host's loop: sleeps in poll and turns the run loop only when woken.
    auto hostRunsUntil = [fd](const std::function<bool()>& done) {
        while (!done()) {
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, static_cast<int>(kTimeout * 1000)) != 1) return false;
            std::uint64_t count;
            [[maybe_unused]] auto read_ = read(fd, &count, sizeof count);
            DispatchRunLoop::drain();
        }
        return true;
    };
    auto main = dispatch_get_main_queue();
    auto worker = dispatch_queue_create("com.tessel.tests.waker", DISPATCH_QUEUE_SERIAL);
    std::atomic<bool> ran{false};

    dispatch_async(worker, [&] { dispatch_async(main, [&] { ran = true; }); });
    EXPECT_TRUE(hostRunsUntil([&] { return ran.load(); })) << "async from a worker";

    ran = false;
    dispatch_async(worker, [&] { dispatch_sync(main, [&] { ran = true; }); });
    EXPECT_TRUE(hostRunsUntil([&] { return ran.load(); })) << "sync from a worker";

    ran = false;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 10 * NSEC_PER_MSEC), main, [&] { ran = true; });
    EXPECT_TRUE(hostRunsUntil([&] { return ran.load(); })) << "a delayed block falling due";

    DispatchMainQueue::setWakeHandler({});
    close(fd);
}

}  // namespace
