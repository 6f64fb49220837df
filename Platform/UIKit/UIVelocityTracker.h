#pragma once
// Velocity of a moving point from its recent positions: the distance from where it was a tenth of
// a second ago (or at the start, if sooner) to where it is, over the time between. A finger held
// still for that long reads zero.

#include "CoreGraphics/CGGeometry.h"

#include <deque>

class UIVelocityTracker {
public:
    void clear() { samples_.clear(); }
    void add(double time, CGPoint point);
    // Points per second at `now` (the time of the last sample or later).
    CGPoint velocityAt(double now) const;
    // Moves every sample by (dx, dy): a jump of the tracked point that is not movement.
    void shift(CGFloat dx, CGFloat dy);

private:
    struct Sample {
        double time;
        CGPoint point;
    };
    std::deque<Sample> samples_;
};
