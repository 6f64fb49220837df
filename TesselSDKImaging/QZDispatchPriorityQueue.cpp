#include "TesselSDKImaging/QZDispatchPriorityQueue.h"

#include "Dispatch/DispatchThreadBoundQueue.h"

#include <algorithm>

std::shared_ptr<QZDispatchPriorityQueue> QZDispatchPriorityQueue::processingQueue() {
  // GL work runs on one thread of its own: an EGL context is current on one thread at a time, and
  // the GL context stays on the thread that made it current. (So the GPU queue keeps its thread's
  // priority: retargeting, which moves Hires blocks of a pooled queue to background priority, does
  // not apply to it.)
  static auto* queue = new std::shared_ptr<QZDispatchPriorityQueue>(
      make(DispatchThreadBoundQueue::make("com.tessel.sdk.GPUImageProcessingQueue")));
  return *queue;
}

std::shared_ptr<QZDispatchPriorityQueue> QZDispatchPriorityQueue::cpuHiresProcessingQueue() {
  static auto* queue = new std::shared_ptr<QZDispatchPriorityQueue>(
      make(dispatch_queue_create("com.tessel.sdk.CPUImageProcessingQueue", DISPATCH_QUEUE_SERIAL)));
  return *queue;
}

void QZDispatchPriorityQueue::initWithDispatchQueue(dispatch_queue_t queue) {
  queue_ = std::move(queue);
  synchronizingQueue_ = dispatch_queue_create("com.tessel.sdk.QZDispatchPriorityQueue.synchronizingQueue", DISPATCH_QUEUE_SERIAL);
}

dispatch_queue_t QZDispatchPriorityQueue::queue() const {
  std::lock_guard lock(dictionaryMutex_);
  return queue_;
}

void QZDispatchPriorityQueue::setQueue(dispatch_queue_t queue) {
  if (!queue) return;
  std::lock_guard lock(dictionaryMutex_);
  queue_ = std::move(queue);
}

int QZDispatchPriorityQueue::generateQueueForType(QZQueueType type) {
  std::lock_guard lock(dictionaryMutex_);
  int identifier = ++queueCounter_;
  queueDict_[identifier] = QZDispatchQueueWrapper::make(type, identifier);
  return identifier;
}

std::shared_ptr<QZDispatchQueueWrapper> QZDispatchPriorityQueue::lookUp(int identifier) const {
  std::lock_guard lock(dictionaryMutex_);
  auto it = queueDict_.find(identifier);
  return it == queueDict_.end() ? nullptr : it->second;
}

bool QZDispatchPriorityQueue::queueWithIdentifierIsValid(int identifier) const { return lookUp(identifier) != nullptr; }

void QZDispatchPriorityQueue::addBlock(dispatch_block_t block, int identifier, AddCompletion completion) {
  enqueue(std::move(block), identifier, std::move(completion), false);
}

void QZDispatchPriorityQueue::pushBlock(dispatch_block_t block, int identifier, AddCompletion completion) {
  enqueue(std::move(block), identifier, std::move(completion), true);
}

void QZDispatchPriorityQueue::enqueue(dispatch_block_t block, int identifier, AddCompletion completion, bool toFront) {
  if (!block || !queueWithIdentifierIsValid(identifier)) return;
  // Every block sent to our queues holds the prioritised queue strongly, so that releasing the
  // last outside reference while work is pending cannot free it under the running bookkeeping.
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(synchronizingQueue_, [self, block = std::move(block), identifier, completion = std::move(completion), toFront] {
    auto wrapper = QZDispatchBlockWrapper::make(block);
    auto subQueue = self->lookUp(identifier);
    if (!subQueue) return;
    bool wasEmpty = subQueue->queue().empty();
    if (toFront) subQueue->queue().push_front(wrapper);
    else subQueue->queue().push_back(wrapper);
    if (wasEmpty && !subQueue->isPaused()) {
      if (toFront) pushQueueWrapperToSubmissionQueue(self->submissionQueue_, subQueue);
      else addQueueWrapperToSubmissionQueue(self->submissionQueue_, subQueue);
    }
    self->executeNextBlockIfPossible();
    if (completion) completion(wrapper);
  });
}

void QZDispatchPriorityQueue::addQueueWrapperToSubmissionQueue(SubmissionList& list, std::shared_ptr<QZDispatchQueueWrapper> wrapper) {
  auto at = std::find_if(list.begin(), list.end(), [&](const auto& listed) {
    return listed->type() >= wrapper->type() && listed->identifier() > wrapper->identifier();
  });
  list.insert(at, std::move(wrapper));
}

void QZDispatchPriorityQueue::pushQueueWrapperToSubmissionQueue(SubmissionList& list, std::shared_ptr<QZDispatchQueueWrapper> wrapper) {
  auto at = std::find_if(list.begin(), list.end(), [&](const auto& listed) { return listed->type() <= wrapper->type(); });
  list.insert(at, std::move(wrapper));
}

void QZDispatchPriorityQueue::removeQueueWrapperFromSubmissionQueue(SubmissionList& list,
                                                                    const std::shared_ptr<QZDispatchQueueWrapper>& wrapper) {
  list.erase(std::remove(list.begin(), list.end(), wrapper), list.end());
}

void QZDispatchPriorityQueue::executeNextBlockIfPossible() {
  if (isExecuting_ || submissionQueue_.empty()) return;
  auto subQueue = submissionQueue_.front();
  if (subQueue->queue().empty()) return;
  auto serial = queue();
  dispatch_set_target_queue(serial, dispatch_get_global_queue(subQueue->type() == QZQueueTypeHires
                                                                  ? DISPATCH_QUEUE_PRIORITY_BACKGROUND
                                                                  : DISPATCH_QUEUE_PRIORITY_DEFAULT,
                                                              0));
  auto wrapper = subQueue->queue().front();
  subQueue->queue().pop_front();
  if (subQueue->queue().empty()) removeQueueWrapperFromSubmissionQueue(submissionQueue_, subQueue);
  isExecuting_ = true;
  // The run block holds the prioritised queue only while it is in flight; pending wrappers hold
  // just the caller's block, so a released prioritised queue is not kept alive by a cycle
  // through its own pending (for instance paused) blocks.
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(serial, [self, block = wrapper->block()] {
    block();
    dispatch_sync(self->synchronizingQueue_, [&self] {
      self->isExecuting_ = false;
      self->executeNextBlockIfPossible();
    });
  });
}

void QZDispatchPriorityQueue::pauseQueueWithIdentifier(int identifier) {
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(synchronizingQueue_, [self, identifier] {
    auto subQueue = self->lookUp(identifier);
    if (!subQueue) return;
    bool wasPaused = subQueue->isPaused();
    subQueue->setPaused(true);
    if (!wasPaused && !subQueue->queue().empty()) removeQueueWrapperFromSubmissionQueue(self->submissionQueue_, subQueue);
  });
}

void QZDispatchPriorityQueue::restartQueueWithIdentifier(int identifier) {
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(synchronizingQueue_, [self, identifier] {
    auto subQueue = self->lookUp(identifier);
    if (!subQueue) return;
    bool wasPaused = subQueue->isPaused();
    subQueue->setPaused(false);
    if (wasPaused && !subQueue->queue().empty()) {
      addQueueWrapperToSubmissionQueue(self->submissionQueue_, subQueue);
      self->executeNextBlockIfPossible();
    }
  });
}

void QZDispatchPriorityQueue::cancelOnSynchronizingQueue(int identifier, const std::function<void()>& completion) {
  auto subQueue = lookUp(identifier);
  if (!subQueue) return;
  subQueue->queue().clear();
  removeQueueWrapperFromSubmissionQueue(submissionQueue_, subQueue);
  if (completion) completion();
}

void QZDispatchPriorityQueue::cancelPendingBlocksOnQueueWithIdentifier(int identifier, std::function<void()> completion) {
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(synchronizingQueue_, [self, identifier, completion = std::move(completion)] {
    self->cancelOnSynchronizingQueue(identifier, completion);
  });
}

void QZDispatchPriorityQueue::destroyQueueWithIdentifier(int identifier) {
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(synchronizingQueue_, [self, identifier] {
    self->cancelOnSynchronizingQueue(identifier, [&] {
      std::lock_guard lock(self->dictionaryMutex_);
      self->queueDict_.erase(identifier);
    });
  });
}

void QZDispatchPriorityQueue::destroyQueueWithIdentifierAfterPendingBlocksComplete(int identifier) {
  auto self = this->self<QZDispatchPriorityQueue>();
  dispatch_async(synchronizingQueue_, [self, identifier] {
    std::lock_guard lock(self->dictionaryMutex_);
    self->queueDict_.erase(identifier);
  });
}
