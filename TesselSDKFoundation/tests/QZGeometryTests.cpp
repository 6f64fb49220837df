#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "TesselSDKFoundation/QZDrawing.h"
#include "TesselSDKFoundation/QZGeometry.h"

namespace {

TEST(QZGeometry, CornersAlignmentAndCentring)
{
    CGRect r = CGRectMake(10, 20, 30, 40);
    struct Case {
        QZCGRectCorner corner;
        CGFloat x, y;
    } corners[] = {{QZCGRectTopLeftCorner, 10, 20},
                   {QZCGRectTopRightCorner, 40, 20},
                   {QZCGRectBottomRightCorner, 40, 60},
                   {QZCGRectBottomLeftCorner, 10, 60},
                   {QZCGRectCorner(3), FLT_MIN, FLT_MIN},
                   {QZCGRectCorner(0), FLT_MIN, FLT_MIN}};
    for (const Case& c : corners) {
        CGPoint p = QZCGRectGetCorner(r, c.corner);
        EXPECT_EQ(p.x, c.x) << c.corner;
        EXPECT_EQ(p.y, c.y) << c.corner;
    }

    CGRect frame = CGRectMake(0, 0, 10.5f, 10.5f), bounds = CGRectMake(0, 0, 100.2f, 50.2f);
    struct Align {
        QZCGRectCorner anchor;
        CGFloat x, y;
    } aligns[] = {{QZCGRectTopLeftCorner, 0, 0},
                  {QZCGRectTopRightCorner, 91, 0},
                  {QZCGRectBottomRightCorner, 91, 41},
                  {QZCGRectBottomLeftCorner, 0, 41}};
    for (const Align& a : aligns) {
        CGRect out = QZCGRectAlignInRect(frame, bounds, a.anchor);
        EXPECT_EQ(out.origin.x, a.x) << a.anchor;
        EXPECT_EQ(out.origin.y, a.y) << a.anchor;
        EXPECT_EQ(out.size.width, 10.5f);
    }
    EXPECT_TRUE(CGRectIsNull(QZCGRectAlignInRect(frame, bounds, QZCGRectCorner(6))));

    CGRect centred = QZCGRectCenterInRectIntegral(CGRectMake(0, 0, 5, 5), CGRectMake(0, 0, 10, 10), true);
    EXPECT_EQ(centred.origin.x, 2);  // 2.5 rounded outwards
    EXPECT_EQ(centred.size.width, 6);
    EXPECT_EQ(QZCGRectCenterInRect(CGRectMake(0, 0, 5, 5), CGRectMake(0, 0, 10, 10)).origin.x, 2.5f);
    CGRect outer = QZCGRectBoundsForInnerRectAndInsets(CGRectMake(7, 7, 10, 20), UIEdgeInsetsMake(1, 2, 3, 4));
    EXPECT_EQ(outer.origin.x, 0);
    EXPECT_EQ(outer.size.width, 16);
    EXPECT_EQ(outer.size.height, 24);
}

TEST(QZGeometry, AspectFitScalesAndFactors)
{
    struct Case {
        CGSize size, target;
        bool neverEnlarge;
        CGFloat factor, width, height;
    } cases[] = {
        {{100, 50}, {400, 400}, true, 1, 100, 50},
        {{100, 50}, {400, 400}, false, 4, 400, 200},
        {{800, 400}, {400, 400}, true, 0.5f, 400, 200},
        {{0, 0}, {400, 400}, false, 0, 0, 0},
        {{0, 0}, {0, 0}, true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CGFloat factor = -1;
        CGSize out = c.neverEnlarge ? QZCGSizeScaleToMaxSize(c.size, c.target, &factor)
                                    : QZCGSizeScaleProportionalToSize(c.size, c.target, &factor);
        EXPECT_EQ(factor, c.factor) << c.size.width << "x" << c.size.height << " into " << c.target.width;
        EXPECT_EQ(out.width, c.width);
        EXPECT_EQ(out.height, c.height);
    }
    EXPECT_EQ(QZCGSizeScaleToMaxSize(CGSizeMake(10, 10), CGSizeMake(5, 5), nullptr).width, 5);
}

TEST(QZGeometry, LinesAndTheirIntersections)
{
    EXPECT_EQ(QZCGLineLength({{0, 0}, {3, 4}}), 5);
    EXPECT_EQ(QZCGPointDistanceToPoint({1, 1}, {4, 5}), 5);
    EXPECT_EQ(QZCGPointRounded({2.5f, -2.5f}).x, 3);
    EXPECT_EQ(QZCGPointRounded({2.5f, -2.5f}).y, -3);
    QZCGLine diagonal = QZCGLineWithMidPointLengthAndAngle({10, 10}, 4, 0);
    EXPECT_EQ(diagonal.p1.x, 12);
    EXPECT_EQ(diagonal.p2.x, 8);
    QZCGLine top = QZCGLineFromCGRectEdge(CGRectMake(1, 2, 3, 4), CGRectMinYEdge);
    EXPECT_EQ(top.p2.x, 4);
    EXPECT_EQ(top.p2.y, 2);

    struct Case {
        const char* what;
        QZCGLine l1, l2;
        bool meets;
        CGFloat x, y;
    } cases[] = {
        {"two verticals", {{1, 0}, {1, 5}}, {{3, 0}, {3, 5}}, false, 0, 0},
        {"x = 2 and y = x + 1", {{2, 0}, {2, 1}}, {{0, 1}, {1, 2}}, true, 2, 3},
        {"y = x + 1 and x = 2", {{0, 1}, {1, 2}}, {{2, 0}, {2, 1}}, true, 2, 3},
        {"parallel", {{0, 0}, {1, 1}}, {{0, 1}, {1, 2}}, false, 0, 0},
        {"crossing beyond the segments", {{0, 0}, {1, 1}}, {{0, 4}, {1, 3}}, true, 2, 2},
        {"a line of one point", {{1, 1}, {1, 1}}, {{0, 0}, {4, 2}}, false, 0, 0},
        {"a line of one point second", {{0, 0}, {4, 2}}, {{3, 3}, {3, 3}}, false, 0, 0},
    };
    for (const Case& c : cases) {
        CGPoint p{-7, -7};
        EXPECT_EQ(QZCGLineIntersection(c.l1, c.l2, &p), c.meets) << c.what;
        if (c.meets) {
            EXPECT_FLOAT_EQ(p.x, c.x) << c.what;
            EXPECT_FLOAT_EQ(p.y, c.y) << c.what;
        }
    }
}

TEST(QZGeometry, OrientationTransformsRoundTrip)
{
    for (int o = UIImageOrientationUp; o <= UIImageOrientationRightMirrored; ++o)
        EXPECT_EQ(QZUIImageOrientationForTransform(QZCGAffineTransformForOrientation(UIImageOrientation(o))), o);
    EXPECT_TRUE(CGAffineTransformIsIdentity(QZCGAffineTransformForOrientation(UIImageOrientation(8))));
    EXPECT_TRUE(CGAffineTransformIsIdentity(QZCGAffineTransformForOrientation(UIImageOrientation(-1))));
    // A quarter turn computed in double precision (cos gives 6e-17, not 0) is still Right.
    double c = std::cos(M_PI_2), s = std::sin(M_PI_2);
    CGAffineTransform exactish = CGAffineTransformMake(CGFloat(c), CGFloat(s), CGFloat(-s), CGFloat(c), 0, 0);
    EXPECT_EQ(QZUIImageOrientationForTransform(exactish), UIImageOrientationRight);
    EXPECT_EQ(QZUIImageOrientationForTransform(CGAffineTransformMakeRotation(CGFloat(M_PI_2 + 0.01))), UIImageOrientationUp);
    EXPECT_EQ(QZUIImageOrientationForTransform(CGAffineTransformMakeTranslation(1, 0)), UIImageOrientationUp);
}

TEST(QZColor, HexBrightnessAndShades)
{
    struct Hex {
        const char* text;
        CGFloat r, g, b;
    } hexes[] = {{"#FF8000", 1, 128 / 255.0f, 0}, {"x00FF00", 0, 1, 0}, {"0000ff", 0, 0, 1}, {"garbage", 0, 0, 0}, {"", 0, 0, 0}};
    for (const Hex& h : hexes) {
        CGFloat r, g, b, a;
        ASSERT_TRUE(QZUIColorWithHexString(h.text)->getRed(&r, &g, &b, &a));
        EXPECT_FLOAT_EQ(r, h.r) << h.text;
        EXPECT_FLOAT_EQ(g, h.g) << h.text;
        EXPECT_FLOAT_EQ(b, h.b) << h.text;
        EXPECT_FLOAT_EQ(a, 1) << h.text;
    }

    auto dark = UIColor::blackColor(), light = UIColor::whiteColor();
    EXPECT_NEAR(QZUIColorGetBrightness(UIColor::blueColor()), 0.8246f, 1e-4);
    EXPECT_EQ(QZUIColorGetContrastingColor(UIColor::blueColor(), dark, light), dark);
    EXPECT_EQ(QZUIColorGetContrastingColor(UIColor::colorWithRed(0.3f, 0.3f, 0.3f, 1), dark, light), light);
    // Grey colours have two components; they are read as their RGB.
    EXPECT_NEAR(QZUIColorGetBrightness(UIColor::whiteColor()), 1.2696f, 1e-4);
    EXPECT_EQ(QZUIColorGetBrightness(nullptr), 0);

    CGFloat r, g, b, a;
    ASSERT_TRUE(QZUIColorByLighteningColor(UIColor::colorWithRed(0.2f, 0.4f, 0.6f, 0.5f), 2)->getRed(&r, &g, &b, &a));
    EXPECT_FLOAT_EQ(r, 0.4f);
    EXPECT_FLOAT_EQ(b, 1.2f);  // passed on above 1
    EXPECT_FLOAT_EQ(a, 0.5f);
    ASSERT_TRUE(QZUIColorByDarkeningColor(UIColor::colorWithWhite(0.8f, 0.7f), 0.25f)->getRed(&r, &g, &b, &a));
    EXPECT_FLOAT_EQ(r, 0.6f);
    EXPECT_FLOAT_EQ(g, 0.6f);
    EXPECT_FLOAT_EQ(a, 0.7f);
    EXPECT_EQ(QZUIColorByDarkeningColor(nullptr, 0.5f), nullptr);
}

}  // namespace
