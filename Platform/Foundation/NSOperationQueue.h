#pragma once
// Runs operations on the default global queue's workers, at most maxConcurrentOperationCount at
// once (unlimited by default), each once it is ready, in the order added among the ready ones.
// Cancelled operations are still started (their start finishes them). The queue holds each
// operation until it has finished.

#include "Foundation/NSOperation.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

inline constexpr long NSOperationQueueDefaultMaxConcurrentOperationCount = -1;

class NSOperationQueue : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSOperationQueue> queue() { return NSObject::create<NSOperationQueue>(); }

    void addOperation(const std::shared_ptr<NSOperation>& operation);
    long maxConcurrentOperationCount() const;
    void setMaxConcurrentOperationCount(long count);
    // Operations added and not yet finished.
    std::size_t operationCount() const;
    std::vector<std::shared_ptr<NSOperation>> operations() const;
    void cancelAllOperations();
    // Blocks the caller until every operation added has finished.
    void waitUntilAllOperationsAreFinished();

private:
    friend class NSOperation;
    // An operation of ours, or a dependency of one, changed state: start what may start now.
    void operationStateChanged();

    mutable std::mutex mutex_;
    std::condition_variable drained_;
    std::deque<std::shared_ptr<NSOperation>> operations_;
    std::set<const NSOperation*> started_;
    long maxConcurrent_ = NSOperationQueueDefaultMaxConcurrentOperationCount;
};
