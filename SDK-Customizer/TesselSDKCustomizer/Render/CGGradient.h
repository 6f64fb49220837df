#pragma once
// A gradient: colours at locations from 0 to 1, interpolated linearly between them.

#include <vector>

#include "Render/CGColor.h"

namespace customizer {

// Whether a linear gradient also paints beyond its start and end points (options 3: both).
enum CGGradientDrawingOptions : unsigned {
    kCGGradientDrawsBeforeStartLocation = 1,
    kCGGradientDrawsAfterEndLocation = 2,
};

struct CGGradientStop {
    CGFloat location;
    CGColor color;
};

struct CGGradient {
    std::vector<CGGradientStop> stops;
};

// One stop per colour, at the location of the same index.
inline CGGradient CGGradientCreateWithColors(const std::vector<CGColor>& colors, const std::vector<CGFloat>& locations)
{
    CGGradient gradient;
    for (size_t i = 0; i < colors.size() && i < locations.size(); ++i) gradient.stops.push_back({locations[i], colors[i]});
    return gradient;
}

}  // namespace customizer
