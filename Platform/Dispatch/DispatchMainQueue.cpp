#include "Dispatch/DispatchMainQueue.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

DispatchMainQueue::DispatchMainQueue() : DispatchQueue("com.tessel.main") {}

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

void DispatchMainQueue::setWakeHandler(std::function<void()> wake)
{
    auto& q = *shared();
    std::lock_guard lock(q.mutex_);
    q.wake_ = wake ? std::make_shared<const std::function<void()>>(std::move(wake)) : nullptr;
}

void DispatchMainQueue::async(dispatch_block_t block)
{
    if (block) post({std::move(block), false, {}});
}

void DispatchMainQueue::post(Pending pending)
{
    std::shared_ptr<const std::function<void()>> wake;
    {
        std::lock_guard lock(mutex_);
        if (pending.isSync && mainWaitsFor_ &&
            std::find(pending.owned.begin(), pending.owned.end(), mainWaitsFor_) != pending.owned.end())
            reportDeadlock(*mainWaitsFor_);
        pending_.push_back(std::move(pending));
        wake = wake_;
    }
    posted_.notify_all();
    if (wake) (*wake)();
}

void DispatchMainQueue::mainWillWaitFor(const DispatchQueue& queue)
{
    std::lock_guard lock(mutex_);
    for (const auto& p : pending_)
        if (p.isSync && std::find(p.owned.begin(), p.owned.end(), &queue) != p.owned.end()) reportDeadlock(queue);
    mainWaitsFor_ = &queue;
}

void DispatchMainQueue::mainStoppedWaiting()
{
    std::lock_guard lock(mutex_);
    mainWaitsFor_ = nullptr;
}

void DispatchMainQueue::reportDeadlock(const DispatchQueue& queue)
{
    std::fprintf(stderr,
                 "deadlock: the main thread waits in dispatch_sync on queue \"%s\" while a block of that queue "
                 "waits in dispatch_sync on the main queue\n",
                 queue.label().c_str());
    std::abort();
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
    post({[&block, done] {
              block();
              std::lock_guard lock(done->m);
              done->done = true;
              done->cv.notify_one();
          },
          true, currentQueues()});
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

int DispatchMainQueue::runQueuedBlocks()
{
    size_t n;
    {
        std::lock_guard lock(mutex_);
        n = pending_.size();
    }
    int ran = 0;
    while (n-- > 0 && runNext()) ++ran;
    return ran;
}

void DispatchMainQueue::waitForPost(std::chrono::steady_clock::time_point until)
{
    std::unique_lock lock(mutex_);
    posted_.wait_until(lock, until, [&] { return !pending_.empty(); });
}
