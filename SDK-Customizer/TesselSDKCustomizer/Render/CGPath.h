#pragma once
// An immutable path: move, line, cubic curve and close elements in user-space coordinates.

#include <memory>
#include <vector>

#include "Render/CGGeometry.h"

namespace customizer {

enum CGPathElementType {
    kCGPathElementMoveToPoint,
    kCGPathElementAddLineToPoint,
    kCGPathElementAddCurveToPoint,
    kCGPathElementCloseSubpath,
};

struct CGPathElement {
    CGPathElementType type;
    CGPoint points[3];  // move and line use the first; a curve: control 1, control 2, end
};

struct CGPath {
    std::vector<CGPathElement> elements;
};

using CGPathRef = std::shared_ptr<const CGPath>;

}  // namespace customizer
