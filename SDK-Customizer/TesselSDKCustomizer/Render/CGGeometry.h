#pragma once
// Points, sizes and rectangles of the customizer's drawing, in double precision (the editor's
// geometry is single precision; the two never meet, the customizer has its own namespace).

#include <algorithm>
#include <cmath>

namespace customizer {

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
inline CGSize CGSizeMake(CGFloat width, CGFloat height) { return {width, height}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) { return {{x, y}, {width, height}}; }

inline CGFloat CGRectGetMinX(CGRect r) { return std::min(r.origin.x, r.origin.x + r.size.width); }
inline CGFloat CGRectGetMaxX(CGRect r) { return std::max(r.origin.x, r.origin.x + r.size.width); }
inline CGFloat CGRectGetMinY(CGRect r) { return std::min(r.origin.y, r.origin.y + r.size.height); }
inline CGFloat CGRectGetMaxY(CGRect r) { return std::max(r.origin.y, r.origin.y + r.size.height); }
inline CGFloat CGRectGetMidX(CGRect r) { return r.origin.x + r.size.width / 2; }
inline CGFloat CGRectGetMidY(CGRect r) { return r.origin.y + r.size.height / 2; }
inline CGFloat CGRectGetWidth(CGRect r) { return std::fabs(r.size.width); }
inline CGFloat CGRectGetHeight(CGRect r) { return std::fabs(r.size.height); }
inline bool CGRectIsEmpty(CGRect r) { return !(r.size.width != 0 && r.size.height != 0); }

// Each side moved inwards by dx or dy (outwards when negative); a rectangle too small for the
// inset shrinks to its centre point.
inline CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy)
{
    CGFloat width = CGRectGetWidth(r) - 2 * dx, height = CGRectGetHeight(r) - 2 * dy;
    if (!(width >= 0 && height >= 0)) return CGRectMake(CGRectGetMidX(r), CGRectGetMidY(r), 0, 0);
    return CGRectMake(CGRectGetMinX(r) + dx, CGRectGetMinY(r) + dy, width, height);
}

}  // namespace customizer
