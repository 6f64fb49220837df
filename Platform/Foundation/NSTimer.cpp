#include "Foundation/NSTimer.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchTimer.h"

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(NSTimeInterval interval, bool repeats, Block block)
{
    return schedule(interval, repeats, {}, std::move(block));
}

std::shared_ptr<NSTimer> NSTimer::schedule(NSTimeInterval interval, bool repeats, Value userInfo, Block action)
{
    auto timer = NSObject::create<NSTimer>(&NSTimer::initWithAction, repeats, std::move(userInfo), std::move(action));
    if (!timer->action_) return timer;  // nothing to call: born invalid
    // The dispatch timer holds this one while scheduled; invalidate breaks the cycle.
    auto scheduled =
        DispatchTimer::scheduledTimer(interval, repeats, DispatchMainQueue::shared(), [timer] { timer->fire(); });
    {
        std::lock_guard lock(timer->mutex_);
        // The main thread may have fired and invalidated it already.
        if (timer->action_) timer->timer_ = scheduled;
    }
    if (!timer->isValid()) scheduled->cancel();
    return timer;
}

void NSTimer::initWithAction(bool repeats, Value userInfo, Block action)
{
    repeats_ = repeats;
    userInfo_ = std::move(userInfo);
    if (action) action_ = std::make_shared<const Block>(std::move(action));
}

bool NSTimer::isValid() const
{
    std::lock_guard lock(mutex_);
    return action_ != nullptr;
}

void NSTimer::invalidate()
{
    std::shared_ptr<const Block> action;  // the target is let go outside the lock
    std::shared_ptr<DispatchTimer> timer;
    {
        std::lock_guard lock(mutex_);
        action = std::move(action_);
        timer = std::move(timer_);
    }
    if (timer) timer->cancel();
}

void NSTimer::fire()
{
    std::shared_ptr<const Block> action;  // keeps the target alive through a call that invalidates
    {
        std::lock_guard lock(mutex_);
        action = action_;
    }
    if (!action) return;
    (*action)(self<NSTimer>());
    if (!repeats_) invalidate();
}
