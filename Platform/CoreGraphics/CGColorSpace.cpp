#include "CoreGraphics/CGColorSpace.h"

#include "CGInternal.h"

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return new CGColorSpace(kCGColorSpaceModelRGB); }
CGColorSpaceRef CGColorSpaceCreateDeviceGray() { return new CGColorSpace(kCGColorSpaceModelMonochrome); }
CGColorSpaceRef CGColorSpaceCreatePattern(CGColorSpaceRef) { return new CGColorSpace(kCGColorSpaceModelPattern); }

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space)
{
    if (space) space->retain();
    return space;
}

void CGColorSpaceRelease(CGColorSpaceRef space)
{
    if (space) space->release();
}

size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space)
{
    if (!space) return 0;
    switch (space->model) {
    case kCGColorSpaceModelMonochrome: return 1;
    case kCGColorSpaceModelRGB: return 3;
    default: return 0;
    }
}

CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space) { return space ? space->model : kCGColorSpaceModelUnknown; }
