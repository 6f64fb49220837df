#pragma once
// One unit of work for an operation queue. A plain operation's start() runs main() on the
// queue's worker and finishes when main returns. A concurrent operation overrides start(),
// answers isConcurrent() YES and reports its end itself, from any thread, through
// setExecuting/setFinished: that frees its queue slot and readies its dependants.
//
// An operation is ready once every dependency has finished (a cancelled one at once: its start
// then finishes it without main). No operation is started twice.

#include "Foundation/NSObject.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class NSOperationQueue;

class NSOperation : public NSObject {
public:
    using NSObject::NSObject;

    virtual void start();
    virtual void main() {}
    virtual void cancel() { cancelled_ = true; }
    virtual bool isConcurrent() const { return false; }

    bool isCancelled() const { return cancelled_; }
    bool isExecuting() const { return executing_; }
    bool isFinished() const { return finished_; }
    bool isReady() const;

    void addDependency(const std::shared_ptr<NSOperation>& operation);
    void removeDependency(const std::shared_ptr<NSOperation>& operation);
    std::vector<std::shared_ptr<NSOperation>> dependencies() const;

protected:
    // Any thread. Finishing tells the queues that hold the operation or its dependants.
    void setExecuting(bool executing) { executing_ = executing; }
    void setFinished(bool finished);

private:
    friend class NSOperationQueue;
    // Queues to tell when this operation finishes.
    void addWatcher(const std::shared_ptr<NSOperationQueue>& queue);

    std::atomic<bool> cancelled_{false};
    std::atomic<bool> executing_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> started_{false};  // the base start() runs once
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<NSOperation>> dependencies_;
    mutable std::size_t dependenciesSeenFinished_ = 0;  // a prefix of dependencies_
    std::vector<std::weak_ptr<NSOperationQueue>> watchers_;
};
