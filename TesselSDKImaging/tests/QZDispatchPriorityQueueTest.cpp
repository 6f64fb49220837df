#include "TesselSDKImaging/QZDispatchPriorityQueue.h"

#include "Dispatch/Dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::shared_ptr<QZDispatchQueueWrapper> listed(QZQueueType type, int identifier) {
  return QZDispatchQueueWrapper::make(type, identifier);
}

std::vector<std::pair<int, int>> typesAndIdentifiers(const QZDispatchPriorityQueue::SubmissionList& list) {
  std::vector<std::pair<int, int>> out;
  for (const auto& w : list) out.emplace_back(w->type(), w->identifier());
  return out;
}

TEST(QZSubmissionRuleTest, AddAndPushRulesPlaceTheReadySubQueue) {
  struct Case {
    const char* name;
    std::vector<std::pair<QZQueueType, int>> before;
    std::pair<QZQueueType, int> ready;
    bool push;
    std::vector<std::pair<int, int>> after;
  };
  const Case cases[] = {
      {"empty list", {}, {QZQueueTypeSDK, 1}, false, {{1, 1}}},
      {"older SDK ready again goes ahead of a younger prewarm",
       {{QZQueueTypePrewarm, 2}}, {QZQueueTypeSDK, 1}, false, {{1, 1}, {3, 2}}},
      {"younger load waits behind an older SDK",
       {{QZQueueTypeSDK, 1}}, {QZQueueTypeLoad, 3}, false, {{1, 1}, {0, 3}}},
      {"never ahead of a smaller type that precedes the first qualifying one",
       {{QZQueueTypeLoad, 5}, {QZQueueTypePrewarm, 4}}, {QZQueueTypeSDK, 2}, false, {{0, 5}, {1, 2}, {3, 4}}},
      {"same type, older goes first", {{QZQueueTypeSDK, 3}}, {QZQueueTypeSDK, 2}, false, {{1, 2}, {1, 3}}},
      {"older but larger type does not pass a smaller younger type",
       {{QZQueueTypeLoad, 3}}, {QZQueueTypeHires, 1}, false, {{0, 3}, {4, 1}}},
      {"younger than all goes last",
       {{QZQueueTypeHires, 1}, {QZQueueTypeDestroy, 2}}, {QZQueueTypeLoad, 3}, false, {{4, 1}, {5, 2}, {0, 3}}},
      {"push goes before the first of a smaller or equal type",
       {{QZQueueTypeHires, 2}, {QZQueueTypeSDK, 1}}, {QZQueueTypePrewarm, 3}, true, {{4, 2}, {3, 3}, {1, 1}}},
      {"push with no smaller or equal type goes last",
       {{QZQueueTypeHires, 2}}, {QZQueueTypeLoad, 1}, true, {{4, 2}, {0, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QZDispatchPriorityQueue::SubmissionList list;
    for (auto [type, identifier] : c.before) list.push_back(listed(type, identifier));
    auto ready = listed(c.ready.first, c.ready.second);
    if (c.push) QZDispatchPriorityQueue::pushQueueWrapperToSubmissionQueue(list, ready);
    else QZDispatchPriorityQueue::addQueueWrapperToSubmissionQueue(list, ready);
    EXPECT_EQ(typesAndIdentifiers(list), c.after);
  }
}

// A prioritised queue of its own per test, a log of what ran, and a gate: a block that holds
// the serial queue until released, so that a test can arrange the pending work deterministically
// (adds made while the gate runs reach the bookkeeping before the gate's own bookkeeping does).
class QZDispatchPriorityQueueTest : public ::testing::Test {
protected:
  std::shared_ptr<QZDispatchPriorityQueue> queue =
      QZDispatchPriorityQueue::make(dispatch_queue_create("com.tessel.tests.priority", DISPATCH_QUEUE_SERIAL));

  void log(const std::string& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  std::vector<std::string> events() {
    std::lock_guard lock(mutex_);
    return events_;
  }
  dispatch_block_t logging(std::string event) {
    return [this, event] { log(event); };
  }

  void startGate(int identifier) {
    queue->addBlock([this] {
      log("gate");
      std::unique_lock lock(mutex_);
      gateCv_.wait(lock, [this] { return gateOpen_; });
    }, identifier);
    ASSERT_TRUE(waitFor([this] { return !events().empty() && events().front() == "gate"; }));
  }
  void openGate() {
    {
      std::lock_guard lock(mutex_);
      gateOpen_ = true;
    }
    gateCv_.notify_all();
  }

  static bool waitFor(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }

  // Waits until everything queued and ready before this call has run: a fresh sub-queue is the
  // youngest and of the largest type, so its block is served after every listed one.
  void flush() {
    std::atomic<bool> done{false};
    int marker = queue->generateQueueForType(QZQueueTypeDestroy);
    queue->addBlock([&] { done = true; }, marker);
    ASSERT_TRUE(waitFor([&] { return done.load(); }));
    queue->destroyQueueWithIdentifier(marker);
  }

private:
  std::mutex mutex_;
  std::condition_variable gateCv_;
  bool gateOpen_ = false;
  std::vector<std::string> events_;
};

TEST_F(QZDispatchPriorityQueueTest, IdentifiersStartAtOneAndAreNeverReused) {
  int first = queue->generateQueueForType(QZQueueTypeSDK);
  EXPECT_EQ(first, 1);
  queue->destroyQueueWithIdentifier(first);
  EXPECT_EQ(queue->generateQueueForType(QZQueueTypeSDK), 2);
  EXPECT_TRUE(waitFor([&] { return !queue->queueWithIdentifierIsValid(first); }));
  EXPECT_EQ(queue->generateQueueForType(QZQueueTypeLoad), 3);

  // Unknown identifiers are ignored: the block never runs and the completion is not called.
  std::atomic<bool> completed{false};
  queue->addBlock(logging("lost"), 99, [&](auto) { completed = true; });
  queue->addBlock(nullptr, 3, [&](auto) { completed = true; });
  flush();
  EXPECT_FALSE(completed);
  EXPECT_TRUE(events().empty());
}

TEST_F(QZDispatchPriorityQueueTest, ServiceOrderDrainsTheHeadAndLetsOlderSubQueuesAhead) {
  int load = queue->generateQueueForType(QZQueueTypeLoad);
  int prewarm = queue->generateQueueForType(QZQueueTypePrewarm);
  int sdk = queue->generateQueueForType(QZQueueTypeSDK);
  int headless = queue->generateQueueForType(QZQueueTypeHeadless);
  startGate(load);
  std::vector<std::string> queuedOrder;
  std::mutex queuedMutex;
  auto noteQueued = [&](std::string name) {
    return [&, name](std::shared_ptr<QZDispatchBlockWrapper> wrapper) {
      ASSERT_TRUE(wrapper && wrapper->block());
      std::lock_guard lock(queuedMutex);
      queuedOrder.push_back(name);
    };
  };
  queue->addBlock(logging("sdk1"), sdk, noteQueued("sdk1"));
  queue->addBlock(logging("prewarm1"), prewarm, noteQueued("prewarm1"));
  queue->addBlock(logging("headless1"), headless, noteQueued("headless1"));
  queue->addBlock(logging("sdk2"), sdk, noteQueued("sdk2"));          // joins the listed SDK sub-queue
  queue->addBlock(logging("load2"), load, noteQueued("load2"));       // oldest, smallest type: goes first
  queue->addBlock(logging("prewarm2"), prewarm, noteQueued("prewarm2"));
  openGate();
  flush();
  EXPECT_EQ(events(), (std::vector<std::string>{"gate", "load2", "sdk1", "sdk2", "prewarm1", "prewarm2", "headless1"}));
  std::lock_guard lock(queuedMutex);
  EXPECT_EQ(queuedOrder, (std::vector<std::string>{"sdk1", "prewarm1", "headless1", "sdk2", "load2", "prewarm2"}));
}

TEST_F(QZDispatchPriorityQueueTest, PauseLetsTheRunningBlockFinishAndHoldsTheRestUntilRestart) {
  int a = queue->generateQueueForType(QZQueueTypeSDK);
  int b = queue->generateQueueForType(QZQueueTypeSDK);
  startGate(a);
  queue->addBlock(logging("a2"), a);
  queue->pauseQueueWithIdentifier(a);
  queue->addBlock(logging("a3"), a);  // kept while paused
  queue->addBlock(logging("b1"), b);
  openGate();
  flush();
  EXPECT_EQ(events(), (std::vector<std::string>{"gate", "b1"}));

  // Restarting a sub-queue that is not paused, or has nothing pending, changes nothing.
  queue->restartQueueWithIdentifier(b);
  queue->pauseQueueWithIdentifier(b);
  queue->restartQueueWithIdentifier(b);
  queue->addBlock(logging("b2"), b);
  queue->restartQueueWithIdentifier(a);
  flush();
  EXPECT_EQ(events(), (std::vector<std::string>{"gate", "b1", "b2", "a2", "a3"}));
}

TEST_F(QZDispatchPriorityQueueTest, CancelDropsPendingBlocksAndKeepsTheSubQueueUsable) {
  int gate = queue->generateQueueForType(QZQueueTypeLoad);
  int a = queue->generateQueueForType(QZQueueTypeSDK);
  startGate(gate);
  queue->addBlock(logging("a1"), a);
  queue->addBlock(logging("a2"), a);
  std::atomic<int> completions{0};
  queue->cancelPendingBlocksOnQueueWithIdentifier(a, [&] { ++completions; });
  queue->cancelPendingBlocksOnQueueWithIdentifier(42, [&] { completions += 100; });
  openGate();
  flush();
  EXPECT_EQ(completions, 1);
  EXPECT_TRUE(queue->queueWithIdentifierIsValid(a));
  queue->addBlock(logging("a3"), a);
  flush();
  EXPECT_EQ(events(), (std::vector<std::string>{"gate", "a3"}));
}

TEST_F(QZDispatchPriorityQueueTest, DestroyDropsPendingBlocksAndIgnoresLaterAdds) {
  int gate = queue->generateQueueForType(QZQueueTypeLoad);
  int a = queue->generateQueueForType(QZQueueTypeSDK);
  startGate(gate);
  queue->addBlock(logging("a1"), a);
  queue->destroyQueueWithIdentifier(a);
  queue->addBlock(logging("a2"), a);  // checked before the destroy is handled: still dropped
  openGate();
  flush();
  EXPECT_EQ(events(), std::vector<std::string>{"gate"});
  EXPECT_FALSE(queue->queueWithIdentifierIsValid(a));
  queue->addBlock(logging("a3"), a);
  flush();
  EXPECT_EQ(events(), std::vector<std::string>{"gate"});
}

TEST_F(QZDispatchPriorityQueueTest, DeferredDestroyRunsPendingBlocksUnlessPaused) {
  int gate = queue->generateQueueForType(QZQueueTypeLoad);
  int a = queue->generateQueueForType(QZQueueTypeSDK);
  int paused = queue->generateQueueForType(QZQueueTypeSDK);
  startGate(gate);
  queue->addBlock(logging("a1"), a);
  queue->addBlock(logging("a2"), a);
  queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(a);
  queue->addBlock(logging("a3"), a);
  queue->addBlock(logging("p1"), paused);
  queue->pauseQueueWithIdentifier(paused);
  queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(paused);
  queue->restartQueueWithIdentifier(paused);  // too late: the sub-queue is gone
  openGate();
  flush();
  EXPECT_EQ(events(), (std::vector<std::string>{"gate", "a1", "a2"}));
  EXPECT_FALSE(queue->queueWithIdentifierIsValid(a));
  EXPECT_FALSE(queue->queueWithIdentifierIsValid(paused));
}

TEST_F(QZDispatchPriorityQueueTest, HiresBlocksRunAtBackgroundPriorityAndOthersAtDefault) {
  int hires = queue->generateQueueForType(QZQueueTypeHires);
  int sdk = queue->generateQueueForType(QZQueueTypeSDK);
  int gate = queue->generateQueueForType(QZQueueTypeLoad);
  std::vector<long> priorities;  // written only by blocks of the queue
  startGate(gate);
  queue->addBlock([&] { priorities.push_back(dispatch_get_current_priority()); }, hires);
  queue->addBlock([&] { priorities.push_back(dispatch_get_current_priority()); }, sdk);
  queue->addBlock([&] { priorities.push_back(dispatch_get_current_priority()); }, hires);
  openGate();
  flush();
  // The Hires sub-queue became ready first and drains before the SDK one.
  EXPECT_EQ(priorities, (std::vector<long>{DISPATCH_QUEUE_PRIORITY_BACKGROUND, DISPATCH_QUEUE_PRIORITY_BACKGROUND,
                                           DISPATCH_QUEUE_PRIORITY_DEFAULT}));
  priorities.clear();
  queue->addBlock([&] { priorities.push_back(dispatch_get_current_priority()); }, sdk);
  queue->addBlock([&] { priorities.push_back(dispatch_get_current_priority()); }, hires);
  flush();
  EXPECT_EQ(priorities, (std::vector<long>{DISPATCH_QUEUE_PRIORITY_DEFAULT, DISPATCH_QUEUE_PRIORITY_BACKGROUND}));
}

TEST_F(QZDispatchPriorityQueueTest, ReleasedQueueFinishesListedWorkAndFreesPausedWork) {
  std::atomic<int> ran{0};
  auto paused = std::make_shared<int>(0);
  std::weak_ptr<int> pausedCapture = paused;
  std::weak_ptr<QZDispatchPriorityQueue> weakQueue = queue;
  {
    int a = queue->generateQueueForType(QZQueueTypeSDK);
    int p = queue->generateQueueForType(QZQueueTypeSDK);
    queue->pauseQueueWithIdentifier(p);
    queue->addBlock([paused] { *paused += 1; }, p);
    for (int i = 0; i < 50; ++i) queue->addBlock([&ran] { std::this_thread::sleep_for(100us); ++ran; }, a);
    paused.reset();
    queue.reset();
  }
  EXPECT_TRUE(waitFor([&] { return ran == 50; }));
  EXPECT_TRUE(waitFor([&] { return weakQueue.expired(); })) << "the queue outlived its work";
  // The queue is destroyed just after its last reference goes, on the thread that dropped it.
  EXPECT_TRUE(waitFor([&] { return pausedCapture.expired(); })) << "a paused block's captures were leaked";
}

TEST(QZDispatchPriorityQueueSharedTest, SharedQueuesAreDistinctProcessWideInstances) {
  auto gpu = QZDispatchPriorityQueue::processingQueue();
  auto cpu = QZDispatchPriorityQueue::cpuHiresProcessingQueue();
  EXPECT_EQ(gpu, QZDispatchPriorityQueue::processingQueue());
  EXPECT_NE(gpu, cpu);
  std::string gpuLabel = dispatch_queue_get_label(gpu->queue());
  std::string cpuLabel = dispatch_queue_get_label(cpu->queue());
  EXPECT_TRUE(gpuLabel.ends_with(".GPUImageProcessingQueue")) << gpuLabel;
  EXPECT_TRUE(cpuLabel.ends_with(".CPUImageProcessingQueue")) << cpuLabel;
  std::atomic<bool> ran{false};
  int id = gpu->generateQueueForType(QZQueueTypeSDK);
  gpu->addBlock([&] { ran = true; }, id);
  auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!ran && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(ran);
  gpu->destroyQueueWithIdentifier(id);
}

}  // namespace
