#include "Dispatch/DispatchTimer.h"

#include <algorithm>

namespace {
// The platform's shortest timer interval (0.1 ms): shorter ones would spin.
constexpr dispatch_time_t kMinimumInterval = 100'000;
}  // namespace

DispatchTimer::DispatchTimer(dispatch_time_t interval, bool repeats, dispatch_queue_t queue,
                             std::function<void()> handler)
    : interval_(std::max(interval, kMinimumInterval)), repeats_(repeats), queue_(std::move(queue)),
      handler_(std::move(handler))
{
}

std::shared_ptr<DispatchTimer> DispatchTimer::scheduledTimer(double intervalSeconds, bool repeats,
                                                             dispatch_queue_t queue, std::function<void()> handler)
{
    auto nanos = static_cast<dispatch_time_t>(std::max(0.0, intervalSeconds) * 1e9 + 0.5);
    auto timer = std::make_shared<DispatchTimer>(nanos, repeats, std::move(queue), std::move(handler));
    if (!timer->queue_ || !timer->handler_) {
        timer->valid_ = false;
        return timer;
    }
    timer->arm(DispatchClock::now() + timer->interval_);
    return timer;
}

void DispatchTimer::arm(dispatch_time_t due)
{
    auto self = shared_from_this();
    DispatchClock::schedule(due, [self, due] {
        if (!self->valid_) return;
        if (self->repeats_) self->arm(due + self->interval_);
        self->queue_->async([self] {
            if (!self->valid_) return;
            if (!self->repeats_) self->valid_ = false;
            self->handler_();
        });
    });
}
