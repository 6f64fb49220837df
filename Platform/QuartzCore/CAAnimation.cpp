#include "QuartzCore/CAAnimation.h"

#include <algorithm>

double CAAnimation::progressAt(double time) const
{
    double d = effectiveDuration();
    double fraction = d > 0 ? (time - beginTime_) / d : 1;
    fraction = std::clamp(fraction, 0.0, 1.0);
    return timingFunction_ ? timingFunction_->valueAt(fraction) : fraction;
}
