#include "Dispatch/DispatchMainQueue.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

DispatchMainQueue::DispatchMainQueue() : DispatchQueue("com.apple.main-thread") {}

std::shared_ptr<DispatchMainQueue> DispatchMainQueue::shared()
{
    static auto* queue = new std::shared_ptr<DispatchMainQueue>(std::make_shared<DispatchMainQueue>());
    return *queue;
}

bool DispatchMainQueue::isMainThread()
{
    return syscall(SYS_gettid) == getpid();
}

void DispatchMainQueue::requireMainThread(const char* what)
{
    if (!isMainThread()) {
        std::fprintf(stderr, "%s must be called on the main thread\n", what);
        std::abort();
    }
}

void DispatchMainQueue::async(dispatch_block_t block)
{
    if (block) post(std::move(block), false);
}

void DispatchMainQueue::post(dispatch_block_t block, bool isSync)
{
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({std::move(block), isSync});
    }
    posted_.notify_all();
}

int DispatchMainQueue::runWaitingSyncs()
{
    requireMainThread("DispatchMainQueue::runWaitingSyncs");
    auto& q = *shared();
    int ran = 0;
    for (;;) {
        dispatch_block_t block;
        {
            std::lock_guard lock(q.mutex_);
            auto it = std::find_if(q.pending_.begin(), q.pending_.end(), [](const Pending& p) { return p.isSync; });
            if (it == q.pending_.end()) return ran;
            block = std::move(it->block);
            q.pending_.erase(it);
        }
        CurrentScope scope(&q);
        block();
        ++ran;
    }
}

void DispatchMainQueue::sync(const dispatch_block_t& block)
{
    if (!block) return;
    if (isMainThread()) {
        std::fprintf(stderr, "dispatch_sync to the main queue called on the main thread\n");
        std::abort();
    }
    checkNotCurrentForSync();
    struct Done {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    post([&block, done] {
        block();
        std::lock_guard lock(done->m);
        done->done = true;
        done->cv.notify_one();
    }, true);
    std::unique_lock lock(done->m);
    done->cv.wait(lock, [&] { return done->done; });
}

bool DispatchMainQueue::runNext()
{
    dispatch_block_t block;
    {
        std::lock_guard lock(mutex_);
        if (pending_.empty()) return false;
        block = std::move(pending_.front().block);
        pending_.pop_front();
    }
    CurrentScope scope(this);
    block();
    return true;
}

int DispatchMainQueue::drain()
{
    requireMainThread("DispatchMainQueue::drain");
    auto& q = *shared();
    size_t n;
    {
        std::lock_guard lock(q.mutex_);
        n = q.pending_.size();
    }
    int ran = 0;
    while (n-- > 0 && q.runNext()) ++ran;
    return ran;
}

bool DispatchMainQueue::runUntil(const std::function<bool()>& predicate, double timeoutSeconds)
{
    requireMainThread("DispatchMainQueue::runUntil");
    auto& q = *shared();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                           std::chrono::duration<double>(timeoutSeconds));
    for (;;) {
        if (predicate()) return true;
        if (q.runNext()) continue;
        if (std::chrono::steady_clock::now() >= deadline) return predicate();
        // Conditions may also change on other threads without a main-queue post, so wake up
        // regularly to look again.
        std::unique_lock lock(q.mutex_);
        q.posted_.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(2)),
                             [&] { return !q.pending_.empty(); });
    }
}
