#include "QuartzCore/CAMediaTimingFunction.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<CAMediaTimingFunction> CAMediaTimingFunction::functionWithName(std::string_view name)
{
    if (name == kCAMediaTimingFunctionLinear) return functionWithControlPoints(0, 0, 1, 1);
    if (name == kCAMediaTimingFunctionEaseIn) return functionWithControlPoints(0.42f, 0, 1, 1);
    if (name == kCAMediaTimingFunctionEaseOut) return functionWithControlPoints(0, 0, 0.58f, 1);
    if (name == kCAMediaTimingFunctionEaseInEaseOut) return functionWithControlPoints(0.42f, 0, 0.58f, 1);
    if (name == kCAMediaTimingFunctionDefault) return functionWithControlPoints(0.25f, 0.1f, 0.25f, 1);
    return nullptr;
}

std::shared_ptr<CAMediaTimingFunction> CAMediaTimingFunction::functionWithControlPoints(float c1x, float c1y, float c2x,
                                                                                        float c2y)
{
    return NSObject::create<CAMediaTimingFunction>(
        [&](CAMediaTimingFunction& f) { f.c1x_ = c1x, f.c1y_ = c1y, f.c2x_ = c2x, f.c2y_ = c2y; });
}

double CAMediaTimingFunction::valueAt(double fraction) const
{
    double x = std::clamp(fraction, 0.0, 1.0);
    if (x == 0 || x == 1) return x;
    if (c1x_ == c1y_ && c2x_ == c2y_) return x;  // a straight line
    auto bezier = [](double t, double p1, double p2) {
        double u = 1 - t;
        return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
    };
    // Solve x(t) = x by bisection: the curve's x is monotonic for control x in 0...1.
    double lo = 0, hi = 1, t = x;
    for (int i = 0; i < 60; ++i) {
        t = (lo + hi) / 2;
        if (bezier(t, c1x_, c2x_) < x)
            lo = t;
        else
            hi = t;
    }
    return bezier(t, c1y_, c2y_);
}
