// Float-to-integer conversions for coordinates that come from caller parameters (offsets,
// amplitudes, scales) and for computed levels: a value outside int's range, or NaN, would make the
// plain conversion undefined, so these clamp first. Values that far outside any bitmap behave
// alike anyway.
#pragma once

#include <cmath>
#include <cstdint>

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

// A level as a byte: 0 for NaN and anything not above 0, 255 from 255 up, else truncated. For
// every finite value this is the byte that truncating first and clamping afterwards gives.
template <typename Real>
inline uint8_t truncatedByte(Real v)
{
    if (!(v > Real(0)))
        return 0;
    if (v >= Real(255))
        return 255;
    return static_cast<uint8_t>(static_cast<int>(v));
}

} // namespace qop_internal
