#pragma once
// A global (concurrent) queue of one priority: a pool of worker threads that all run at that
// priority. The pool grows when every worker is busy, so a block that waits synchronously on
// another queue never starves the work it waits for.

#include "Dispatch/DispatchQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>

class DispatchGlobalQueue : public DispatchQueue {
public:
    // The shared queue of a priority (DISPATCH_QUEUE_PRIORITY_HIGH, _DEFAULT or _BACKGROUND; any
    // other value answers the default queue). High-priority work has a pool of its own, so that
    // it never waits behind default work; its workers keep the process's niceness.
    static std::shared_ptr<DispatchGlobalQueue> queueForPriority(long priority);

    long priority() const { return priority_; }
    void async(dispatch_block_t block) override;
    void sync(const dispatch_block_t& block) override;

    // The priority of the global queue whose worker runs the calling thread; the default priority
    // on any other thread.
    static long currentThreadPriority();

    DispatchGlobalQueue(std::string label, long priority, int niceness);

private:
    // fork(): no pool is mid-change while the process forks, and the child's pools start their
    // workers again.
    static void lockForFork();
    static void unlockInParent();
    static void restartInChild();
    void workerLoop();

    long priority_;
    int niceness_;  // the OS niceness every worker takes at start
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<dispatch_block_t> pending_;
    int threads_ = 0;
    int idle_ = 0;
};
