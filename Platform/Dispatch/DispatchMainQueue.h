#pragma once
// The main queue: blocks run on the main thread, in order, in the first stage of each turn of the
// main run loop (DispatchRunLoop). A host loop that sleeps between turns installs a wake handler
// to hear of new work.

#include "Dispatch/DispatchQueue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

class DispatchMainQueue : public DispatchQueue {
public:
    static std::shared_ptr<DispatchMainQueue> shared();

    void async(dispatch_block_t block) override;
    // From a worker: waits until the main thread has run the block. From the main thread it could
    // never return, nor from a block of a serial queue the main thread is waiting for in sync;
    // both stop the process with a message.
    void sync(const dispatch_block_t& block) override;

    // Called, on the posting thread, after every block posted to the main queue (async, sync,
    // delayed blocks and timers falling due): a host loop waiting for events wakes itself from
    // it. Keep it short and thread-safe; an empty function removes it.
    static void setWakeHandler(std::function<void()> wake);

    // Runs, out of turn, the blocks of workers waiting in sync on the main queue; answers how many
    // ran. Main thread only: for code that must wait on the main thread for a worker that may be
    // waiting for the main thread.
    static int runWaitingSyncs();

    static bool isMainThread();
    // Stops the process with a message naming `what` unless called on the main thread: the entry
    // points of UI code call it first.
    static void requireMainThread(const char* what);

    DispatchMainQueue();

private:
    friend class DispatchRunLoop;
    friend class DispatchSerialQueue;

    struct Pending {
        dispatch_block_t block;
        bool isSync = false;                      // a worker waits for it
        std::vector<const DispatchQueue*> owned;  // that worker's queues, while it waits
    };

    void post(Pending pending);
    bool runNext();         // runs one queued block if any
    int runQueuedBlocks();  // runs the blocks queued at the time of the call
    // Waits until a block is posted or the time has come; main thread.
    void waitForPost(std::chrono::steady_clock::time_point until);

    // The main thread is about to wait in sync for its turn on `queue`, then has stopped waiting.
    // A block of that queue waiting in sync on the main queue would never be run: caught here.
    void mainWillWaitFor(const DispatchQueue& queue);
    void mainStoppedWaiting();
    [[noreturn]] static void reportDeadlock(const DispatchQueue& queue);

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Pending> pending_;
    const DispatchQueue* mainWaitsFor_ = nullptr;
    std::shared_ptr<const std::function<void()>> wake_;
};
