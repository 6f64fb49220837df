#pragma once
// Runs operations on the default global queue's workers, at most maxConcurrentOperationCount at
// once (unlimited by default), each once it is ready, in the order added among the ready ones.
// Cancelled operations are still started (their start finishes them). The queue holds each
// operation until it has finished. A suspended queue starts nothing new; running operations go on.
// With a maximum of 1 the queue is serial and first-in first-out.

#include "Foundation/NSOperation.h"

#include <condition_variable>
#include <list>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

inline constexpr long NSOperationQueueDefaultMaxConcurrentOperationCount = -1;

class NSOperationQueue : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSOperationQueue> queue() { return NSObject::create<NSOperationQueue>(); }

    void addOperation(const std::shared_ptr<NSOperation>& operation);
    // Wraps the block in an operation; nil is ignored.
    void addOperationWithBlock(std::function<void()> block);
    long maxConcurrentOperationCount() const;
    void setMaxConcurrentOperationCount(long count);
    // Operations added and not yet finished.
    std::size_t operationCount() const;
    std::vector<std::shared_ptr<NSOperation>> operations() const;
    void cancelAllOperations();
    bool isSuspended() const;
    // Resuming starts what waited.
    void setSuspended(bool suspended);
    // Blocks the caller until every operation added has finished.
    void waitUntilAllOperationsAreFinished();

private:
    friend class NSOperation;
    // An operation of ours (`changed`), a dependency of one, or the queue's settings changed: let
    // go of `changed` once it has finished, and start what may start now. The work is bounded by
    // the operations waiting ahead of the first that may start, not by how many the queue holds.
    void operationStateChanged(const NSOperation* changed = nullptr);

    using Operations = std::list<std::shared_ptr<NSOperation>>;
    mutable std::mutex mutex_;
    std::condition_variable drained_;
    Operations operations_;  // added and not finished, in the order added
    std::unordered_map<const NSOperation*, Operations::iterator> positions_;
    Operations waiting_;  // of those, the ones not started yet
    std::unordered_map<const NSOperation*, Operations::iterator> waitingPositions_;
    std::set<const NSOperation*> started_;
    long maxConcurrent_ = NSOperationQueueDefaultMaxConcurrentOperationCount;
    bool suspended_ = false;
};
