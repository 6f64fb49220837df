#pragma once
// Timing curves: a cubic Bezier from (0, 0) to (1, 1) through two control points, mapping the
// fraction of time elapsed to the fraction of the change shown.

#include "CoreGraphics/CGBase.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <string_view>

inline constexpr const char* kCAMediaTimingFunctionLinear = "linear";
inline constexpr const char* kCAMediaTimingFunctionEaseIn = "easeIn";
inline constexpr const char* kCAMediaTimingFunctionEaseOut = "easeOut";
inline constexpr const char* kCAMediaTimingFunctionEaseInEaseOut = "easeInEaseOut";
inline constexpr const char* kCAMediaTimingFunctionDefault = "default";

class CAMediaTimingFunction : public NSObject {
public:
    using NSObject::NSObject;
    // Linear, ease-in (0.42, 0, 1, 1), ease-out (0, 0, 0.58, 1), ease-in-out (0.42, 0, 0.58, 1),
    // default (0.25, 0.1, 0.25, 1); an unknown name answers null.
    static std::shared_ptr<CAMediaTimingFunction> functionWithName(std::string_view name);
    static std::shared_ptr<CAMediaTimingFunction> functionWithControlPoints(float c1x, float c1y, float c2x, float c2y);

    // The curve's y at x = fraction (clamped to 0...1).
    double valueAt(double fraction) const;

private:
    float c1x_ = 0, c1y_ = 0, c2x_ = 1, c2y_ = 1;
};
