#pragma once
// Delayed calls aimed at a target, which can be cancelled by target: the screens cancel what they
// have asked of a view before they let it go. The call runs on the main thread once the delay has
// passed on the one clock (DispatchClock); until then the target is held strongly. Cancelling on
// the main thread guarantees that no cancelled call runs, even one already due; it lets the
// targets go at once.
//
//   NSPerformAfterDelay(view, &View::hideControls, 2.0);
//   NSPerformAfterDelay(view, [](View& v) { v.setAlpha(0); }, 0.3);
//   NSCancelPreviousPerformRequests(view);

#include "Foundation/NSObjCRuntime.h"

#include <functional>
#include <memory>
#include <type_traits>

namespace NSDelayedPerform {
// Cancelling looks requests up by the address of the whole object, so that a pointer to any of
// its bases finds them.
template <class T>
const void* targetKey(const T* target)
{
    if constexpr (std::is_polymorphic_v<T>)
        return dynamic_cast<const void*>(target);
    else
        return target;
}
void schedule(const void* key, std::function<void()> call, NSTimeInterval delay);
void cancel(const void* key);
}  // namespace NSDelayedPerform

// `action` is a member function of T taking nothing, or a callable taking T&.
template <class T, class Action>
void NSPerformAfterDelay(std::shared_ptr<T> target, Action action, NSTimeInterval delay)
{
    if (!target) return;
    const void* key = NSDelayedPerform::targetKey(target.get());
    NSDelayedPerform::schedule(
        key, [target = std::move(target), action = std::move(action)] { std::invoke(action, *target); }, delay);
}

template <class T>
void NSCancelPreviousPerformRequests(const T* target)
{
    if (target) NSDelayedPerform::cancel(NSDelayedPerform::targetKey(target));
}

template <class T>
void NSCancelPreviousPerformRequests(const std::shared_ptr<T>& target)
{
    NSCancelPreviousPerformRequests(target.get());
}
