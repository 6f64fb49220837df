#include "Dispatch/Dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(DispatchApplyTest, RunsEveryIndexExactlyOnceOnAGlobalQueueAndReturnsAfterTheLast)
{
    for (std::size_t iterations : {std::size_t{1}, std::size_t{3}, std::size_t{1000}}) {
        std::vector<std::atomic<int>> runs(iterations);
        dispatch_apply(iterations, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [&](std::size_t i) {
            if (i % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
            runs[i].fetch_add(1);
        });
        for (std::size_t i = 0; i < iterations; ++i) ASSERT_EQ(runs[i].load(), 1) << i << " of " << iterations;
    }
}

TEST(DispatchApplyTest, SharesTheWorkBetweenThreadsOnAGlobalQueue)
{
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core";
    // Each run waits (a bounded time) for a second thread to join in; alone, the caller would
    // wait out every deadline.
    std::mutex mutex;
    std::set<std::thread::id> threads;
    dispatch_apply(4, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [&](std::size_t) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        {
            std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
        }
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard lock(mutex);
                if (threads.size() >= 2) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    EXPECT_GE(threads.size(), 2u);
}

TEST(DispatchApplyTest, RunsInOrderOnASerialQueueAndNestsInsideAGlobalWorker)
{
    dispatch_queue_t serial = dispatch_queue_create("apply", DISPATCH_QUEUE_SERIAL);
    std::vector<std::size_t> order;
    dispatch_apply(5, serial, [&](std::size_t i) { order.push_back(i); });
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3, 4}));

    std::atomic<int> inner{0};
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    dispatch_apply(8, global, [&](std::size_t) { dispatch_apply(8, global, [&](std::size_t) { inner.fetch_add(1); }); });
    EXPECT_EQ(inner.load(), 64);
}

}  // namespace
