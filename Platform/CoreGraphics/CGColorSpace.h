#pragma once
// Colour spaces: device grey (one component plus alpha), device RGB (three plus alpha) and
// pattern spaces. Colours keep their space, so grey colours report two components.

#include "CoreGraphics/CGBase.h"

struct CGColorSpace;
typedef CGColorSpace* CGColorSpaceRef;

enum CGColorSpaceModel {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
    kCGColorSpaceModelPattern = 6,
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceCreateDeviceGray();
// baseSpace is null for coloured patterns (the only kind this layer draws).
CGColorSpaceRef CGColorSpaceCreatePattern(CGColorSpaceRef baseSpace);
CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
void CGColorSpaceRelease(CGColorSpaceRef space);
// Colour components without alpha: 1 for grey, 3 for RGB, 0 for a coloured pattern space.
size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space);
CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space);
