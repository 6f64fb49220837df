#pragma once
// A dispatch queue: the common face of serial queues, the global queues and the main queue.
// Code normally goes through the dispatch_* functions of "Dispatch/Dispatch.h".

#include <functional>
#include <memory>
#include <string>
#include <vector>

using dispatch_block_t = std::function<void()>;

class DispatchQueue : public std::enable_shared_from_this<DispatchQueue> {
public:
    virtual ~DispatchQueue() = default;
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    const std::string& label() const { return label_; }

    virtual void async(dispatch_block_t block) = 0;
    // Runs the block on the calling thread once the queue has reached it (serial queues) or at
    // once (global queues); returns after the block. Waiting on a queue the calling thread is
    // already running (directly or through nested syncs) would never return: that is reported and
    // the process stops, as the platform does.
    virtual void sync(const dispatch_block_t& block) = 0;
    // Only serial queues can be retargeted; the others ignore it.
    virtual void setTargetQueue(std::shared_ptr<DispatchQueue>) {}

    // True while the calling thread runs a block of this queue (or waits inside one in a sync).
    bool isCurrent() const;

protected:
    explicit DispatchQueue(std::string label) : label_(std::move(label)) {}

    // Marks the calling thread as running this queue for the guard's lifetime.
    class CurrentScope {
    public:
        explicit CurrentScope(const DispatchQueue* q);
        ~CurrentScope();
        CurrentScope(const CurrentScope&) = delete;
        CurrentScope& operator=(const CurrentScope&) = delete;
    };
    // Stops the process when the calling thread is running this queue: a sync would never return.
    void checkNotCurrentForSync() const;
    // The queues the calling thread is running, outermost first.
    static std::vector<const DispatchQueue*> currentQueues();

private:
    std::string label_;
};

using dispatch_queue_t = std::shared_ptr<DispatchQueue>;
