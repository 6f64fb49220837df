#include "Dispatch/DispatchThreadBoundQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

struct DispatchThreadBoundQueue::State {
    struct Item {
        dispatch_block_t block;
        const dispatch_block_t* syncBlock = nullptr;  // a waiting caller's block, run in place
        bool* syncDone = nullptr;
    };
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable syncFinished;
    std::deque<Item> items;
    bool stopping = false;
    // The queue, for DispatchQueue::isCurrent; null once it is gone.
    const DispatchQueue* queue = nullptr;
};

std::shared_ptr<DispatchThreadBoundQueue> DispatchThreadBoundQueue::make(std::string label)
{
    return std::make_shared<DispatchThreadBoundQueue>(std::move(label));
}

DispatchThreadBoundQueue::DispatchThreadBoundQueue(std::string label)
    : DispatchQueue(std::move(label)), state_(std::make_shared<State>())
{
    state_->queue = this;
    thread_ = std::thread(run, state_);
}

DispatchThreadBoundQueue::~DispatchThreadBoundQueue()
{
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        state_->queue = nullptr;
    }
    state_->wake.notify_one();
    // The last reference may go inside one of the queue's own blocks.
    if (std::this_thread::get_id() == thread_.get_id())
        thread_.detach();
    else
        thread_.join();
}

void DispatchThreadBoundQueue::run(const std::shared_ptr<State>& state)
{
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return !state->items.empty() || state->stopping; });
        if (state->items.empty()) return;
        State::Item item = std::move(state->items.front());
        state->items.pop_front();
        const DispatchQueue* queue = state->queue;
        lock.unlock();
        {
            std::optional<CurrentScope> scope;
            if (queue) scope.emplace(queue);
            if (item.syncBlock)
                (*item.syncBlock)();
            else
                item.block();
        }
        item.block = nullptr;  // captured objects die before the next block starts
        lock.lock();
        if (item.syncDone) {
            *item.syncDone = true;
            state->syncFinished.notify_all();
        }
    }
}

void DispatchThreadBoundQueue::async(dispatch_block_t block)
{
    if (!block) return;
    {
        std::lock_guard lock(state_->mutex);
        state_->items.push_back({std::move(block)});
    }
    state_->wake.notify_one();
}

void DispatchThreadBoundQueue::sync(const dispatch_block_t& block)
{
    if (!block) return;
    checkNotCurrentForSync();
    bool done = false;
    std::unique_lock lock(state_->mutex);
    state_->items.push_back({nullptr, &block, &done});
    state_->wake.notify_one();
    state_->syncFinished.wait(lock, [&] { return done; });
}
