#include "Dispatch/DispatchGlobalQueue.h"

#include "Dispatch/Dispatch.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(body));
        }
        wake_.notify_one();
    }

private:
    Spawner()
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
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> requests_;
};

}  // namespace

DispatchGlobalQueue::DispatchGlobalQueue(std::string label, long priority, int niceness)
    : DispatchQueue(std::move(label)), priority_(priority), niceness_(niceness)
{
}

std::shared_ptr<DispatchGlobalQueue> DispatchGlobalQueue::queueForPriority(long priority)
{
    Spawner::shared();
    // Process-lifetime singletons whose workers are never joined: they are deliberately leaked so
    // that exit does not wait for (or destroy under) running workers.
    static auto* defaultQueue = new std::shared_ptr<DispatchGlobalQueue>(
        std::make_shared<DispatchGlobalQueue>("com.apple.root.default-qos", DISPATCH_QUEUE_PRIORITY_DEFAULT, 0));
    static auto* backgroundQueue = new std::shared_ptr<DispatchGlobalQueue>(std::make_shared<DispatchGlobalQueue>(
        "com.apple.root.background-qos", DISPATCH_QUEUE_PRIORITY_BACKGROUND, kBackgroundNiceness));
    static auto* highQueue = new std::shared_ptr<DispatchGlobalQueue>(
        std::make_shared<DispatchGlobalQueue>("com.apple.root.user-initiated-qos", DISPATCH_QUEUE_PRIORITY_HIGH, 0));
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
