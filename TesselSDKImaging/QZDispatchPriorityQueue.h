#pragma once
// A prioritised queue: one serial dispatch queue that runs exactly one block at a time, taken
// from numbered sub-queues that their owners pause, restart, cancel and destroy independently.
//
// Service order is not first-in first-out across sub-queues: the sub-queue at the head of the
// submission list runs all its pending blocks (including ones added meanwhile) before the next
// gets a turn, and a sub-queue that becomes ready again goes ahead of younger sub-queues of the
// same or a larger type (the add rule). Hires blocks run at background priority, all others at
// default priority, set before each block.
//
// Every operation returns at once and may be called from any thread. Bookkeeping runs on a
// private serial queue ("synchronizingQueue"); a block must never wait synchronously for a
// later block of the same prioritised queue.

#include "TesselSDKImaging/QZDispatchBlockWrapper.h"
#include "TesselSDKImaging/QZDispatchQueueWrapper.h"
#include "TesselSDKImaging/QZQueueType.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSObject.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QZDispatchPriorityQueue : public NSObject {
public:
  using SubmissionList = std::vector<std::shared_ptr<QZDispatchQueueWrapper>>;
  using AddCompletion = std::function<void(std::shared_ptr<QZDispatchBlockWrapper>)>;

  // The GPU queue: all GL work, on one thread of its own.
  static std::shared_ptr<QZDispatchPriorityQueue> processingQueue();
  // The CPU queue: image servers without a GL instance.
  static std::shared_ptr<QZDispatchPriorityQueue> cpuHiresProcessingQueue();

  using NSObject::NSObject;
  static std::shared_ptr<QZDispatchPriorityQueue> make(dispatch_queue_t queue) {
    return NSObject::create<QZDispatchPriorityQueue>(&QZDispatchPriorityQueue::initWithDispatchQueue, std::move(queue));
  }

  // A new sub-queue, usable at once. Identifiers are 1, 2, 3, ... and never reused.
  int generateQueueForType(QZQueueType type);

  // Appends the block to the sub-queue. Ignored for an empty block or an identifier unknown at
  // the time of the call. The completion, when given, receives the queued block's wrapper once
  // it is queued (not run), on the synchronizing queue.
  void addBlock(dispatch_block_t block, int identifier, AddCompletion completion = nullptr);
  // The same, but to the front of the sub-queue, which enters the submission list by the push rule.
  void pushBlock(dispatch_block_t block, int identifier, AddCompletion completion = nullptr);

  bool queueWithIdentifierIsValid(int identifier) const;

  // A running block is never interrupted by any of these.
  void pauseQueueWithIdentifier(int identifier);
  void restartQueueWithIdentifier(int identifier);
  // Drops the pending blocks; the sub-queue stays valid. The completion runs on the
  // synchronizing queue, and not at all for an unknown identifier.
  void cancelPendingBlocksOnQueueWithIdentifier(int identifier, std::function<void()> completion = nullptr);
  // Drops the pending blocks, then forgets the sub-queue; later adds are ignored.
  void destroyQueueWithIdentifier(int identifier);
  // Forgets the sub-queue but lets its pending blocks run; later adds are ignored. Blocks of a
  // sub-queue that is paused at that moment never run (it can no longer be restarted).
  void destroyQueueWithIdentifierAfterPendingBlocksComplete(int identifier);

  dispatch_queue_t queue() const;
  void setQueue(dispatch_queue_t queue);  // ignores null

  // The submission list's rules, as pure functions over the list (each inserts the wrapper).
  // Add rule: before the first listed sub-queue whose type is >= the new one's AND whose
  // identifier is greater; else at the end.
  static void addQueueWrapperToSubmissionQueue(SubmissionList& list, std::shared_ptr<QZDispatchQueueWrapper> wrapper);
  // Push rule: before the first listed sub-queue whose type is <= the new one's; else at the end.
  static void pushQueueWrapperToSubmissionQueue(SubmissionList& list, std::shared_ptr<QZDispatchQueueWrapper> wrapper);
  static void removeQueueWrapperFromSubmissionQueue(SubmissionList& list, const std::shared_ptr<QZDispatchQueueWrapper>& wrapper);

protected:
  virtual void initWithDispatchQueue(dispatch_queue_t queue);

private:
  std::shared_ptr<QZDispatchQueueWrapper> lookUp(int identifier) const;
  void enqueue(dispatch_block_t block, int identifier, AddCompletion completion, bool toFront);
  void cancelOnSynchronizingQueue(int identifier, const std::function<void()>& completion);
  void executeNextBlockIfPossible();  // synchronizing queue only

  // The dictionary and counter are read on callers' threads and changed there (creation) and on
  // the synchronizing queue (removal), so they have a lock of their own.
  mutable std::mutex dictionaryMutex_;
  std::map<int, std::shared_ptr<QZDispatchQueueWrapper>> queueDict_;
  int queueCounter_ = 0;
  dispatch_queue_t queue_;  // guarded by dictionaryMutex_

  dispatch_queue_t synchronizingQueue_;
  // Synchronizing queue only:
  bool isExecuting_ = false;
  SubmissionList submissionQueue_;
};
