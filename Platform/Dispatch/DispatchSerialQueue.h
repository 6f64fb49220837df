#pragma once
// A serial queue: blocks run one at a time in submission order, each on a worker of the queue's
// target (a global queue, default priority unless retargeted). The target is read again before
// every block, so a retarget takes effect from the next block on.

#include "Dispatch/DispatchQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>

class DispatchSerialQueue : public DispatchQueue {
public:
    static std::shared_ptr<DispatchSerialQueue> make(std::string label);

    void async(dispatch_block_t block) override;
    void sync(const dispatch_block_t& block) override;
    void setTargetQueue(std::shared_ptr<DispatchQueue> target) override;

    explicit DispatchSerialQueue(std::string label);

private:
    struct SyncTurn;
    struct Item {
        dispatch_block_t block;          // an async block, or
        std::shared_ptr<SyncTurn> turn;  // a synchronous caller waiting for its turn
    };

    void scheduleLocked();  // hands one step to the target; mutex_ held
    void runOne();
    void finishStep();

    std::mutex mutex_;
    std::deque<Item> items_;
    bool busy_ = false;  // a step is scheduled or running, or a sync caller owns the queue
    std::shared_ptr<DispatchQueue> target_;
};
