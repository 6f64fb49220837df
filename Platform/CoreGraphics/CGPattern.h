#pragma once
// Coloured patterns: a cell drawn by a callback and repeated every (xStep, yStep) in pattern
// space, which maps to the context's base space through `matrix`.

#include "CoreGraphics/CGAffineTransform.h"

struct CGContext;
typedef CGContext* CGContextRef;
struct CGPattern;
typedef CGPattern* CGPatternRef;

enum CGPatternTiling {
    kCGPatternTilingNoDistortion = 0,
    kCGPatternTilingConstantSpacingMinimalDistortion = 1,
    kCGPatternTilingConstantSpacing = 2,
};

typedef void (*CGPatternDrawPatternCallback)(void* info, CGContextRef context);
typedef void (*CGPatternReleaseInfoCallback)(void* info);

struct CGPatternCallbacks {
    unsigned int version = 0;
    CGPatternDrawPatternCallback drawPattern = nullptr;
    CGPatternReleaseInfoCallback releaseInfo = nullptr;
};

// Only coloured patterns (isColored true) are drawn; an uncoloured one is refused (null).
CGPatternRef CGPatternCreate(void* info, CGRect bounds, CGAffineTransform matrix, CGFloat xStep, CGFloat yStep,
                             CGPatternTiling tiling, bool isColored, const CGPatternCallbacks* callbacks);
CGPatternRef CGPatternRetain(CGPatternRef pattern);
void CGPatternRelease(CGPatternRef pattern);
