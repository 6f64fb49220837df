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
        if (std::find(operations_.begin(), operations_.end(), operation) != operations_.end()) return;
        operations_.push_back(operation);
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

void NSOperationQueue::operationStateChanged()
{
    std::vector<std::shared_ptr<NSOperation>> toStart;
    bool empty;
    {
        std::lock_guard lock(mutex_);
        for (auto it = operations_.begin(); it != operations_.end();) {
            if ((*it)->isFinished()) {
                started_.erase(it->get());
                it = operations_.erase(it);
            } else {
                ++it;
            }
        }
        long running = static_cast<long>(started_.size());
        for (const auto& operation : operations_) {
            if (suspended_) break;
            if (maxConcurrent_ >= 0 && running >= maxConcurrent_) break;
            if (started_.count(operation.get()) || !operation->isReady()) continue;
            started_.insert(operation.get());
            ++running;
            toStart.push_back(operation);
        }
        empty = operations_.empty();
    }
    if (empty) drained_.notify_all();
    auto weak = weakSelf<NSOperationQueue>();
    for (auto& operation : toStart) {
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [operation, weak] {
            operation->start();
            if (auto queue = weak.lock()) queue->operationStateChanged();
        });
    }
}
