#include "QuartzCore/CAAnimation.h"

#include <algorithm>
#include <cmath>

double CAAnimation::activeDuration() const
{
    const double cycle = effectiveDuration() * (autoreverses_ ? 2 : 1);
    if (std::isinf(repeatCount_)) return HUGE_VAL;
    return cycle * (repeatCount_ > 0 ? repeatCount_ : 1);
}

double CAAnimation::progressAtLocalTime(double elapsed) const
{
    const double d = effectiveDuration();
    if (elapsed <= 0) return timingFunction_ ? timingFunction_->valueAt(0) : 0;
    double local;  // seconds into the forward play
    if (elapsed >= activeDuration()) {
        // Where the last cycle stopped: a whole cycle ends at its end (or, reversed, its start).
        const double cycle = d * (autoreverses_ ? 2 : 1);
        double into = std::fmod(activeDuration(), cycle);
        if (into == 0) into = cycle;
        local = autoreverses_ && into > d ? cycle - into : into;
    } else {
        const double cycle = d * (autoreverses_ ? 2 : 1);
        local = std::fmod(elapsed, cycle);
        if (autoreverses_ && local > d) local = cycle - local;
    }
    double fraction = d > 0 ? std::clamp(local / d, 0.0, 1.0) : 1;
    return timingFunction_ ? timingFunction_->valueAt(fraction) : fraction;
}

bool CAKeyframeAnimation::segmentAt(double t, std::size_t* first, std::size_t* second, double* between) const
{
    const std::size_t n = values_.size();
    if (n == 0) return false;
    std::vector<double> times = keyTimes_;
    if (times.size() != n) {
        times.resize(n);
        for (std::size_t i = 0; i < n; ++i) times[i] = n == 1 ? 0 : static_cast<double>(i) / (n - 1);
    }
    std::size_t i = 0;
    while (i + 1 < n && t >= times[i + 1]) ++i;
    *first = i;
    *second = std::min(i + 1, n - 1);
    const double span = times[*second] - times[i];
    double f = *second == i || span <= 0 ? 0 : (t - times[i]) / span;
    f = std::clamp(f, 0.0, 1.0);
    if (calculationMode_ == kCAAnimationDiscrete) f = 0;
    // Past the last key time the last value holds.
    if (t >= times[n - 1]) {
        *first = *second = n - 1;
        f = 0;
    }
    *between = f;
    return true;
}
