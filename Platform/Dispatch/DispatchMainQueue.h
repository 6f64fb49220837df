#pragma once
// The main queue: blocks run on the main thread, in order, whenever the main thread pumps the
// run loop. People's builds pump it from the host's event loop (drain); tests pump it with
// runUntil and never block the main thread on a result.

#include "Dispatch/DispatchQueue.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class DispatchMainQueue : public DispatchQueue {
public:
    static std::shared_ptr<DispatchMainQueue> shared();

    void async(dispatch_block_t block) override;
    // From a worker: waits until the main thread has run the block. From the main thread it could
    // never return, which stops the process with a message.
    void sync(const dispatch_block_t& block) override;

    // Runs main-queue blocks on the main thread until the predicate holds or the timeout (real
    // seconds) has passed; answers the predicate's last value. Only the main thread may call it.
    static bool runUntil(const std::function<bool()>& predicate, double timeoutSeconds);
    // Runs the blocks queued at the time of the call; answers how many ran. Main thread only.
    static int drain();
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
    bool runNext();  // runs one queued block if any

    std::mutex mutex_;
    std::condition_variable posted_;
    struct Pending {
        dispatch_block_t block;
        bool isSync = false;  // a worker waits for it
    };
    void post(dispatch_block_t block, bool isSync);

    std::deque<Pending> pending_;
};
