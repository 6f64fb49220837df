#include <gtest/gtest.h>

#include <cmath>

#include "CoreGraphics/CoreGraphics.h"

namespace {

void expectRect(CGRect r, CGFloat x, CGFloat y, CGFloat w, CGFloat h)
{
    EXPECT_FLOAT_EQ(r.origin.x, x);
    EXPECT_FLOAT_EQ(r.origin.y, y);
    EXPECT_FLOAT_EQ(r.size.width, w);
    EXPECT_FLOAT_EQ(r.size.height, h);
}

TEST(CGGeometry, RectFunctionsStandardiseAndRoundOutward)
{
    expectRect(CGRectIntegral(CGRectMake(0.5f, 1.2f, 2.0f, 2.9f)), 0, 1, 3, 4);
    expectRect(CGRectIntegral(CGRectMake(-0.5f, -0.5f, 1, 1)), -1, -1, 2, 2);
    expectRect(CGRectStandardize(CGRectMake(10, 10, -4, -6)), 6, 4, 4, 6);
    EXPECT_FLOAT_EQ(CGRectGetMaxX(CGRectMake(10, 0, -4, 1)), 10);
    EXPECT_TRUE(CGRectIsNull(CGRectIntegral(CGRectNull)));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectMake(0, 0, 4, 4), 3, 0)));
    expectRect(CGRectInset(CGRectMake(0, 0, 10, 8), 2, 1), 2, 1, 6, 6);
    EXPECT_TRUE(CGRectIsNull(CGRectIntersection(CGRectMake(0, 0, 1, 1), CGRectMake(2, 2, 1, 1))));
    expectRect(CGRectUnion(CGRectNull, CGRectMake(1, 2, 3, 4)), 1, 2, 3, 4);
    EXPECT_TRUE(CGRectContainsPoint(CGRectMake(0, 0, 2, 2), CGPointMake(0, 0)));
    EXPECT_FALSE(CGRectContainsPoint(CGRectMake(0, 0, 2, 2), CGPointMake(2, 1)));

    CGRect slice, rest;
    CGRectDivide(CGRectMake(0, 0, 10, 10), &slice, &rest, 3, CGRectMaxYEdge);
    expectRect(slice, 0, 7, 10, 3);
    expectRect(rest, 0, 0, 10, 7);
}

TEST(CGAffineTransform, NewStepsActFirstAndRotationIsCounterclockwiseInYUp)
{
    // Translate then scale: the scale applies to the point first.
    CGAffineTransform t = CGAffineTransformScale(CGAffineTransformMakeTranslation(10, 0), 2, 2);
    CGPoint p = CGPointApplyAffineTransform(CGPointMake(1, 1), t);
    EXPECT_FLOAT_EQ(p.x, 12);
    EXPECT_FLOAT_EQ(p.y, 2);

    CGPoint q = CGPointApplyAffineTransform(CGPointMake(1, 0), CGAffineTransformMakeRotation(float(M_PI_2)));
    EXPECT_NEAR(q.x, 0, 1e-6);
    EXPECT_NEAR(q.y, 1, 1e-6);

    CGAffineTransform m = CGAffineTransformRotate(CGAffineTransformMake(2, 0, 0, 3, 5, 7), 0.3f);
    CGPoint back = CGPointApplyAffineTransform(CGPointApplyAffineTransform(CGPointMake(4, -2), m), CGAffineTransformInvert(m));
    EXPECT_NEAR(back.x, 4, 1e-5);
    EXPECT_NEAR(back.y, -2, 1e-5);
    CGAffineTransform singular = CGAffineTransformMakeScale(0, 1);
    EXPECT_TRUE(CGAffineTransformEqualToTransform(CGAffineTransformInvert(singular), singular));
}

TEST(CGPath, BuildsArcsAndTransformsAddedPaths)
{
    CGMutablePathRef path = CGPathCreateMutable();
    EXPECT_TRUE(CGRectIsNull(CGPathGetBoundingBox(path)));
    // A rounded corner from (0, 0) along x to (10, 0) turning up to (10, 10): the arc ends on
    // the second leg, one radius above the corner.
    CGPathMoveToPoint(path, nullptr, 0, 0);
    CGPathAddArcToPoint(path, nullptr, 10, 0, 10, 10, 4);
    CGPoint end = CGPathGetCurrentPoint(path);
    EXPECT_NEAR(end.x, 10, 1e-4);
    EXPECT_NEAR(end.y, 4, 1e-4);
    // Collinear points give a straight line to the corner point.
    CGPathAddArcToPoint(path, nullptr, 10, 20, 10, 30, 4);
    EXPECT_FLOAT_EQ(CGPathGetCurrentPoint(path).y, 20);

    CGMutablePathRef outer = CGPathCreateMutable();
    CGAffineTransform shift = CGAffineTransformMakeTranslation(100, 0);
    CGPathAddPath(outer, &shift, path);
    CGRect box = CGPathGetBoundingBox(outer);
    EXPECT_FLOAT_EQ(box.origin.x, 100);
    EXPECT_FLOAT_EQ(CGRectGetMaxY(box), 20);
    CGPathRelease(outer);
    CGPathRelease(path);
}

}  // namespace
