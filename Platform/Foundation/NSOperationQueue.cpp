#include "Foundation/NSOperationQueue.h"

#include "Dispatch/Dispatch.h"

#include <algorithm>

namespace {

class NSBlockRunningOperation : public NSOperation {
public:
    using NSOperation::NSOperation;
    std::function<void()> block;
    void main() override { block(); }
};

} // namespace

void NSOperationQueue::addOperation(const std::shared_ptr<NSOperation>& operation)
{
    if (!operation) return;
    auto self = this->self<NSOperationQueue>();
    operation->addWatcher(self);
    for (const auto& dependency : operation->dependencies()) dependency->addWatcher(self);
    {
        std::lock_guard lock(mutex_);
        if (positions_.count(operation.get())) return;
        positions_[operation.get()] = operations_.insert(operations_.end(), operation);
        waitingPositions_[operation.get()] = waiting_.insert(waiting_.end(), operation);
    }
    operationStateChanged();
}

void NSOperationQueue::addOperationWithBlock(std::function<void()> block)
{
    if (!block) return;
    auto operation = NSObject::create<NSBlockRunningOperation>();
    operation->block = std::move(block);
    addOperation(operation);
}

bool NSOperationQueue::isSuspended() const
{
    std::lock_guard lock(mutex_);
    return suspended_;
}

void NSOperationQueue::setSuspended(bool suspended)
{
    {
        std::lock_guard lock(mutex_);
        suspended_ = suspended;
    }
    operationStateChanged();
}

long NSOperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard lock(mutex_);
    return maxConcurrent_;
}

void NSOperationQueue::setMaxConcurrentOperationCount(long count)
{
    {
        std::lock_guard lock(mutex_);
        maxConcurrent_ = count;
    }
    operationStateChanged();
}

std::size_t NSOperationQueue::operationCount() const
{
    std::lock_guard lock(mutex_);
    return operations_.size();
}

std::vector<std::shared_ptr<NSOperation>> NSOperationQueue::operations() const
{
    std::lock_guard lock(mutex_);
    return {operations_.begin(), operations_.end()};
}

void NSOperationQueue::cancelAllOperations()
{
    for (const auto& operation : operations()) operation->cancel();
    operationStateChanged();
}

void NSOperationQueue::waitUntilAllOperationsAreFinished()
{
    std::unique_lock lock(mutex_);
    drained_.wait(lock, [&] { return operations_.empty(); });
}

void NSOperationQueue::operationStateChanged(const NSOperation* changed)
{
    std::vector<std::shared_ptr<NSOperation>> toStart;
    std::vector<std::shared_ptr<NSOperation>> released;  // dropped once the lock is given back
    bool empty;
    {
        std::lock_guard lock(mutex_);
        auto letGo = [&](const NSOperation* operation) {
            auto waiting = waitingPositions_.find(operation);
            if (waiting != waitingPositions_.end()) {
                waiting_.erase(waiting->second);
                waitingPositions_.erase(waiting);
            }
            auto position = positions_.find(operation);
            if (position != positions_.end()) {
                released.push_back(std::move(*position->second));
                operations_.erase(position->second);
                positions_.erase(position);
            }
            started_.erase(operation);
        };
        // Every operation tells its queues itself when it finishes.
        if (changed && positions_.count(changed) && changed->isFinished()) letGo(changed);
        long running = static_cast<long>(started_.size());
        for (auto it = waiting_.begin(); it != waiting_.end() && !suspended_;) {
            if (maxConcurrent_ >= 0 && running >= maxConcurrent_) break;
            std::shared_ptr<NSOperation> operation = *it;
            ++it;
            if (operation->isFinished()) {
                letGo(operation.get());  // finished before it was ours to start
                continue;
            }
            if (!operation->isReady()) continue;
            waiting_.erase(waitingPositions_.at(operation.get()));
            waitingPositions_.erase(operation.get());
            started_.insert(operation.get());
            ++running;
            toStart.push_back(std::move(operation));
        }
        empty = operations_.empty();
    }
    if (empty) drained_.notify_all();
    auto weak = weakSelf<NSOperationQueue>();
    for (auto& operation : toStart) {
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [operation, weak] {
            operation->start();
            if (auto queue = weak.lock()) queue->operationStateChanged(operation.get());
        });
    }
}
