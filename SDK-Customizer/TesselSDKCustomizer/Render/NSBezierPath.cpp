#include "Render/NSBezierPath.h"

#include <algorithm>
#include <cmath>

namespace customizer {
namespace {

// Control-point distance of a cubic quarter circle, as a fraction of its radius.
constexpr CGFloat kQuarterArc = 0.5522847498;

}  // namespace

NSBezierPath NSBezierPath::bezierPathWithRoundedRect(CGRect rect, CGFloat xRadius, CGFloat yRadius)
{
    NSBezierPath path;
    CGFloat minX = CGRectGetMinX(rect), maxX = CGRectGetMaxX(rect), minY = CGRectGetMinY(rect), maxY = CGRectGetMaxY(rect);
    CGFloat rx = std::clamp(xRadius, 0.0, CGRectGetWidth(rect) / 2);
    CGFloat ry = std::clamp(yRadius, 0.0, CGRectGetHeight(rect) / 2);
    if (!(rx > 0 && ry > 0)) {
        path.moveToPoint({minX, minY});
        path.lineToPoint({maxX, minY});
        path.lineToPoint({maxX, maxY});
        path.lineToPoint({minX, maxY});
        path.closePath();
        return path;
    }
    CGFloat kx = rx * kQuarterArc, ky = ry * kQuarterArc;
    path.moveToPoint({minX + rx, minY});
    path.lineToPoint({maxX - rx, minY});
    path.curveToPoint({maxX, minY + ry}, {maxX - rx + kx, minY}, {maxX, minY + ry - ky});
    path.lineToPoint({maxX, maxY - ry});
    path.curveToPoint({maxX - rx, maxY}, {maxX, maxY - ry + ky}, {maxX - rx + kx, maxY});
    path.lineToPoint({minX + rx, maxY});
    path.curveToPoint({minX, maxY - ry}, {minX + rx - kx, maxY}, {minX, maxY - ry + ky});
    path.lineToPoint({minX, minY + ry});
    path.curveToPoint({minX + rx, minY}, {minX, minY + ry - ky}, {minX + rx - kx, minY});
    path.closePath();
    return path;
}

void NSBezierPath::moveToPoint(CGPoint point) { elements_.push_back({NSMoveToBezierPathElement, {point}}); }

void NSBezierPath::lineToPoint(CGPoint point) { elements_.push_back({NSLineToBezierPathElement, {point}}); }

void NSBezierPath::curveToPoint(CGPoint endPoint, CGPoint controlPoint1, CGPoint controlPoint2)
{
    elements_.push_back({NSCurveToBezierPathElement, {controlPoint1, controlPoint2, endPoint}});
}

void NSBezierPath::closePath() { elements_.push_back({NSClosePathBezierPathElement, {}}); }

NSBezierPathElement NSBezierPath::elementAtIndex(size_t index, CGPoint points[3]) const
{
    const Element& e = elements_.at(index);
    if (points) std::copy(std::begin(e.points), std::end(e.points), points);
    return e.type;
}

CGPathRef NSBezierPath::QZ_quartzPath() const
{
    if (elements_.empty()) return nullptr;
    auto path = std::make_shared<CGPath>();
    bool closed = true;  // nothing drawn yet counts as closed
    for (const Element& e : elements_) {
        switch (e.type) {
        case NSMoveToBezierPathElement:
            path->elements.push_back({kCGPathElementMoveToPoint, {e.points[0]}});
            break;
        case NSLineToBezierPathElement:
            path->elements.push_back({kCGPathElementAddLineToPoint, {e.points[0]}});
            closed = false;
            break;
        case NSCurveToBezierPathElement:
            path->elements.push_back({kCGPathElementAddCurveToPoint, {e.points[0], e.points[1], e.points[2]}});
            closed = false;
            break;
        case NSClosePathBezierPathElement:
            path->elements.push_back({kCGPathElementCloseSubpath, {}});
            closed = true;
            break;
        }
    }
    if (!closed) path->elements.push_back({kCGPathElementCloseSubpath, {}});
    return path;
}

}  // namespace customizer
