#pragma once
// The geometry and gradient functions the generators share with the editor's drawing code,
// built here in double precision over the customizer's current context.

#include "Render/CGGeometry.h"
#include "Render/CGGradient.h"

namespace customizer {

enum QZLinearGradientDirection {
    QZLinearGradientDirectionHorizontal = 0,
    QZLinearGradientDirectionVertical = 1,
};

// The rectangle at the origin with that size.
inline CGRect QZCGRectWithSize(CGSize size) { return CGRectMake(0, 0, size.width, size.height); }

// Into the current context: horizontally from (minX, minY) to (maxX, minY), vertically from
// (minX, minY) to (minX, maxY), over the whole clip region; the options as for
// CGContext::drawLinearGradient. Nothing without a current context or for another direction.
void QZDrawLinearGradientInRectWithOptions(const CGGradient& gradient, CGRect rect, QZLinearGradientDirection direction,
                                           unsigned options);
// With both ends extended (options 3).
void QZDrawLinearGradientInRect(const CGGradient& gradient, CGRect rect, QZLinearGradientDirection direction);

}  // namespace customizer
