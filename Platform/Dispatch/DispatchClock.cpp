#include "Dispatch/DispatchClock.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
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

    // Seconds since 1970 that virtual time read at its start; set when virtual time is switched on.
    double wallClockAtStart = 0;
    // On the real clock, a date that the wall clock reads whatever the time.
    std::optional<double> pinnedWallClock;
    // Frames are counted from the moment virtual time was last switched on.
    dispatch_time_t frameOrigin = kVirtualStart;

    double virtualElapsed() const { return static_cast<double>(virtualNow - kVirtualStart) / 1e9; }
    double virtualWallClock() const { return wallClockAtStart + virtualElapsed(); }

    static double realWallClock()
    {
        return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    }

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

// Frame n lies n / framesPerSecond seconds after `origin`, rounded up to a whole nanosecond. Whole
// seconds and the rest are counted apart so that no product overflows.
dispatch_time_t nextFrameAfter(dispatch_time_t time, dispatch_time_t origin)
{
    constexpr std::uint64_t fps = DispatchClock::framesPerSecond;
    constexpr std::uint64_t second = 1'000'000'000;
    std::uint64_t elapsed = time - origin;
    std::uint64_t frame = elapsed / second * fps + elapsed % second * fps / second + 1;
    return origin + frame / fps * second + (frame % fps * second + fps - 1) / fps;
}

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

double DispatchClock::secondsSince1970()
{
    auto& s = scheduler();
    std::lock_guard lock(s.mutex);
    if (s.isVirtual) return s.virtualWallClock();
    return s.pinnedWallClock ? *s.pinnedWallClock : Scheduler::realWallClock();
}

void DispatchClock::pinSecondsSince1970(std::optional<double> seconds)
{
    auto& s = scheduler();
    std::lock_guard lock(s.mutex);
    s.pinnedWallClock = seconds;
}

void DispatchClock::setSecondsSince1970(double seconds)
{
    auto& s = scheduler();
    std::lock_guard lock(s.mutex);
    if (s.isVirtual) s.wallClockAtStart = seconds - s.virtualElapsed();
}

void DispatchClock::useVirtualTime(bool enabled)
{
    auto& s = scheduler();
    {
        std::lock_guard lock(s.mutex);
        if (enabled && !s.isVirtual) {
            s.wallClockAtStart = Scheduler::realWallClock() - s.virtualElapsed();
            s.frameOrigin = s.virtualNow;
        }
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
    // Only the main thread can turn the run loop; elsewhere advancing just hands work on.
    bool turns = DispatchMainQueue::isMainThread();
    dispatch_time_t target;
    {
        std::lock_guard lock(s.mutex);
        if (!s.isVirtual) return;
        target = s.virtualNow + nanoseconds;
    }
    for (;;) {
        dispatch_time_t step = target;
        {
            std::unique_lock lock(s.mutex);
            if (!s.isVirtual) return;
            if (turns) step = std::min(step, nextFrameAfter(s.virtualNow, s.frameOrigin));
            if (!s.entries.empty()) step = std::min(step, std::max(s.entries.begin()->first.first, s.virtualNow));
            // max: another thread may be advancing too.
            s.virtualNow = std::max(s.virtualNow, step);
            // One entry at a time, so that what a firing schedules (a repeating timer's next tick)
            // takes its place among the rest.
            while (!s.entries.empty() && s.entries.begin()->first.first <= s.virtualNow) {
                auto first = s.entries.begin();
                auto fire = std::move(first->second);
                s.entries.erase(first);
                lock.unlock();
                fire();
                lock.lock();
            }
        }
        if (turns) DispatchRunLoop::drain();
        if (step >= target) return;
    }
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
