#pragma once
// A serial queue with a thread of its own: every block, async or sync, runs on that one thread,
// in submission order. For work whose state belongs to a thread, such as an EGL context, which is
// current on one thread at a time. A sync from another thread waits until the queue's thread has
// run its block; a sync from the queue's own thread stops the process, as on any serial queue.
// The queue is not retargeted (its priority is its thread's). Releasing the last reference lets
// the blocks already queued run, then ends the thread.

#include "Dispatch/DispatchQueue.h"

#include <memory>
#include <thread>

class DispatchThreadBoundQueue : public DispatchQueue {
public:
    static std::shared_ptr<DispatchThreadBoundQueue> make(std::string label);

    explicit DispatchThreadBoundQueue(std::string label);
    ~DispatchThreadBoundQueue() override;

    void async(dispatch_block_t block) override;
    void sync(const dispatch_block_t& block) override;

    std::thread::id threadId() const { return thread_.get_id(); }

private:
    struct State;
    static void run(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};
