#include "CoreGraphics/CGGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

const CGPoint CGPointZero{0, 0};
const CGSize CGSizeZero{0, 0};
const CGRect CGRectZero{{0, 0}, {0, 0}};
const CGRect CGRectNull{{std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};
const CGRect CGRectInfinite{{-FLT_MAX / 2, -FLT_MAX / 2}, {FLT_MAX, FLT_MAX}};

CGRect CGRectStandardize(CGRect r)
{
    if (CGRectIsNull(r)) return r;
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}

CGFloat CGRectGetMinX(CGRect r) { return CGRectStandardize(r).origin.x; }
CGFloat CGRectGetMinY(CGRect r) { return CGRectStandardize(r).origin.y; }
CGFloat CGRectGetWidth(CGRect r) { return std::fabs(r.size.width); }
CGFloat CGRectGetHeight(CGRect r) { return std::fabs(r.size.height); }

CGFloat CGRectGetMidX(CGRect r)
{
    r = CGRectStandardize(r);
    return r.origin.x + r.size.width * 0.5f;
}

CGFloat CGRectGetMidY(CGRect r)
{
    r = CGRectStandardize(r);
    return r.origin.y + r.size.height * 0.5f;
}

CGFloat CGRectGetMaxX(CGRect r)
{
    r = CGRectStandardize(r);
    return r.origin.x + r.size.width;
}

CGFloat CGRectGetMaxY(CGRect r)
{
    r = CGRectStandardize(r);
    return r.origin.y + r.size.height;
}

bool CGRectIsNull(CGRect r) { return std::isinf(r.origin.x) || std::isinf(r.origin.y); }
bool CGRectIsEmpty(CGRect r) { return CGRectIsNull(r) || r.size.width == 0 || r.size.height == 0; }

bool CGRectIsInfinite(CGRect r)
{
    return r.origin.x == CGRectInfinite.origin.x && r.origin.y == CGRectInfinite.origin.y &&
           r.size.width == CGRectInfinite.size.width && r.size.height == CGRectInfinite.size.height;
}

bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a.x == b.x && a.y == b.y; }
bool CGSizeEqualToSize(CGSize a, CGSize b) { return a.width == b.width && a.height == b.height; }

bool CGRectEqualToRect(CGRect a, CGRect b)
{
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectIsNull(a) && CGRectIsNull(b);
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    return CGPointEqualToPoint(a.origin, b.origin) && CGSizeEqualToSize(a.size, b.size);
}

CGRect CGRectIntegral(CGRect r)
{
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    CGFloat minX = std::floor(r.origin.x), minY = std::floor(r.origin.y);
    CGFloat maxX = std::ceil(r.origin.x + r.size.width), maxY = std::ceil(r.origin.y + r.size.height);
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy)
{
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0) return CGRectNull;
    return r;
}

CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy)
{
    if (CGRectIsNull(r)) return r;
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}

CGRect CGRectUnion(CGRect a, CGRect b)
{
    if (CGRectIsNull(a)) return CGRectStandardize(b);
    if (CGRectIsNull(b)) return CGRectStandardize(a);
    CGFloat minX = std::min(CGRectGetMinX(a), CGRectGetMinX(b));
    CGFloat minY = std::min(CGRectGetMinY(a), CGRectGetMinY(b));
    CGFloat maxX = std::max(CGRectGetMaxX(a), CGRectGetMaxX(b));
    CGFloat maxY = std::max(CGRectGetMaxY(a), CGRectGetMaxY(b));
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

CGRect CGRectIntersection(CGRect a, CGRect b)
{
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectNull;
    CGFloat minX = std::max(CGRectGetMinX(a), CGRectGetMinX(b));
    CGFloat minY = std::max(CGRectGetMinY(a), CGRectGetMinY(b));
    CGFloat maxX = std::min(CGRectGetMaxX(a), CGRectGetMaxX(b));
    CGFloat maxY = std::min(CGRectGetMaxY(a), CGRectGetMaxY(b));
    if (maxX < minX || maxY < minY) return CGRectNull;
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

bool CGRectIntersectsRect(CGRect a, CGRect b) { return !CGRectIsEmpty(CGRectIntersection(a, b)); }

bool CGRectContainsPoint(CGRect r, CGPoint p)
{
    if (CGRectIsNull(r)) return false;
    return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) && p.y < CGRectGetMaxY(r);
}

bool CGRectContainsRect(CGRect outer, CGRect inner)
{
    if (CGRectIsNull(outer) || CGRectIsNull(inner)) return false;
    return CGRectEqualToRect(CGRectUnion(outer, inner), CGRectStandardize(outer));
}

void CGRectDivide(CGRect r, CGRect* slice, CGRect* remainder, CGFloat amount, CGRectEdge edge)
{
    CGRect s = CGRectNull, rest = CGRectNull;
    if (!CGRectIsNull(r)) {
        r = CGRectStandardize(r);
        s = rest = r;
        bool horizontal = edge == CGRectMinXEdge || edge == CGRectMaxXEdge;
        CGFloat extent = horizontal ? r.size.width : r.size.height;
        amount = std::clamp(amount, CGFloat(0), extent);
        switch (edge) {
        case CGRectMinXEdge:
            s.size.width = amount;
            rest.origin.x += amount;
            rest.size.width -= amount;
            break;
        case CGRectMaxXEdge:
            s.origin.x += extent - amount;
            s.size.width = amount;
            rest.size.width -= amount;
            break;
        case CGRectMinYEdge:
            s.size.height = amount;
            rest.origin.y += amount;
            rest.size.height -= amount;
            break;
        case CGRectMaxYEdge:
            s.origin.y += extent - amount;
            s.size.height = amount;
            rest.size.height -= amount;
            break;
        }
    }
    if (slice) *slice = s;
    if (remainder) *remainder = rest;
}
