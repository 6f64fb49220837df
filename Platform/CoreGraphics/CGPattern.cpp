#include "CoreGraphics/CGPattern.h"

#include "CGInternal.h"

CGPattern::~CGPattern()
{
    if (cell) cairo_surface_destroy(cell);
    if (callbacks.releaseInfo) callbacks.releaseInfo(info);
}

CGPatternRef CGPatternCreate(void* info, CGRect bounds, CGAffineTransform matrix, CGFloat xStep, CGFloat yStep,
                             CGPatternTiling, bool isColored, const CGPatternCallbacks* callbacks)
{
    if (!isColored || !callbacks || !callbacks->drawPattern || CGRectIsEmpty(bounds)) return nullptr;
    auto* pattern = new CGPattern;
    pattern->info = info;
    pattern->bounds = CGRectStandardize(bounds);
    pattern->matrix = matrix;
    pattern->xStep = xStep;
    pattern->yStep = yStep;
    pattern->callbacks = *callbacks;
    return pattern;
}

CGPatternRef CGPatternRetain(CGPatternRef pattern)
{
    if (pattern) pattern->retain();
    return pattern;
}

void CGPatternRelease(CGPatternRef pattern)
{
    if (pattern) pattern->release();
}
