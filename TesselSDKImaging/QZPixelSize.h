#pragma once
// Whole pixels from a size given in points-as-floats. A float that is negative, NaN or too large
// for a GL size has no integer value to convert to (the cast would be undefined), so such a size
// is refused instead of truncated.

#include "CoreGraphics/CGGeometry.h"

#include <cstddef>
#include <optional>

struct QZPixelSize {
    std::size_t width = 0;
    std::size_t height = 0;
};

// Each side truncated towards zero; nullopt unless 0 <= side < 2^31 on both.
inline std::optional<QZPixelSize> QZPixelSizeFromCGSize(CGSize size)
{
    constexpr CGFloat kLimit = 2147483648.0f;
    const auto usable = [](CGFloat side) { return side >= 0 && side < kLimit; };  // NaN fails both
    if (!usable(size.width) || !usable(size.height)) return std::nullopt;
    return QZPixelSize{static_cast<std::size_t>(size.width), static_cast<std::size_t>(size.height)};
}
