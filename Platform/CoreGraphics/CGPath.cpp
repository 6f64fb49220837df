#include "CoreGraphics/CGPath.h"

#include <algorithm>
#include <cmath>

#include "CGInternal.h"

namespace {

CGPoint apply(const CGAffineTransform* m, CGFloat x, CGFloat y)
{
    return m ? CGPointApplyAffineTransform({x, y}, *m) : CGPoint{x, y};
}

void push(CGMutablePathRef path, CGPathElementType type, std::initializer_list<CGPoint> points)
{
    CGPath::Element e{type, {}};
    std::copy(points.begin(), points.end(), e.points);
    path->elements.push_back(e);
    if (type == kCGPathElementCloseSubpath) {
        path->current = path->subpathStart;
        return;
    }
    path->current = *(points.end() - 1);
    if (type == kCGPathElementMoveToPoint) path->subpathStart = path->current;
    path->hasCurrent = true;
}

// Lines and curves need a subpath to extend; without one they start it at their first point.
void ensureCurrent(CGMutablePathRef path, CGPoint p)
{
    if (!path->hasCurrent) push(path, kCGPathElementMoveToPoint, {p});
}

// Appends an arc of the circle (cx, cy, r) from angle a0 through the signed sweep, as cubic
// pieces of at most a quarter turn each; the points pass through m afterwards.
void appendArc(CGMutablePathRef path, const CGAffineTransform* m, double cx, double cy, double r, double a0,
               double sweep, bool startWithLine)
{
    CGPoint start = apply(m, CGFloat(cx + r * std::cos(a0)), CGFloat(cy + r * std::sin(a0)));
    if (startWithLine && path->hasCurrent)
        push(path, kCGPathElementAddLineToPoint, {start});
    else
        push(path, kCGPathElementMoveToPoint, {start});
    int pieces = std::max(1, int(std::ceil(std::fabs(sweep) / (M_PI / 2) - 1e-9)));
    double step = sweep / pieces;
    double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < pieces; ++i) {
        double s = a0 + step * i, e = s + step;
        double x0 = cx + r * std::cos(s), y0 = cy + r * std::sin(s);
        double x3 = cx + r * std::cos(e), y3 = cy + r * std::sin(e);
        double x1 = x0 - k * r * std::sin(s), y1 = y0 + k * r * std::cos(s);
        double x2 = x3 + k * r * std::sin(e), y2 = y3 - k * r * std::cos(e);
        push(path, kCGPathElementAddCurveToPoint,
             {apply(m, CGFloat(x1), CGFloat(y1)), apply(m, CGFloat(x2), CGFloat(y2)), apply(m, CGFloat(x3), CGFloat(y3))});
    }
}

int pointCount(CGPathElementType type)
{
    switch (type) {
    case kCGPathElementMoveToPoint:
    case kCGPathElementAddLineToPoint: return 1;
    case kCGPathElementAddQuadCurveToPoint: return 2;
    case kCGPathElementAddCurveToPoint: return 3;
    case kCGPathElementCloseSubpath: return 0;
    }
    return 0;
}

}  // namespace

CGMutablePathRef CGPathCreateMutable() { return new CGPath; }

CGMutablePathRef CGPathCreateMutableCopy(CGPathRef path)
{
    if (!path) return nullptr;
    auto* copy = new CGPath;
    copy->elements = path->elements;
    copy->current = path->current;
    copy->subpathStart = path->subpathStart;
    copy->hasCurrent = path->hasCurrent;
    return copy;
}

CGPathRef CGPathCreateCopy(CGPathRef path) { return CGPathCreateMutableCopy(path); }

CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* m)
{
    CGMutablePathRef path = CGPathCreateMutable();
    CGPathAddRect(path, m, rect);
    return path;
}

CGPathRef CGPathCreateWithEllipseInRect(CGRect rect, const CGAffineTransform* m)
{
    CGMutablePathRef path = CGPathCreateMutable();
    CGPathAddEllipseInRect(path, m, rect);
    return path;
}

CGPathRef CGPathRetain(CGPathRef path)
{
    if (path) const_cast<CGPath*>(path)->retain();
    return path;
}

void CGPathRelease(CGPathRef path)
{
    if (path) const_cast<CGPath*>(path)->release();
}

void CGPathMoveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y)
{
    if (path) push(path, kCGPathElementMoveToPoint, {apply(m, x, y)});
}

void CGPathAddLineToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y)
{
    if (!path) return;
    CGPoint p = apply(m, x, y);
    ensureCurrent(path, p);
    push(path, kCGPathElementAddLineToPoint, {p});
}

void CGPathAddQuadCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cpx, CGFloat cpy, CGFloat x,
                               CGFloat y)
{
    if (!path) return;
    CGPoint cp = apply(m, cpx, cpy);
    ensureCurrent(path, cp);
    push(path, kCGPathElementAddQuadCurveToPoint, {cp, apply(m, x, y)});
}

void CGPathAddCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                           CGFloat cp2y, CGFloat x, CGFloat y)
{
    if (!path) return;
    CGPoint cp1 = apply(m, cp1x, cp1y);
    ensureCurrent(path, cp1);
    push(path, kCGPathElementAddCurveToPoint, {cp1, apply(m, cp2x, cp2y), apply(m, x, y)});
}

void CGPathCloseSubpath(CGMutablePathRef path)
{
    if (!path || !path->hasCurrent || path->elements.empty()) return;
    if (path->elements.back().type == kCGPathElementCloseSubpath) return;
    push(path, kCGPathElementCloseSubpath, {});
}

void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect)
{
    if (!path || CGRectIsNull(rect)) return;
    rect = CGRectStandardize(rect);
    CGFloat x0 = rect.origin.x, y0 = rect.origin.y;
    CGFloat x1 = x0 + rect.size.width, y1 = y0 + rect.size.height;
    push(path, kCGPathElementMoveToPoint, {apply(m, x0, y0)});
    push(path, kCGPathElementAddLineToPoint, {apply(m, x1, y0)});
    push(path, kCGPathElementAddLineToPoint, {apply(m, x1, y1)});
    push(path, kCGPathElementAddLineToPoint, {apply(m, x0, y1)});
    push(path, kCGPathElementCloseSubpath, {});
}

void CGPathAddEllipseInRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect)
{
    if (!path || CGRectIsNull(rect)) return;
    rect = CGRectStandardize(rect);
    double rx = rect.size.width * 0.5, ry = rect.size.height * 0.5;
    double cx = rect.origin.x + rx, cy = rect.origin.y + ry;
    // A unit circle scaled into the rectangle, then the caller's transform.
    CGAffineTransform t = CGAffineTransformMake(CGFloat(rx), 0, 0, CGFloat(ry), CGFloat(cx), CGFloat(cy));
    if (m) t = CGAffineTransformConcat(t, *m);
    appendArc(path, &t, 0, 0, 1, 0, 2 * M_PI, false);
    push(path, kCGPathElementCloseSubpath, {});
}

void CGPathAddArc(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y, CGFloat radius,
                  CGFloat startAngle, CGFloat endAngle, bool clockwise)
{
    if (!path) return;
    double sweep = double(endAngle) - double(startAngle);
    if (clockwise) {
        if (sweep > 0) sweep = std::fmod(sweep, 2 * M_PI) - 2 * M_PI;
        if (sweep < -2 * M_PI) sweep = -2 * M_PI;
    } else {
        if (sweep < 0) sweep = std::fmod(sweep, 2 * M_PI) + 2 * M_PI;
        if (sweep > 2 * M_PI) sweep = 2 * M_PI;
    }
    appendArc(path, m, x, y, radius, startAngle, sweep, true);
}

void CGPathAddArcToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x1, CGFloat y1, CGFloat x2,
                         CGFloat y2, CGFloat radius)
{
    if (!path) return;
    if (!path->hasCurrent) {
        CGPathMoveToPoint(path, m, x1, y1);
        return;
    }
    // The current point is stored transformed; the arc is built in the caller's space.
    CGPoint p0 = path->current;
    if (m) p0 = CGPointApplyAffineTransform(p0, CGAffineTransformInvert(*m));
    double ux = p0.x - x1, uy = p0.y - y1, vx = double(x2) - x1, vy = double(y2) - y1;
    double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    double cross = ux * vy - uy * vx;
    if (radius <= 0 || lu == 0 || lv == 0 || std::fabs(cross) < 1e-9 * lu * lv) {
        CGPathAddLineToPoint(path, m, x1, y1);
        return;
    }
    ux /= lu, uy /= lu, vx /= lv, vy /= lv;
    double angle = std::acos(std::clamp(ux * vx + uy * vy, -1.0, 1.0));  // between the two legs
    double tangent = radius / std::tan(angle / 2);
    double t1x = x1 + ux * tangent, t1y = y1 + uy * tangent;
    double t2x = x1 + vx * tangent, t2y = y1 + vy * tangent;
    double bx = ux + vx, by = uy + vy, lb = std::hypot(bx, by);
    double dist = radius / std::sin(angle / 2);
    double cx = x1 + bx / lb * dist, cy = y1 + by / lb * dist;
    double a0 = std::atan2(t1y - cy, t1x - cx), a1 = std::atan2(t2y - cy, t2x - cx);
    double sweep = a1 - a0;
    while (sweep > M_PI) sweep -= 2 * M_PI;
    while (sweep < -M_PI) sweep += 2 * M_PI;
    appendArc(path, m, cx, cy, radius, a0, sweep, true);
}

void CGPathAddPath(CGMutablePathRef path1, const CGAffineTransform* m, CGPathRef path2)
{
    if (!path1 || !path2) return;
    std::vector<CGPath::Element> elements = path2->elements;  // path2 may be path1
    for (const CGPath::Element& e : elements) {
        int n = pointCount(e.type);
        if (n == 0) {
            CGPathCloseSubpath(path1);
            continue;
        }
        CGPoint p[3];
        for (int i = 0; i < n; ++i) p[i] = apply(m, e.points[i].x, e.points[i].y);
        switch (e.type) {
        case kCGPathElementMoveToPoint: push(path1, e.type, {p[0]}); break;
        case kCGPathElementAddLineToPoint: push(path1, e.type, {p[0]}); break;
        case kCGPathElementAddQuadCurveToPoint: push(path1, e.type, {p[0], p[1]}); break;
        default: push(path1, e.type, {p[0], p[1], p[2]}); break;
        }
    }
}

bool CGPathIsEmpty(CGPathRef path) { return !path || path->elements.empty(); }
CGPoint CGPathGetCurrentPoint(CGPathRef path) { return path && path->hasCurrent ? path->current : CGPointZero; }

CGRect CGPathGetBoundingBox(CGPathRef path)
{
    if (CGPathIsEmpty(path)) return CGRectNull;
    CGFloat minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const CGPath::Element& e : path->elements)
        for (int i = 0; i < pointCount(e.type); ++i) {
            minX = std::min(minX, e.points[i].x);
            minY = std::min(minY, e.points[i].y);
            maxX = std::max(maxX, e.points[i].x);
            maxY = std::max(maxY, e.points[i].y);
        }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

bool CGPathEqualToPath(CGPathRef a, CGPathRef b)
{
    if (a == b) return true;
    if (!a || !b || a->elements.size() != b->elements.size()) return false;
    for (size_t i = 0; i < a->elements.size(); ++i) {
        const CGPath::Element &x = a->elements[i], &y = b->elements[i];
        if (x.type != y.type) return false;
        for (int k = 0; k < pointCount(x.type); ++k)
            if (!CGPointEqualToPoint(x.points[k], y.points[k])) return false;
    }
    return true;
}

void CGPathApply(CGPathRef path, void* info, CGPathApplierFunction function)
{
    if (!path || !function) return;
    for (const CGPath::Element& e : path->elements) {
        CGPathElement element{e.type, e.points};
        function(info, &element);
    }
}

void CGPathAppendToCairo(CGPathRef path, cairo_t* cr)
{
    if (!path) return;
    for (const CGPath::Element& e : path->elements) {
        const CGPoint* p = e.points;
        switch (e.type) {
        case kCGPathElementMoveToPoint: cairo_move_to(cr, p[0].x, p[0].y); break;
        case kCGPathElementAddLineToPoint: cairo_line_to(cr, p[0].x, p[0].y); break;
        case kCGPathElementAddQuadCurveToPoint: {
            double x0 = 0, y0 = 0;
            cairo_get_current_point(cr, &x0, &y0);
            cairo_curve_to(cr, x0 + 2.0 / 3 * (p[0].x - x0), y0 + 2.0 / 3 * (p[0].y - y0),
                           p[1].x + 2.0 / 3 * (p[0].x - p[1].x), p[1].y + 2.0 / 3 * (p[0].y - p[1].y), p[1].x, p[1].y);
            break;
        }
        case kCGPathElementAddCurveToPoint:
            cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
            break;
        case kCGPathElementCloseSubpath: cairo_close_path(cr); break;
        }
    }
}
