#pragma once
// Where a brush stroke's dabs go: the touch points joined by quadratic curves through their
// midpoints, with dabs at most maxSeparation mask pixels apart. Points in and out are relative to
// the image (0..1); the spacing is worked out in single-precision mask pixels.

#include "CoreGraphics/CGGeometry.h"

#include <cstddef>
#include <vector>

// From p0 toward the midpoint of p0 and p1, ending on the midpoint.
void QZBrushAddBeginningLineSegment(CGPoint p0, CGPoint p1, float maxSeparation, std::vector<CGPoint>& points,
                                    CGSize maskSize);
// The curve from the midpoint of p1 and p2 to that of p2 and p3, p2 the control point.
void QZBrushAddBezierQuadCurve(CGPoint p1, CGPoint p2, CGPoint p3, float maxSeparation, std::vector<CGPoint>& points,
                               CGSize maskSize);
// From the midpoint of previous and last to last, ending on last.
void QZBrushAddEndingLineSegment(CGPoint previous, CGPoint last, float maxSeparation, std::vector<CGPoint>& points,
                                 CGSize maskSize);

// The dabs of touch points startIndex..end: point 0 itself, the beginning segment at index 1, a
// curve at every later index, followed by the ending segment at a complete stroke's last index.
std::vector<CGPoint> QZBrushStrokeDabPoints(const std::vector<CGPoint>& touches, std::size_t startIndex,
                                            bool isComplete, float maxSeparation, CGSize maskSize);
