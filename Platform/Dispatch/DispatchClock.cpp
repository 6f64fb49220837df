#include "Dispatch/DispatchClock.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace {

// Virtual time starts one second in, so that no time on it equals DISPATCH_TIME_NOW (0).
constexpr dispatch_time_t kVirtualStart = 1'000'000'000;

struct Scheduler {
    std::mutex mutex;
    std::condition_variable changed;
    std::multimap<std::pair<dispatch_time_t, std::uint64_t>, std::function<void()>> entries;
    std::uint64_t sequence = 0;
    bool isVirtual = false;
    dispatch_time_t virtualNow = kVirtualStart;
    bool threadStarted = false;

    static dispatch_time_t realNow()
    {
        return static_cast<dispatch_time_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                std::chrono::steady_clock::now().time_since_epoch())
                                                .count()) +
               kVirtualStart;
    }

    void realLoop()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            if (isVirtual || entries.empty()) {
                changed.wait(lock);
                continue;
            }
            auto first = entries.begin();
            dispatch_time_t due = first->first.first;
            dispatch_time_t current = realNow();
            if (due > current) {
                changed.wait_for(lock, std::chrono::nanoseconds(due - current));
                continue;
            }
            auto fire = std::move(first->second);
            entries.erase(first);
            lock.unlock();
            fire();
            lock.lock();
        }
    }
};

Scheduler& scheduler()
{
    // Leaked on purpose: its thread lives as long as the process.
    static auto* s = new Scheduler;
    return *s;
}

}  // namespace

dispatch_time_t DispatchClock::now()
{
    auto& s = scheduler();
    std::lock_guard lock(s.mutex);
    return s.isVirtual ? s.virtualNow : Scheduler::realNow();
}

void DispatchClock::useVirtualTime(bool enabled)
{
    auto& s = scheduler();
    {
        std::lock_guard lock(s.mutex);
        s.isVirtual = enabled;
    }
    s.changed.notify_all();
}

bool DispatchClock::isVirtual()
{
    auto& s = scheduler();
    std::lock_guard lock(s.mutex);
    return s.isVirtual;
}

void DispatchClock::advance(double seconds)
{
    if (seconds > 0) advanceNanoseconds(static_cast<std::uint64_t>(seconds * 1e9 + 0.5));
}

void DispatchClock::advanceNanoseconds(std::uint64_t nanoseconds)
{
    auto& s = scheduler();
    std::unique_lock lock(s.mutex);
    if (!s.isVirtual) return;
    dispatch_time_t target = s.virtualNow + nanoseconds;
    // One entry at a time, so that what a firing schedules (a repeating timer's next tick) takes
    // its place among the rest.
    while (!s.entries.empty() && s.entries.begin()->first.first <= target) {
        auto first = s.entries.begin();
        if (first->first.first > s.virtualNow) s.virtualNow = first->first.first;
        auto fire = std::move(first->second);
        s.entries.erase(first);
        lock.unlock();
        fire();
        lock.lock();
    }
    s.virtualNow = target;
}

void DispatchClock::schedule(dispatch_time_t when, std::function<void()> fire)
{
    if (!fire) return;
    auto& s = scheduler();
    {
        std::unique_lock lock(s.mutex);
        if (s.isVirtual && when <= s.virtualNow) {
            // Already due: virtual time moves only when advanced, so hand it on now.
            lock.unlock();
            fire();
            return;
        }
        s.entries.emplace(std::make_pair(when, s.sequence++), std::move(fire));
        if (!s.threadStarted) {
            s.threadStarted = true;
            std::thread([&s] { s.realLoop(); }).detach();
        }
    }
    s.changed.notify_all();
}
