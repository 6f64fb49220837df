#pragma once
// A timer on the main run loop: after its interval, and again every interval when it repeats,
// it calls a block or a member function of its target, on the main thread, reading the one clock
// (DispatchClock). Ticks keep to the schedule (the n-th at start + n * interval). While scheduled
// the run loop holds the timer, and the timer holds its target strongly; invalidate (also from
// the timer's own callback) stops it and lets the target go. A timer that does not repeat is
// invalidated once it has fired. Timers made on any thread fire on the main thread.

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

class DispatchTimer;

class NSTimer : public NSObject {
public:
    using NSObject::NSObject;
    using Block = std::function<void(const std::shared_ptr<NSTimer>&)>;

    static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(NSTimeInterval interval, bool repeats, Block block);
    // `selector` is a member function of T taking the timer, or nothing.
    template <class T, class Selector>
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(NSTimeInterval interval, std::shared_ptr<T> target,
                                                                   Selector selector, Value userInfo, bool repeats);

    void invalidate();
    bool isValid() const;
    // Calls the timer's action now, leaving a repeating timer's schedule as it was; a timer that
    // does not repeat is invalidated after. Does nothing once invalidated.
    void fire();
    const Value& userInfo() const { return userInfo_; }

private:
    static std::shared_ptr<NSTimer> schedule(NSTimeInterval interval, bool repeats, Value userInfo, Block action);
    void initWithAction(bool repeats, Value userInfo, Block action);

    bool repeats_ = false;
    Value userInfo_;
    mutable std::mutex mutex_;
    std::shared_ptr<const Block> action_;  // null once invalidated; holds the target
    std::shared_ptr<DispatchTimer> timer_;
};

template <class T, class Selector>
std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(NSTimeInterval interval, std::shared_ptr<T> target,
                                                                 Selector selector, Value userInfo, bool repeats)
{
    if (!target) return schedule(interval, repeats, std::move(userInfo), nullptr);
    return schedule(interval, repeats, std::move(userInfo),
                    [target = std::move(target), selector](const std::shared_ptr<NSTimer>& timer) {
                        if constexpr (std::is_invocable_v<Selector, T&, const std::shared_ptr<NSTimer>&>)
                            std::invoke(selector, *target, timer);
                        else
                            std::invoke(selector, *target);
                    });
}
