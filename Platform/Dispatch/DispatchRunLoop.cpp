#include "Dispatch/DispatchRunLoop.h"

#include "Dispatch/DispatchMainQueue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr std::size_t kStageCount = static_cast<std::size_t>(DispatchRunLoopStage::Composite) + 1;

struct Observer {
    DispatchRunLoop::ObserverId id;
    std::function<void()> call;
    std::atomic<bool> removed{false};
};

struct Observers {
    std::mutex mutex;
    DispatchRunLoop::ObserverId lastId = 0;
    std::array<std::vector<std::shared_ptr<Observer>>, kStageCount> stages;
};

Observers& observers()
{
    static auto* o = new Observers;  // lives as long as the process, like the main queue
    return *o;
}

void runObservers(std::size_t stage)
{
    auto& o = observers();
    std::vector<std::shared_ptr<Observer>> snapshot;
    {
        std::lock_guard lock(o.mutex);
        snapshot = o.stages[stage];
    }
    for (const auto& observer : snapshot)
        if (!observer->removed) observer->call();
}

}  // namespace

DispatchRunLoop::ObserverId DispatchRunLoop::addObserver(DispatchRunLoopStage stage, std::function<void()> call)
{
    auto& o = observers();
    std::lock_guard lock(o.mutex);
    auto observer = std::make_shared<Observer>();
    observer->id = ++o.lastId;
    observer->call = std::move(call);
    o.stages[static_cast<std::size_t>(stage)].push_back(observer);
    return observer->id;
}

void DispatchRunLoop::removeObserver(ObserverId id)
{
    std::shared_ptr<Observer> removed;  // its function dies outside the lock
    auto& o = observers();
    std::lock_guard lock(o.mutex);
    for (auto& stage : o.stages) {
        auto it = std::find_if(stage.begin(), stage.end(), [&](const auto& observer) { return observer->id == id; });
        if (it == stage.end()) continue;
        removed = *it;
        removed->removed = true;
        stage.erase(it);
        return;
    }
}

int DispatchRunLoop::drain()
{
    DispatchMainQueue::requireMainThread("DispatchRunLoop::drain");
    int ran = DispatchMainQueue::shared()->runQueuedBlocks();
    for (std::size_t stage = 0; stage < kStageCount; ++stage) runObservers(stage);
    return ran;
}

bool DispatchRunLoop::runUntil(const std::function<bool()>& predicate, double timeoutSeconds)
{
    DispatchMainQueue::requireMainThread("DispatchRunLoop::runUntil");
    using Clock = std::chrono::steady_clock;
    auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutSeconds));
    for (;;) {
        if (predicate()) return true;
        if (drain() > 0) continue;
        if (Clock::now() >= deadline) return predicate();
        // Conditions may also change on other threads without a main-queue post, so wake up
        // regularly to look again.
        DispatchMainQueue::shared()->waitForPost(std::min(deadline, Clock::now() + std::chrono::milliseconds(2)));
    }
}
