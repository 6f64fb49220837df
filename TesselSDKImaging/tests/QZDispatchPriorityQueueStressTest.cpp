#include "TesselSDKImaging/QZDispatchPriorityQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int kThreads = 8;
constexpr int kSubQueues = 16;
constexpr int kBlocks = 10000;

struct Record {
  // Order in which each sub-queue's blocks were queued (completion order, on the synchronizing
  // queue) and ran; tags are unique per block.
  std::mutex mutex;
  std::vector<std::vector<int>> queued = std::vector<std::vector<int>>(kSubQueues);
  std::vector<std::vector<int>> ran = std::vector<std::vector<int>>(kSubQueues);
  std::vector<std::atomic<int>> runs = std::vector<std::atomic<int>>(kBlocks);
  std::atomic<int> running{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> total{0};
};

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Eight producers add 10,000 blocks to sixteen sub-queues of every type while, optionally, a
// ninth thread pauses and restarts sub-queues at random. No two blocks may overlap, each
// sub-queue must run its blocks in the order they were queued, and every block runs once.
void stress(bool churn) {
  auto queue = QZDispatchPriorityQueue::make(dispatch_queue_create("com.tessel.tests.stress", DISPATCH_QUEUE_SERIAL));
  std::vector<int> ids;
  for (int i = 0; i < kSubQueues; ++i)
    ids.push_back(queue->generateQueueForType(static_cast<QZQueueType>(i % QZQueueType_Count)));
  Record record;

  std::atomic<bool> producing{true};
  std::thread churner;
  if (churn) {
    churner = std::thread([&] {
      std::mt19937 rng(7);
      while (producing) {
        int id = ids[rng() % kSubQueues];
        queue->pauseQueueWithIdentifier(id);
        std::this_thread::sleep_for(50us);
        queue->restartQueueWithIdentifier(id);
      }
    });
  }

  std::vector<std::thread> producers;
  for (int t = 0; t < kThreads; ++t) {
    producers.emplace_back([&, t] {
      std::mt19937 rng(static_cast<unsigned>(t));
      for (int tag = t; tag < kBlocks; tag += kThreads) {
        int sub = static_cast<int>(rng() % kSubQueues);
        queue->addBlock(
            [&record, tag, sub] {
              if (record.running.fetch_add(1) != 0) ++record.overlaps;
              {
                std::lock_guard lock(record.mutex);
                record.ran[sub].push_back(tag);
              }
              ++record.runs[tag];
              record.running.fetch_sub(1);
              ++record.total;
            },
            ids[sub],
            [&record, tag, sub](std::shared_ptr<QZDispatchBlockWrapper>) {
              std::lock_guard lock(record.mutex);
              record.queued[sub].push_back(tag);
            });
      }
    });
  }
  for (auto& p : producers) p.join();
  producing = false;
  if (churner.joinable()) churner.join();
  // The churner's last restart leaves every sub-queue running.
  for (int id : ids) queue->restartQueueWithIdentifier(id);

  ASSERT_TRUE(waitFor([&] { return record.total.load() >= kBlocks; }, 120s)) << record.total.load() << " blocks ran";
  std::this_thread::sleep_for(20ms);  // a block running twice would show up here
  EXPECT_EQ(record.total.load(), kBlocks);
  EXPECT_EQ(record.overlaps.load(), 0);
  for (int tag = 0; tag < kBlocks; ++tag) ASSERT_EQ(record.runs[tag].load(), 1) << "block " << tag;
  std::lock_guard lock(record.mutex);
  for (int sub = 0; sub < kSubQueues; ++sub) EXPECT_EQ(record.ran[sub], record.queued[sub]) << "sub-queue " << sub;
}

TEST(QZDispatchPriorityQueueStressTest, ManyProducersKeepOneAtATimeOrderAndExactlyOnce) { stress(false); }

TEST(QZDispatchPriorityQueueStressTest, PauseAndRestartChurnLosesAndRepeatsNothing) { stress(true); }

}  // namespace
