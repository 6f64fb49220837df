#include "Foundation/NSOperationQueue.h"

#include "Dispatch/Dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class BlockOperation : public NSOperation {
public:
    using NSOperation::NSOperation;
    static std::shared_ptr<BlockOperation> with(std::function<void()> body)
    {
        return NSObject::create<BlockOperation>([&](BlockOperation& o) { o.body = std::move(body); });
    }
    void main() override
    {
        ++mains;
        if (body) body();
    }
    std::function<void()> body;
    std::atomic<int> mains{0};
};

// Finishes on another thread some time after its start, or inside its start when told to.
class ConcurrentOperation : public NSOperation {
public:
    using NSOperation::NSOperation;
    bool isConcurrent() const override { return true; }
    void start() override
    {
        if (isExecuting() || isFinished()) return;
        ++starts;
        setExecuting(true);
        if (finishInsideStart) return finish();
        std::thread([this, self = self<ConcurrentOperation>()] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            finish();
        }).detach();
    }
    void finish()
    {
        setExecuting(false);
        setFinished(true);
    }
    bool finishInsideStart = false;
    std::atomic<int> starts{0};
};

TEST(NSOperationQueueTest, AWidthOfThreeNeverRunsAFourth)
{
    auto queue = NSOperationQueue::queue();
    EXPECT_EQ(queue->maxConcurrentOperationCount(), NSOperationQueueDefaultMaxConcurrentOperationCount);
    queue->setMaxConcurrentOperationCount(3);
    std::atomic<int> running{0}, most{0};
    for (int i = 0; i < 12; ++i) {
        queue->addOperation(BlockOperation::with([&] {
            int now = ++running;
            for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {}
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            --running;
        }));
    }
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(most, 3);
    EXPECT_EQ(queue->operationCount(), 0u);
}

TEST(NSOperationQueueTest, ACompletionOperationWaitsForConcurrentOperationsFinishingElsewhere)
{
    auto queue = NSOperationQueue::queue();
    std::vector<std::shared_ptr<ConcurrentOperation>> fetches;
    std::atomic<int> finishedWhenCompleted{-1};
    auto completion = BlockOperation::with([&] {
        int finished = 0;
        for (const auto& f : fetches) finished += f->isFinished();
        finishedWhenCompleted = finished;
    });
    for (int i = 0; i < 5; ++i) {
        fetches.push_back(NSObject::create<ConcurrentOperation>());
        completion->addDependency(fetches.back());
    }
    fetches[2]->finishInsideStart = true;
    for (const auto& f : fetches) queue->addOperation(f);
    queue->addOperation(completion);
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(finishedWhenCompleted, 5);
    for (const auto& f : fetches) EXPECT_EQ(f->starts, 1);
}

TEST(NSOperationQueueTest, CancelledOperationsFinishWithoutMainAndDependenciesHold)
{
    auto queue = NSOperationQueue::queue();
    auto cancelled = BlockOperation::with(nullptr);
    cancelled->cancel();
    auto afterCancelled = BlockOperation::with(nullptr);
    afterCancelled->addDependency(cancelled);
    auto finished = BlockOperation::with(nullptr);
    finished->start();
    finished->start();  // never twice
    auto afterFinished = BlockOperation::with(nullptr);
    afterFinished->addDependency(finished);
    auto neverStarted = BlockOperation::with(nullptr);
    auto blocked = BlockOperation::with(nullptr);
    blocked->addDependency(neverStarted);

    for (const auto& op : {cancelled, afterCancelled, afterFinished, blocked}) queue->addOperation(op);
    for (int i = 0; i < 200 && queue->operationCount() > 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(finished->mains, 1);
    EXPECT_TRUE(cancelled->isFinished());
    EXPECT_EQ(cancelled->mains, 0);
    EXPECT_EQ(afterCancelled->mains, 1);
    EXPECT_EQ(afterFinished->mains, 1);
    EXPECT_FALSE(blocked->isReady());
    EXPECT_EQ(queue->operationCount(), 1u);  // waits on an operation nobody started

    queue->addOperation(neverStarted);
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(blocked->mains, 1);

    // cancelAllOperations: queued ones finish without main.
    auto later = BlockOperation::with(nullptr);
    queue->setMaxConcurrentOperationCount(1);
    std::atomic<bool> release{false};
    auto holding = BlockOperation::with([&] {
        while (!release) std::this_thread::yield();
    });
    queue->addOperation(holding);
    queue->addOperation(later);
    queue->cancelAllOperations();
    release = true;
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(later->mains, 0);
    EXPECT_TRUE(later->isFinished());
}

// A suspended serial queue starts nothing, lets the running block finish, and on resuming runs
// the rest in the order added; an operation may suspend its own queue.
TEST(NSOperationQueueTest, SuspensionHoldsNewWorkAndResumingRunsItInOrder)
{
    auto queue = NSOperationQueue::queue();
    queue->setMaxConcurrentOperationCount(1);
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<bool> entered{false}, release{false};
    queue->addOperationWithBlock([&] {
        entered = true;
        while (!release) std::this_thread::yield();
        std::lock_guard lock(mutex);
        order.push_back(0);
    });
    while (!entered) std::this_thread::yield();
    queue->setSuspended(true);
    EXPECT_TRUE(queue->isSuspended());
    for (int i = 1; i <= 5; ++i)
        queue->addOperationWithBlock([&, i] {
            std::lock_guard lock(mutex);
            order.push_back(i);
        });
    queue->addOperationWithBlock(nullptr);
    release = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(order, std::vector<int>{0});  // the running one finished, nothing new started
    }
    EXPECT_EQ(queue->operationCount(), 5u);

    queue->setSuspended(false);
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));

    // From inside an operation: the queue suspends itself and the next one waits.
    queue->addOperationWithBlock([&] { queue->setSuspended(true); });
    std::atomic<bool> ranAfter{false};
    queue->addOperationWithBlock([&] { ranAfter = true; });
    while (queue->operationCount() > 1) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(ranAfter);
    queue->setSuspended(false);
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(ranAfter);
}

}  // namespace
