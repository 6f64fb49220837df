// A serial queue with a thread of its own: every block on that one thread, in order; the thread
// ends with the queue.
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Dispatch/DispatchThreadBoundQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// Set when the thread it was first touched on ends.
struct ThreadEndFlag {
    std::atomic<bool>* ended = nullptr;
    ~ThreadEndFlag()
    {
        if (ended) ended->store(true);
    }
};
thread_local ThreadEndFlag threadEnd;

TEST(DispatchThreadBoundQueueTest, AsyncAndSyncBlocksAllRunOnTheQueuesThreadInOrder)
{
    auto queue = DispatchThreadBoundQueue::make("com.tessel.tests.bound");
    // Retargeting would move a pool queue's blocks; this queue keeps its thread.
    dispatch_set_target_queue(queue, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0));
    std::vector<int> order;  // touched only by the queue's blocks
    std::vector<std::thread::id> threads;
    std::atomic<bool> notCurrent{false};
    std::vector<std::thread> producers;
    for (int p = 0; p < 4; ++p)
        producers.emplace_back([&, p] {
            for (int i = 0; i < 100; ++i) {
                auto block = [&, p, i] {
                    order.push_back(p * 1000 + i);
                    threads.push_back(std::this_thread::get_id());
                    if (!queue->isCurrent()) notCurrent = true;
                };
                if (i % 10 == 0) {
                    bool ran = false;
                    dispatch_sync(queue, [&] {
                        block();
                        ran = true;
                    });
                    EXPECT_TRUE(ran) << "the sync returned before its block ran";
                } else {
                    dispatch_async(queue, block);
                }
            }
        });
    for (auto& t : producers) t.join();
    std::vector<int> seen;
    std::vector<std::thread::id> ranOn;
    dispatch_sync(queue, [&] {
        seen = order;
        ranOn = threads;
    });
    ASSERT_EQ(seen.size(), 400u);
    for (const std::thread::id& id : ranOn) EXPECT_EQ(id, queue->threadId());
    EXPECT_NE(queue->threadId(), std::this_thread::get_id());
    EXPECT_FALSE(notCurrent);
    std::vector<int> lastOf(4, -1);
    for (int v : seen) {
        EXPECT_GT(v % 1000, lastOf[v / 1000]) << "blocks of one producer ran out of order";
        lastOf[v / 1000] = v % 1000;
    }
}

TEST(DispatchThreadBoundQueueTest, ReleasingTheQueueRunsWhatIsQueuedThenEndsTheThread)
{
    std::atomic<bool> ended{false};
    std::atomic<int> ran{0};
    auto queue = DispatchThreadBoundQueue::make("com.tessel.tests.bound");
    queue->async([&] { threadEnd.ended = &ended; });
    for (int i = 0; i < 20; ++i)
        queue->async([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++ran;
        });
    queue.reset();
    EXPECT_EQ(ran.load(), 20);
    EXPECT_TRUE(ended.load());
}

TEST(DispatchThreadBoundQueueTest, ALastReferenceDroppedByItsOwnBlockEndsTheThread)
{
    std::atomic<bool> ended{false};
    auto queue = DispatchThreadBoundQueue::make("com.tessel.tests.bound");
    std::weak_ptr<DispatchThreadBoundQueue> weak = queue;
    queue->async([&] { threadEnd.ended = &ended; });
    queue->async([keep = queue] {});
    queue.reset();
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return ended.load(); }, 20));
    EXPECT_TRUE(weak.expired());
}

TEST(DispatchThreadBoundQueueTest, SyncFromTheQueuesOwnThreadStopsWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            auto queue = DispatchThreadBoundQueue::make("com.tessel.tests.bound");
            dispatch_sync(queue, [&] { dispatch_sync(queue, [] {}); });
        },
        "already owned by the current thread");
}

}  // namespace
