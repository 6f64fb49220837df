#include "CoreGraphics/CGGradient.h"

#include <algorithm>

#include "CGInternal.h"

namespace {

CGGradientRef makeGradient(std::vector<CGRGBA> colors, const CGFloat* locations)
{
    if (colors.empty()) return nullptr;
    auto* gradient = new CGGradient;
    size_t n = colors.size();
    for (size_t i = 0; i < n; ++i) {
        CGFloat location = locations ? locations[i] : (n == 1 ? 0 : CGFloat(i) / CGFloat(n - 1));
        gradient->stops.push_back({std::clamp(location, CGFloat(0), CGFloat(1)), colors[i]});
    }
    return gradient;
}

}  // namespace

CGGradientRef CGGradientCreateWithColors(CGColorSpaceRef, const std::vector<CGColorRef>& colors, const CGFloat* locations)
{
    std::vector<CGRGBA> rgba;
    for (CGColorRef color : colors) {
        if (!color || CGColorGetPattern(color)) return nullptr;
        rgba.push_back(CGColorToRGBA(color));
    }
    return makeGradient(std::move(rgba), locations);
}

CGGradientRef CGGradientCreateWithColorComponents(CGColorSpaceRef space, const CGFloat* components,
                                                  const CGFloat* locations, size_t count)
{
    size_t n = CGColorSpaceGetNumberOfComponents(space);
    if (!components || n == 0) return nullptr;
    std::vector<CGRGBA> rgba;
    for (size_t i = 0; i < count; ++i) {
        const CGFloat* c = components + i * (n + 1);
        rgba.push_back(n == 1 ? CGRGBA{c[0], c[0], c[0], c[1]} : CGRGBA{c[0], c[1], c[2], c[3]});
    }
    return makeGradient(std::move(rgba), locations);
}

CGGradientRef CGGradientRetain(CGGradientRef gradient)
{
    if (gradient) gradient->retain();
    return gradient;
}

void CGGradientRelease(CGGradientRef gradient)
{
    if (gradient) gradient->release();
}
