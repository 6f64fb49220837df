#pragma once
// Paths: subpaths of lines and Bezier curves, built in user coordinates with an optional
// transform per call. Arcs are stored as cubic curves, so every element is a list of points.

#include <functional>

#include "CoreGraphics/CGAffineTransform.h"

struct CGPath;
typedef const CGPath* CGPathRef;
typedef CGPath* CGMutablePathRef;

enum CGPathElementType {
    kCGPathElementMoveToPoint = 0,
    kCGPathElementAddLineToPoint = 1,
    kCGPathElementAddQuadCurveToPoint = 2,
    kCGPathElementAddCurveToPoint = 3,
    kCGPathElementCloseSubpath = 4,
};

struct CGPathElement {
    CGPathElementType type;
    const CGPoint* points;
};

typedef void (*CGPathApplierFunction)(void* info, const CGPathElement* element);

CGMutablePathRef CGPathCreateMutable();
CGPathRef CGPathCreateCopy(CGPathRef path);
CGMutablePathRef CGPathCreateMutableCopy(CGPathRef path);
CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* m);
CGPathRef CGPathCreateWithEllipseInRect(CGRect rect, const CGAffineTransform* m);
CGPathRef CGPathRetain(CGPathRef path);
void CGPathRelease(CGPathRef path);

void CGPathMoveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y);
// Lines and curves without a current point start a subpath at their first point.
void CGPathAddLineToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y);
void CGPathAddQuadCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cpx, CGFloat cpy, CGFloat x,
                               CGFloat y);
void CGPathAddCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                           CGFloat cp2y, CGFloat x, CGFloat y);
void CGPathCloseSubpath(CGMutablePathRef path);
void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect);
void CGPathAddEllipseInRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect);
// Arc of the circle (x, y, radius) from startAngle to endAngle; `clockwise` in the path's own
// (y-up) sense: true runs towards decreasing angles.
void CGPathAddArc(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y, CGFloat radius,
                  CGFloat startAngle, CGFloat endAngle, bool clockwise);
// A line from the current point towards (x1, y1), then the arc of the given radius tangent to
// both (current point, (x1, y1)) and ((x1, y1), (x2, y2)). Collinear points or a zero radius
// give a line to (x1, y1).
void CGPathAddArcToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x1, CGFloat y1, CGFloat x2,
                         CGFloat y2, CGFloat radius);
void CGPathAddPath(CGMutablePathRef path1, const CGAffineTransform* m, CGPathRef path2);

bool CGPathIsEmpty(CGPathRef path);
CGPoint CGPathGetCurrentPoint(CGPathRef path);
// The box of every point of the path, control points included; CGRectNull for an empty path.
CGRect CGPathGetBoundingBox(CGPathRef path);
bool CGPathEqualToPath(CGPathRef a, CGPathRef b);
void CGPathApply(CGPathRef path, void* info, CGPathApplierFunction function);
