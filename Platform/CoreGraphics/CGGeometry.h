#pragma once
// Points, sizes and rectangles in points, with the platform's rules: rectangles are standardised
// (negative sizes flipped) by every getter, the null rectangle has an infinite origin, and all
// arithmetic is single precision.

#include "CoreGraphics/CGBase.h"

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
};

enum CGRectEdge { CGRectMinXEdge = 0, CGRectMinYEdge = 1, CGRectMaxXEdge = 2, CGRectMaxYEdge = 3 };

extern const CGPoint CGPointZero;
extern const CGSize CGSizeZero;
extern const CGRect CGRectZero;
extern const CGRect CGRectNull;
extern const CGRect CGRectInfinite;

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return CGPoint{x, y}; }
inline CGSize CGSizeMake(CGFloat w, CGFloat h) { return CGSize{w, h}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) { return CGRect{{x, y}, {w, h}}; }

CGRect CGRectStandardize(CGRect r);
CGFloat CGRectGetMinX(CGRect r);
CGFloat CGRectGetMidX(CGRect r);
CGFloat CGRectGetMaxX(CGRect r);
CGFloat CGRectGetMinY(CGRect r);
CGFloat CGRectGetMidY(CGRect r);
CGFloat CGRectGetMaxY(CGRect r);
CGFloat CGRectGetWidth(CGRect r);
CGFloat CGRectGetHeight(CGRect r);

bool CGRectIsNull(CGRect r);
bool CGRectIsEmpty(CGRect r);
bool CGRectIsInfinite(CGRect r);
bool CGPointEqualToPoint(CGPoint a, CGPoint b);
bool CGSizeEqualToSize(CGSize a, CGSize b);
bool CGRectEqualToRect(CGRect a, CGRect b);

// Origin rounded down and far corner rounded up: the smallest whole-pixel rectangle that
// contains the argument. The null rectangle stays null.
CGRect CGRectIntegral(CGRect r);
// Shrinks by dx on the left and right and dy on top and bottom; the null rectangle when the
// result would have a negative size.
CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy);
CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy);
CGRect CGRectUnion(CGRect a, CGRect b);
// The null rectangle when the two do not overlap.
CGRect CGRectIntersection(CGRect a, CGRect b);
bool CGRectIntersectsRect(CGRect a, CGRect b);
// Half-open: the min edges are inside, the max edges are not.
bool CGRectContainsPoint(CGRect r, CGPoint p);
bool CGRectContainsRect(CGRect outer, CGRect inner);
// Cuts `amount` off the given edge into *slice and leaves the rest in *remainder.
void CGRectDivide(CGRect r, CGRect* slice, CGRect* remainder, CGFloat amount, CGRectEdge edge);
