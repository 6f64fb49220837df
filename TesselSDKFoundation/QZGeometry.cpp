#include "TesselSDKFoundation/QZGeometry.h"

#include <cfloat>
#include <cmath>

UIEdgeInsets QZUIEdgeInsetsScale(UIEdgeInsets insets, CGFloat scale)
{
    return UIEdgeInsetsMake(insets.top * scale, insets.left * scale, insets.bottom * scale, insets.right * scale);
}

UIEdgeInsets QZSquareUIEdgeInsets(CGFloat side) { return UIEdgeInsetsMake(side, side, side, side); }

CGPoint QZCGRectGetCorner(CGRect rect, QZCGRectCorner corner)
{
    switch (corner) {
    case QZCGRectTopLeftCorner: return CGPointMake(CGRectGetMinX(rect), CGRectGetMinY(rect));
    case QZCGRectTopRightCorner: return CGPointMake(CGRectGetMaxX(rect), CGRectGetMinY(rect));
    case QZCGRectBottomRightCorner: return CGPointMake(CGRectGetMaxX(rect), CGRectGetMaxY(rect));
    case QZCGRectBottomLeftCorner: return CGPointMake(CGRectGetMinX(rect), CGRectGetMaxY(rect));
    }
    return CGPointMake(FLT_MIN, FLT_MIN);
}

CGPoint QZCGRectGetTopLeft(CGRect rect) { return QZCGRectGetCorner(rect, QZCGRectTopLeftCorner); }
CGPoint QZCGRectGetTopRight(CGRect rect) { return QZCGRectGetCorner(rect, QZCGRectTopRightCorner); }
CGPoint QZCGRectGetBottomRight(CGRect rect) { return QZCGRectGetCorner(rect, QZCGRectBottomRightCorner); }
CGPoint QZCGRectGetBottomLeft(CGRect rect) { return QZCGRectGetCorner(rect, QZCGRectBottomLeftCorner); }

CGRect QZCGRectAlignInRect(CGRect frame, CGRect bounds, QZCGRectCorner anchor)
{
    CGFloat farX = std::ceil(CGRectGetMaxX(bounds)) - std::floor(frame.size.width);
    CGFloat farY = std::ceil(CGRectGetMaxY(bounds)) - std::floor(frame.size.height);
    CGPoint origin;
    switch (anchor) {
    case QZCGRectTopLeftCorner: origin = CGPointMake(CGRectGetMinX(bounds), CGRectGetMinY(bounds)); break;
    case QZCGRectTopRightCorner: origin = CGPointMake(farX, CGRectGetMinY(bounds)); break;
    case QZCGRectBottomRightCorner: origin = CGPointMake(farX, farY); break;
    case QZCGRectBottomLeftCorner: origin = CGPointMake(CGRectGetMinX(bounds), farY); break;
    default: return CGRectNull;
    }
    return CGRect{origin, frame.size};
}

CGRect QZCGRectWithSize(CGSize size) { return CGRect{CGPointZero, size}; }

CGRect QZCGRectCenterInRectIntegral(CGRect frame, CGRect bounds, bool integral)
{
    CGRect r = CGRectMake(CGRectGetMidX(bounds) - frame.size.width * 0.5f, CGRectGetMidY(bounds) - frame.size.height * 0.5f,
                          frame.size.width, frame.size.height);
    return integral ? CGRectIntegral(r) : r;
}

CGRect QZCGRectCenterInRect(CGRect frame, CGRect bounds) { return QZCGRectCenterInRectIntegral(frame, bounds, false); }
CGPoint QZCGRectGetCenter(CGRect rect) { return CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect)); }

CGRect QZCGRectScale(CGRect rect, CGFloat scale)
{
    return CGRectMake(CGRectGetMinX(rect), CGRectGetMinY(rect), CGRectGetWidth(rect) * scale, CGRectGetHeight(rect) * scale);
}

CGRect QZCGRectWithOriginAndSize(CGPoint origin, CGSize size) { return CGRect{origin, size}; }

CGRect QZCGRectWithCenterAndSize(CGPoint center, CGSize size)
{
    return CGRectMake(center.x - size.width * 0.5f, center.y - size.height * 0.5f, size.width, size.height);
}

CGRect QZCGRectBoundsForInnerRectAndInsets(CGRect inner, UIEdgeInsets insets)
{
    return CGRectMake(0, 0, inner.size.width + insets.left + insets.right, inner.size.height + insets.top + insets.bottom);
}

CGSize QZCGSizeScale(CGSize size, CGFloat scale) { return CGSizeMake(size.width * scale, size.height * scale); }

CGSize QZCGSizeScaleProportionalToSize(CGSize size, CGSize otherSize, CGFloat* scale)
{
    CGFloat wr = otherSize.width / size.width, hr = otherSize.height / size.height;
    CGFloat factor = wr < hr ? wr : hr;
    // A zero size gives an infinite factor (or NaN), and infinity times zero is NaN again:
    // neither is a usable scale.
    if (!std::isfinite(factor)) factor = 0;
    if (scale) *scale = factor;
    return QZCGSizeScale(size, factor);
}

CGSize QZCGSizeScaleToMaxSize(CGSize size, CGSize maxSize, CGFloat* scale)
{
    CGFloat wr = maxSize.width / size.width, hr = maxSize.height / size.height;
    if (wr > 1) wr = 1;
    if (hr > 1) hr = 1;
    CGFloat factor = wr < hr ? wr : hr;
    if (std::isnan(factor)) factor = 0;
    if (scale) *scale = factor;
    return QZCGSizeScale(size, factor);
}

CGFloat QZCGPointDistanceToPoint(CGPoint p1, CGPoint p2)
{
    CGFloat dx = p2.x - p1.x, dy = p2.y - p1.y;
    return std::sqrt(dx * dx + dy * dy);
}

CGPoint QZCGPointGetTranslation(CGPoint src, CGPoint dst) { return CGPointMake(dst.x - src.x, dst.y - src.y); }
CGPoint QZCGPointTranslate(CGPoint p1, CGPoint t) { return CGPointMake(p1.x + t.x, p1.y + t.y); }
CGPoint QZCGPointRounded(CGPoint point) { return CGPointMake(std::round(point.x), std::round(point.y)); }

QZCGLine QZCGLineWithMidPointLengthAndAngle(CGPoint mid, CGFloat length, CGFloat angle)
{
    CGFloat h = length * 0.5f, c = std::cos(angle), s = std::sin(angle);
    return QZCGLine{CGPointMake(mid.x + c * h, mid.y + s * h), CGPointMake(mid.x - c * h, mid.y - s * h)};
}

QZCGLine QZCGLineFromCGRectEdge(CGRect rect, CGRectEdge edge)
{
    CGFloat minX = CGRectGetMinX(rect), minY = CGRectGetMinY(rect), maxX = CGRectGetMaxX(rect), maxY = CGRectGetMaxY(rect);
    switch (edge) {
    case CGRectMinXEdge: return {{minX, minY}, {minX, maxY}};
    case CGRectMinYEdge: return {{minX, minY}, {maxX, minY}};
    case CGRectMaxXEdge: return {{maxX, minY}, {maxX, maxY}};
    case CGRectMaxYEdge: return {{minX, maxY}, {maxX, maxY}};
    }
    return {};
}

bool QZCGLineIntersection(QZCGLine l1, QZCGLine l2, CGPoint* point)
{
    // A line whose points coincide has no direction: its slope would be 0/0 and the formulas
    // below would report a NaN point as an intersection.
    if (CGPointEqualToPoint(l1.p1, l1.p2) || CGPointEqualToPoint(l2.p1, l2.p2)) return false;
    CGFloat m1 = (l1.p2.y - l1.p1.y) / (l1.p2.x - l1.p1.x);
    CGFloat m2 = (l2.p2.y - l2.p1.y) / (l2.p2.x - l2.p1.x);
    CGPoint p;
    if (std::isinf(m1)) {
        if (std::isinf(m2)) return false;
        p = CGPointMake(l1.p1.x, l2.p1.y - l2.p1.x * m2 + l1.p1.x * m2);
    } else if (std::isinf(m2)) {
        p = CGPointMake(l2.p1.x, l1.p1.y - l1.p1.x * m1 + l2.p1.x * m1);
    } else {
        if (m1 == m2) return false;
        CGFloat x = -((l1.p1.y - l1.p1.x * m1) - (l2.p1.y - l2.p1.x * m2)) / (m1 - m2);
        p = CGPointMake(x, l1.p1.y - l1.p1.x * m1 + x * m1);
    }
    if (point) *point = p;
    return true;
}

CGFloat QZCGLineLength(QZCGLine line)
{
    double dx = double(line.p1.x) - double(line.p2.x), dy = double(line.p1.y) - double(line.p2.y);
    return CGFloat(std::sqrt(dx * dx + dy * dy));
}

CGAffineTransform QZCGAffineTransformForOrientation(UIImageOrientation orientation)
{
    const CGFloat pi = CGFloat(M_PI), halfPi = CGFloat(M_PI_2);
    CGAffineTransform t = CGAffineTransformIdentity;
    switch (orientation) {
    case UIImageOrientationUp: return t;
    case UIImageOrientationDown: return CGAffineTransformRotate(t, pi);
    case UIImageOrientationLeft: return CGAffineTransformRotate(t, -halfPi);
    case UIImageOrientationRight: return CGAffineTransformRotate(t, halfPi);
    case UIImageOrientationUpMirrored: return CGAffineTransformScale(t, -1, 1);
    case UIImageOrientationDownMirrored: return CGAffineTransformScale(CGAffineTransformRotate(t, pi), -1, 1);
    case UIImageOrientationLeftMirrored: return CGAffineTransformScale(CGAffineTransformRotate(t, -halfPi), -1, 1);
    case UIImageOrientationRightMirrored: return CGAffineTransformScale(CGAffineTransformRotate(t, halfPi), -1, 1);
    }
    return t;
}

UIImageOrientation QZUIImageOrientationForTransform(CGAffineTransform transform)
{
    // Quarter turns computed with cos and sin leave entries such as -4.4e-8 where 0 is meant, so
    // an exact comparison would miss transforms built another way (double angles, concatenation).
    auto near = [](CGFloat a, CGFloat b) { return std::fabs(a - b) < 1e-5f; };
    for (int o = UIImageOrientationUp; o <= UIImageOrientationRightMirrored; ++o) {
        CGAffineTransform t = QZCGAffineTransformForOrientation(UIImageOrientation(o));
        if (near(t.a, transform.a) && near(t.b, transform.b) && near(t.c, transform.c) && near(t.d, transform.d) &&
            near(t.tx, transform.tx) && near(t.ty, transform.ty))
            return UIImageOrientation(o);
    }
    return UIImageOrientationUp;
}
