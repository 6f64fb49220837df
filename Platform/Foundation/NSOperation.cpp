#include "Foundation/NSOperation.h"

#include "Foundation/NSOperationQueue.h"

#include <algorithm>

void NSOperation::start()
{
    if (started_.exchange(true) || finished_) return;
    if (!cancelled_) {
        setExecuting(true);
        main();
        setExecuting(false);
    }
    setFinished(true);
}

bool NSOperation::isReady() const
{
    if (cancelled_) return true;
    std::lock_guard lock(mutex_);
    // A finished dependency stays finished: those already seen are not asked again, so an
    // operation waiting for thousands is asked in time proportional to the ones that finished.
    while (dependenciesSeenFinished_ < dependencies_.size() && dependencies_[dependenciesSeenFinished_]->isFinished())
        ++dependenciesSeenFinished_;
    return dependenciesSeenFinished_ == dependencies_.size();
}

void NSOperation::addDependency(const std::shared_ptr<NSOperation>& operation)
{
    if (!operation || operation.get() == this) return;
    std::vector<std::weak_ptr<NSOperationQueue>> watchers;
    {
        std::lock_guard lock(mutex_);
        dependencies_.push_back(operation);
        watchers = watchers_;
    }
    // Queues already holding this operation must hear when the new dependency finishes.
    for (const auto& w : watchers)
        if (auto queue = w.lock()) operation->addWatcher(queue);
}

void NSOperation::removeDependency(const std::shared_ptr<NSOperation>& operation)
{
    std::vector<std::weak_ptr<NSOperationQueue>> watchers;
    {
        std::lock_guard lock(mutex_);
        dependencies_.erase(std::remove(dependencies_.begin(), dependencies_.end(), operation), dependencies_.end());
        dependenciesSeenFinished_ = 0;
        watchers = watchers_;
    }
    for (const auto& w : watchers)
        if (auto queue = w.lock()) queue->operationStateChanged();
}

std::vector<std::shared_ptr<NSOperation>> NSOperation::dependencies() const
{
    std::lock_guard lock(mutex_);
    return dependencies_;
}

void NSOperation::addWatcher(const std::shared_ptr<NSOperationQueue>& queue)
{
    std::lock_guard lock(mutex_);
    watchers_.push_back(queue);
}

void NSOperation::setFinished(bool finished)
{
    finished_ = finished;
    if (!finished) return;
    std::vector<std::weak_ptr<NSOperationQueue>> watchers;
    {
        std::lock_guard lock(mutex_);
        watchers = watchers_;
    }
    // Held while the queues hear of it: the last of them to let go may hold the only reference.
    std::shared_ptr<NSObject> keep = weak_from_this().lock();
    for (const auto& w : watchers)
        if (auto queue = w.lock()) queue->operationStateChanged(this);
}
