#pragma once
// Rectangle, size, point and line geometry in points, and orientation transforms. Single
// precision throughout (CGFloat is float), except QZCGLineLength. No state: safe on any queue.

#include "CoreGraphics/CGAffineTransform.h"
#include "Foundation/NSObjCRuntime.h"
#include "UIKit/UIGeometry.h"
#include "UIKit/UIImage.h"

// Corners of a rectangle in UIKit coordinates: "top" is the minimum y.
enum QZCGRectCorner : NSUInteger {
    QZCGRectTopLeftCorner = 1,
    QZCGRectTopRightCorner = 2,
    QZCGRectBottomRightCorner = 4,
    QZCGRectBottomLeftCorner = 8,
};

// A segment, also read as the infinite line through both points.
struct QZCGLine {
    CGPoint p1;
    CGPoint p2;
};

// Autoresizing masks (flexible left 1, width 2, right 4, top 8, height 16, bottom 32).
inline constexpr NSUInteger QZUIViewAutoresizingFlexibleMargins = 45;
inline constexpr NSUInteger QZUIViewAutoresizingFlexibleDimensions = 18;
inline constexpr NSUInteger QZUIViewAutoresizingPositionTopLeft = 36;
inline constexpr NSUInteger QZUIViewAutoresizingPositionTopRight = 33;
inline constexpr NSUInteger QZUIViewAutoresizingPositionBottomLeft = 12;
inline constexpr NSUInteger QZUIViewAutoresizingPositionBottomRight = 9;
// Animations allow user interaction.
inline constexpr NSUInteger QZUIViewAnimateDefaultOptions = 2;

UIEdgeInsets QZUIEdgeInsetsScale(UIEdgeInsets insets, CGFloat scale);
UIEdgeInsets QZSquareUIEdgeInsets(CGFloat side);

// Any corner value but the four single bits gives (FLT_MIN, FLT_MIN).
CGPoint QZCGRectGetCorner(CGRect rect, QZCGRectCorner corner);
CGPoint QZCGRectGetTopLeft(CGRect rect);
CGPoint QZCGRectGetTopRight(CGRect rect);
CGPoint QZCGRectGetBottomRight(CGRect rect);
CGPoint QZCGRectGetBottomLeft(CGRect rect);
// frame's size moved so that its anchor corner lies on the same corner of bounds; the far
// corners round with ceil of the bounds' edge less floor of the frame's size. Any other anchor
// gives CGRectNull.
CGRect QZCGRectAlignInRect(CGRect frame, CGRect bounds, QZCGRectCorner anchor);
CGRect QZCGRectWithSize(CGSize size);
CGRect QZCGRectCenterInRectIntegral(CGRect frame, CGRect bounds, bool integral);
CGRect QZCGRectCenterInRect(CGRect frame, CGRect bounds);
CGPoint QZCGRectGetCenter(CGRect rect);
// Origin kept, width and height scaled.
CGRect QZCGRectScale(CGRect rect, CGFloat scale);
CGRect QZCGRectWithOriginAndSize(CGPoint origin, CGSize size);
CGRect QZCGRectWithCenterAndSize(CGPoint center, CGSize size);
// Origin (0, 0), the inner size grown by the insets.
CGRect QZCGRectBoundsForInnerRectAndInsets(CGRect inner, UIEdgeInsets insets);
CGSize QZCGSizeScale(CGSize size, CGFloat scale);
// Aspect fit of size into otherSize. The factor is written through `scale` when given; a factor
// that is not a finite number (a zero size) is 0.
CGSize QZCGSizeScaleProportionalToSize(CGSize size, CGSize otherSize, CGFloat* scale);
// Aspect fit that never enlarges: each ratio is capped at 1 first; NaN becomes 0.
CGSize QZCGSizeScaleToMaxSize(CGSize size, CGSize maxSize, CGFloat* scale);

CGFloat QZCGPointDistanceToPoint(CGPoint p1, CGPoint p2);
CGPoint QZCGPointGetTranslation(CGPoint src, CGPoint dst);
CGPoint QZCGPointTranslate(CGPoint p1, CGPoint translation);
// Both coordinates rounded half away from zero.
CGPoint QZCGPointRounded(CGPoint point);
QZCGLine QZCGLineWithMidPointLengthAndAngle(CGPoint midPoint, CGFloat length, CGFloat angle);
// Unknown edge values give the zero line.
QZCGLine QZCGLineFromCGRectEdge(CGRect rect, CGRectEdge edge);
// Intersection of the two infinite lines (the segments' extents are ignored), written through
// `point`. NO for parallel lines and for a line whose two points coincide (no direction).
bool QZCGLineIntersection(QZCGLine l1, QZCGLine l2, CGPoint* point);
// Computed in double precision.
CGFloat QZCGLineLength(QZCGLine line);

// Rotations and mirrors that show an image of the orientation upright; identity for unknown values.
CGAffineTransform QZCGAffineTransformForOrientation(UIImageOrientation orientation);
// The first orientation (0 to 7) whose transform matches, else Up. Matching allows for the
// rounding of cos and sin at quarter turns (a difference below 1e-5 in every entry).
UIImageOrientation QZUIImageOrientationForTransform(CGAffineTransform transform);
