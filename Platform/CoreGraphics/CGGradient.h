#pragma once
// Gradients: colour stops at locations 0..1, converted to RGBA when created.

#include <vector>

#include "CoreGraphics/CGColor.h"

struct CGGradient;
typedef CGGradient* CGGradientRef;

enum CGGradientDrawingOptions : uint32_t {
    kCGGradientDrawsBeforeStartLocation = 1,
    kCGGradientDrawsAfterEndLocation = 2,
};

// `locations` may be null: the colours are then spread evenly from 0 to 1. Pattern colours and an
// empty list give null.
CGGradientRef CGGradientCreateWithColors(CGColorSpaceRef space, const std::vector<CGColorRef>& colors,
                                         const CGFloat* locations);
// `components` holds count colours of the space's components plus alpha.
CGGradientRef CGGradientCreateWithColorComponents(CGColorSpaceRef space, const CGFloat* components,
                                                  const CGFloat* locations, size_t count);
CGGradientRef CGGradientRetain(CGGradientRef gradient);
void CGGradientRelease(CGGradientRef gradient);
