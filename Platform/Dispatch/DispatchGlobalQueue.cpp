#include "Dispatch/DispatchGlobalQueue.h"

#include "Dispatch/Dispatch.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>

namespace {

thread_local long workerPriority = DISPATCH_QUEUE_PRIORITY_DEFAULT;

// Background work runs niced, so that it yields to everything else without starving on a busy
// machine (the lowest niceness, 19, would let a loaded CI host stall full-size renders).
constexpr int kBackgroundNiceness = 10;
// A safety cap: the pool grows only while workers are all busy, normally to a handful.
constexpr int kMaxThreadsPerQueue = 256;

// Workers are started by one spawner thread rather than by whichever thread submits work:
// threads inherit their creator's niceness and an unprivileged thread cannot lower it again, so
// a default-priority worker started from a background worker would stay niced for good. The
// spawner is made before the first worker exists, hence from a thread at the process's own
// priority.
class Spawner {
public:
    static Spawner& shared()
    {
        static auto* spawner = new Spawner;  // lives as long as the process
        return *spawner;
    }
    void spawn(std::function<void()> body)
    {
        bool startThread;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(body));
            startThread = !running_;
            running_ = true;
        }
        if (startThread) start();
        wake_.notify_one();
    }

    // fork(): the parent holds the lock across the fork, so the child finds the requests whole.
    // The child has no spawner thread; its first spawn starts one (not the fork handler: a
    // thread started there would break tools such as ThreadSanitizer).
    void lockForFork() { mutex_.lock(); }
    void unlockInParent() { mutex_.unlock(); }
    void resetInChild()
    {
        // The parent's spawner was waiting on the condition: its state names a thread the child
        // lacks, and signalling it would block. Start from a fresh one (the old one is dropped).
        new (&wake_) std::condition_variable();
        running_ = false;
        mutex_.unlock();
    }

private:
    Spawner()
    {
        running_ = true;
        start();
    }
    void start()
    {
        std::thread([this] {
            std::unique_lock lock(mutex_);
            for (;;) {
                wake_.wait(lock, [this] { return !requests_.empty(); });
                auto body = std::move(requests_.front());
                requests_.pop_front();
                lock.unlock();
                std::thread(std::move(body)).detach();
                lock.lock();
            }
        }).detach();
    }
    bool running_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> requests_;
};

}  // namespace

DispatchGlobalQueue::DispatchGlobalQueue(std::string label, long priority, int niceness)
    : DispatchQueue(std::move(label)), priority_(priority), niceness_(niceness)
{
}

namespace {

// The pools, once made; a forked child starts their workers again.
std::atomic<DispatchGlobalQueue*> pools[3];

}  // namespace

void DispatchGlobalQueue::lockForFork()
{
    Spawner::shared().lockForFork();
    for (auto& pool : pools)
        if (auto* q = pool.load()) q->mutex_.lock();
}

void DispatchGlobalQueue::unlockInParent()
{
    for (auto& pool : pools)
        if (auto* q = pool.load()) q->mutex_.unlock();
    Spawner::shared().unlockInParent();
}

void DispatchGlobalQueue::restartInChild()
{
    Spawner::shared().resetInChild();
    for (auto& pool : pools) {
        auto* q = pool.load();
        if (!q) continue;
        // Only the forking thread lives on: no worker runs or waits. The next block queued starts
        // workers again, for the blocks left pending too.
        q->threads_ = 0;
        q->idle_ = 0;
        new (&q->wake_) std::condition_variable();  // its waiters were the parent's workers
        q->mutex_.unlock();
    }
}

std::shared_ptr<DispatchGlobalQueue> DispatchGlobalQueue::queueForPriority(long priority)
{
    Spawner::shared();
    static const bool forkHandled = [] {
        pthread_atfork(&DispatchGlobalQueue::lockForFork, &DispatchGlobalQueue::unlockInParent,
                       &DispatchGlobalQueue::restartInChild);
        return true;
    }();
    (void)forkHandled;
    // Process-lifetime singletons whose workers are never joined: they are deliberately leaked so
    // that exit does not wait for (or destroy under) running workers.
    static auto* defaultQueue = new std::shared_ptr<DispatchGlobalQueue>(
        std::make_shared<DispatchGlobalQueue>("com.tessel.root.default", DISPATCH_QUEUE_PRIORITY_DEFAULT, 0));
    static auto* backgroundQueue = new std::shared_ptr<DispatchGlobalQueue>(std::make_shared<DispatchGlobalQueue>(
        "com.tessel.root.background", DISPATCH_QUEUE_PRIORITY_BACKGROUND, kBackgroundNiceness));
    static auto* highQueue = new std::shared_ptr<DispatchGlobalQueue>(
        std::make_shared<DispatchGlobalQueue>("com.tessel.root.high", DISPATCH_QUEUE_PRIORITY_HIGH, 0));
    static const bool registered = [] {
        pools[0] = defaultQueue->get();
        pools[1] = backgroundQueue->get();
        pools[2] = highQueue->get();
        return true;
    }();
    (void)registered;
    if (priority == DISPATCH_QUEUE_PRIORITY_HIGH) return *highQueue;
    return priority == DISPATCH_QUEUE_PRIORITY_BACKGROUND ? *backgroundQueue : *defaultQueue;
}

long DispatchGlobalQueue::currentThreadPriority()
{
    return workerPriority;
}

void DispatchGlobalQueue::async(dispatch_block_t block)
{
    if (!block) return;
    bool spawn = false;
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(block));
        if (idle_ < static_cast<int>(pending_.size()) && threads_ < kMaxThreadsPerQueue) {
            ++threads_;
            spawn = true;
        }
    }
    if (spawn)
        Spawner::shared().spawn([this] { workerLoop(); });
    else
        wake_.notify_one();
}

void DispatchGlobalQueue::sync(const dispatch_block_t& block)
{
    if (!block) return;
    CurrentScope scope(this);
    block();
}

void DispatchGlobalQueue::workerLoop()
{
    workerPriority = priority_;
    if (niceness_ != 0) setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), niceness_);
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [this] { return !pending_.empty(); });
        --idle_;
        dispatch_block_t block = std::move(pending_.front());
        pending_.pop_front();
        lock.unlock();
        {
            CurrentScope scope(this);
            block();
        }
        block = nullptr;  // captured objects die outside the lock
        lock.lock();
    }
}
