#pragma once
// Paths built point by point (move, line, curve, close) or as a rounded rectangle, turned into
// a CGPath for drawing with QZ_quartzPath.

#include <vector>

#include "Render/CGPath.h"

namespace customizer {

enum NSBezierPathElement {
    NSMoveToBezierPathElement,
    NSLineToBezierPathElement,
    NSCurveToBezierPathElement,
    NSClosePathBezierPathElement,
};

class NSBezierPath {
public:
    // Radii are clamped to half the width and half the height; a rectangle with zero radii is
    // a plain rectangle. Corners run counterclockwise in a y-up space from the bottom-left.
    static NSBezierPath bezierPathWithRoundedRect(CGRect rect, CGFloat xRadius, CGFloat yRadius);

    void moveToPoint(CGPoint point);
    void lineToPoint(CGPoint point);
    void curveToPoint(CGPoint endPoint, CGPoint controlPoint1, CGPoint controlPoint2);
    void closePath();

    size_t elementCount() const { return elements_.size(); }
    // The element's kind and its points (one for move and line; control 1, control 2 and end
    // for a curve; none for close).
    NSBezierPathElement elementAtIndex(size_t index, CGPoint points[3]) const;

    // The path as a CGPath, null when it has no elements. A last subpath left open is closed;
    // one already closed is not closed twice.
    CGPathRef QZ_quartzPath() const;

private:
    struct Element {
        NSBezierPathElement type;
        CGPoint points[3];
    };
    std::vector<Element> elements_;
};

}  // namespace customizer
