#include "Dispatch/DispatchSerialQueue.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchGlobalQueue.h"
#include "Dispatch/DispatchMainQueue.h"

struct DispatchSerialQueue::SyncTurn {
    std::mutex mutex;
    std::condition_variable cv;
    bool go = false;
};

std::shared_ptr<DispatchSerialQueue> DispatchSerialQueue::make(std::string label)
{
    return std::make_shared<DispatchSerialQueue>(std::move(label));
}

DispatchSerialQueue::DispatchSerialQueue(std::string label)
    : DispatchQueue(std::move(label)), target_(DispatchGlobalQueue::queueForPriority(DISPATCH_QUEUE_PRIORITY_DEFAULT))
{
}

void DispatchSerialQueue::setTargetQueue(std::shared_ptr<DispatchQueue> target)
{
    if (!target) target = DispatchGlobalQueue::queueForPriority(DISPATCH_QUEUE_PRIORITY_DEFAULT);
    std::lock_guard lock(mutex_);
    target_ = std::move(target);
}

void DispatchSerialQueue::async(dispatch_block_t block)
{
    if (!block) return;
    std::lock_guard lock(mutex_);
    items_.push_back({std::move(block), nullptr});
    if (!busy_) {
        busy_ = true;
        scheduleLocked();
    }
}

void DispatchSerialQueue::sync(const dispatch_block_t& block)
{
    if (!block) return;
    checkNotCurrentForSync();
    std::shared_ptr<SyncTurn> turn;
    {
        std::lock_guard lock(mutex_);
        if (!busy_) {
            busy_ = true;  // idle: the caller owns the queue at once
        } else {
            turn = std::make_shared<SyncTurn>();
            items_.push_back({nullptr, turn});
        }
    }
    if (turn) {
        // A block of this queue waiting in sync for the main thread would wait for ever.
        bool onMain = DispatchMainQueue::isMainThread();
        if (onMain) DispatchMainQueue::shared()->mainWillWaitFor(*this);
        {
            std::unique_lock lock(turn->mutex);
            turn->cv.wait(lock, [&] { return turn->go; });
        }
        if (onMain) DispatchMainQueue::shared()->mainStoppedWaiting();
    }
    {
        CurrentScope scope(this);
        block();
    }
    finishStep();
}

void DispatchSerialQueue::scheduleLocked()
{
    auto self = std::static_pointer_cast<DispatchSerialQueue>(shared_from_this());
    target_->async([self] { self->runOne(); });
}

void DispatchSerialQueue::runOne()
{
    Item item;
    {
        std::lock_guard lock(mutex_);
        item = std::move(items_.front());
        items_.pop_front();
    }
    if (item.turn) {
        // The queue passes to the synchronous caller, which finishes the step after its block.
        std::lock_guard lock(item.turn->mutex);
        item.turn->go = true;
        item.turn->cv.notify_one();
        return;
    }
    {
        CurrentScope scope(this);
        item.block();
    }
    item.block = nullptr;  // captured objects die before the next block starts
    finishStep();
}

void DispatchSerialQueue::finishStep()
{
    std::lock_guard lock(mutex_);
    if (items_.empty())
        busy_ = false;
    else
        scheduleLocked();
}
