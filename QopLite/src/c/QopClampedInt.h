// Float-to-integer conversions for coordinates that come from caller parameters (offsets,
// amplitudes, scales): a value outside int's range, or NaN, would make the plain conversion
// undefined, so these clamp first. Values that far outside any bitmap behave alike anyway.
#pragma once

#include <cmath>

namespace qop_internal {

constexpr double kCoordinateLimit = 1073741824.0; // 2^30: far outside any bitmap

// (int)v for v within the limit, else the limit with v's sign; NaN gives 0.
inline int clampedTrunc(double v)
{
    if (!(v == v))
        return 0;
    if (v > kCoordinateLimit)
        v = kCoordinateLimit;
    if (v < -kCoordinateLimit)
        v = -kCoordinateLimit;
    return static_cast<int>(v);
}

inline int clampedFloor(double v) { return clampedTrunc(std::floor(v)); }

} // namespace qop_internal
