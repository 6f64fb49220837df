#pragma once
// A timer on the dispatch clock: runs its handler on a queue after an interval, and again every
// interval when it repeats, until cancelled. Ticks keep to the schedule (no drift): the n-th
// tick falls due at start + n * interval. A scheduled timer keeps itself alive until it is
// cancelled or, when it does not repeat, has fired.

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchQueue.h"

#include <atomic>
#include <functional>
#include <memory>

class DispatchTimer : public std::enable_shared_from_this<DispatchTimer> {
public:
    static std::shared_ptr<DispatchTimer> scheduledTimer(double intervalSeconds, bool repeats, dispatch_queue_t queue,
                                                         std::function<void()> handler);

    // No handler runs after cancel returns on the timer's queue; one already handed to another
    // thread's queue may still be running.
    void cancel() { valid_ = false; }
    bool isValid() const { return valid_; }
    double interval() const { return static_cast<double>(interval_) / 1e9; }

    DispatchTimer(dispatch_time_t interval, bool repeats, dispatch_queue_t queue, std::function<void()> handler);

private:
    void arm(dispatch_time_t due);

    dispatch_time_t interval_;
    bool repeats_;
    dispatch_queue_t queue_;
    std::function<void()> handler_;
    std::atomic<bool> valid_{true};
};
