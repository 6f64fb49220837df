#include "UIKit/UIVelocityTracker.h"

#include "UIKit/UIGestureConstants.h"

void UIVelocityTracker::add(double time, CGPoint point)
{
    samples_.push_back({time, point});
    // Keep one sample older than the window, the point's position at its start.
    while (samples_.size() > 2 && samples_[1].time <= time - UIVelocityWindow) samples_.pop_front();
}

CGPoint UIVelocityTracker::velocityAt(double now) const
{
    if (samples_.empty()) return CGPointZero;
    const Sample& last = samples_.back();
    // The position a window ago: the last sample at or before that time, else the first.
    const Sample* from = &samples_.front();
    for (const auto& s : samples_)
        if (s.time <= now - UIVelocityWindow + 1e-9) from = &s;
    double dt = now - from->time;
    if (dt <= 0) return CGPointZero;
    return CGPointMake(CGFloat((last.point.x - from->point.x) / dt), CGFloat((last.point.y - from->point.y) / dt));
}

void UIVelocityTracker::shift(CGFloat dx, CGFloat dy)
{
    for (auto& s : samples_) s.point.x += dx, s.point.y += dy;
}
