// The gradient map on the CPU: the eased colour map, hard edges from stops that share a location,
// the factor of each shape, and degenerate gradients.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGradientMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace qop_test;

namespace {

// Pixels compare all four bytes.
bool operator==(const QopColor_t &a, const QopColor_t &b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// A gradient owned by the test: colour stops (colour, location) and opacity stops.
struct TestGradient {
    std::vector<QopGradientColor_t> colours;
    std::vector<QopGradientOpacity_t> opacities;
    QopGradient_t get()
    {
        return {colours.data(), opacities.data(), colours.size(), opacities.size()};
    }
};

TestGradient blackToWhite()
{
    return {{{{0, 0, 0, 255}, 0}, {{255, 255, 255, 255}, 100}}, {{1.0, 0}, {1.0, 100}}};
}

std::vector<QopColor_t> memoized(TestGradient g, size_t length = 1024)
{
    std::vector<QopColor_t> map(length);
    QopGradient_t gradient = g.get();
    QopGradientMemoize(&gradient, map.data(), length);
    return map;
}

QopGradientShapeParams_t shape(QopGradientShapeMode_t mode)
{
    QopGradientShapeParams_t p;
    QopGradientShapeParamsInit(&p);
    p.shapeMode = mode;
    return p;
}

} // namespace

TEST(QopGradientMemoize, EasesBetweenStops)
{
    const std::vector<QopColor_t> map = memoized(blackToWhite());
    EXPECT_EQ(map[0].r, 0);
    EXPECT_EQ(map[1023].r, 255);
    EXPECT_EQ(map[1023].a, 255);
    // The midpoint stays mid-grey; the quarter points move 1.375 x 9 / 255 towards their stop.
    EXPECT_NEAR(map[511].r, 127, 1);
    const double ease = 1.375 * 9.0 / 255.0;
    EXPECT_NEAR(map[256].r, (256.0 / 1023.0 - ease) * 255.0, 1.0);
    EXPECT_NEAR(map[767].r, (767.0 / 1023.0 + ease) * 255.0, 1.0);
    for (size_t i = 1; i < map.size(); ++i)
        ASSERT_GE(map[i].r, map[i - 1].r) << i;

    // Opacity has its own stops.
    TestGradient fading = blackToWhite();
    fading.opacities = {{1.0, 0}, {0.0, 100}};
    const std::vector<QopColor_t> faded = memoized(fading);
    EXPECT_EQ(faded[0].a, 255);
    EXPECT_EQ(faded[1023].a, 0);
    EXPECT_NEAR(faded[511].a, 128, 1);
}

// Two stops at one location draw a hard edge (and no NaN colours).
TEST(QopGradientMemoize, StopsSharingALocationMakeAHardEdge)
{
    TestGradient g;
    g.colours = {{{255, 0, 0, 255}, 0}, {{255, 0, 0, 255}, 50}, {{0, 0, 255, 255}, 50}, {{0, 0, 255, 255}, 100}};
    g.opacities = {{1.0, 0}, {1.0, 50}, {0.5, 50}, {0.5, 100}};
    const std::vector<QopColor_t> map = memoized(g);
    for (size_t i = 0; i < 1024; ++i) {
        const double p = i * 100.0 / 1023.0;
        if (p < 49.9) {
            ASSERT_GE(map[i].r, 254) << i; // 255 (1 - f) + 255 f may truncate to 254
            ASSERT_EQ(map[i].b, 0) << i;
            ASSERT_EQ(map[i].a, 255) << i;
        } else if (p > 50.1) {
            ASSERT_EQ(map[i].r, 0) << i;
            ASSERT_GE(map[i].b, 254) << i;
            ASSERT_EQ(map[i].a, 127) << i;
        }
    }
    // The last two stops sharing the end location: the walk ends on that pair at the last entry,
    // which takes the later stop's colour and opacity.
    TestGradient end;
    end.colours = {{{0, 0, 0, 255}, 0}, {{0, 0, 0, 255}, 100}, {{255, 255, 255, 255}, 100}};
    end.opacities = {{0.0, 0}, {0.0, 100}, {1.0, 100}};
    const std::vector<QopColor_t> endMap = memoized(end);
    EXPECT_EQ(endMap[1023].r, 255);
    EXPECT_EQ(endMap[1023].a, 255);
    EXPECT_EQ(endMap[1022].r, 0);
    EXPECT_EQ(endMap[1022].a, 0);

    // A one-entry map is the first stop; an empty one is left alone.
    const std::vector<QopColor_t> one = memoized(blackToWhite(), 1);
    EXPECT_TRUE(one[0].r == 0 && one[0].a == 255);
    std::vector<QopColor_t> none(1, {9, 9, 9, 9});
    QopGradient_t gradient = blackToWhite().get();
    TestGradient keep = blackToWhite();
    gradient = keep.get();
    QopGradientMemoize(&gradient, none.data(), 0);
    EXPECT_EQ(none[0].r, 9);
}

TEST(QopGradientApply, FactorsOfEachShape)
{
    TestGradient g = blackToWhite();
    QopGradient_t gradient = g.get();
    TestBitmap input(200, 100);
    input.fill({128, 128, 128, 255});

    // Linear at angle 0 from the centre: left half below factor 0 (first entry), the right edge
    // at factor about 0.5.
    TestBitmap out = input;
    QopGradientShapeParams_t p = shape(QopGradientShapeModeLinear);
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_EQ(out.at(10, 50).r, 0);
    EXPECT_EQ(out.at(99, 50).r, 0);
    EXPECT_NEAR(out.at(199, 50).r, 127, 3);
    // Factors beyond 1 take the last entry.
    p.scale = 0.1;
    out = input;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_EQ(out.at(199, 50).r, 255);
    EXPECT_EQ(out.at(0, 50).r, 0);

    // Radial at scale 0.5 reaches the last entry at half the image size from the centre.
    p = shape(QopGradientShapeModeRadial);
    p.scale = 0.5;
    out = input;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_EQ(out.at(100, 50).r, 0);
    EXPECT_NEAR(out.at(150, 50).r, 127, 1); // a quarter of the width out: factor 0.5
    EXPECT_EQ(out.at(0, 50).r, 255);        // half the width out: factor 1
    EXPECT_EQ(out.at(100, 0).r, 255);       // half the height out
    EXPECT_EQ(out.at(199, 99).r, 255);

    // LinearVignette leaves the centre alone and shows the gradient at the edges.
    p = shape(QopGradientShapeModeLinearVignette);
    p.vignetteScale = 0.5;
    out = input;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_TRUE(out.at(100, 50) == input.at(100, 50));
    EXPECT_TRUE(out.at(105, 52) == input.at(105, 52));
    EXPECT_EQ(out.at(0, 0).r, 0);

    // Half alpha blends half way.
    p = shape(QopGradientShapeModeLinear);
    out = input;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 0.5);
    EXPECT_EQ(out.at(10, 50).r, 64);
}

TEST(QopGradientApply, DegenerateGradientsDrawNothing)
{
    const TestBitmap input = makePhotoLike(40, 30);
    TestGradient g = blackToWhite();
    QopGradient_t gradient = g.get();
    QopGradientShapeParams_t p = shape(QopGradientShapeModeRadial);
    p.scale = 0;
    TestBitmap out = input;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_TRUE(out == input) << "scale 0";
    p.scale = 1;
    gradient.colorLength = 1;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_TRUE(out == input) << "one colour stop";
    gradient = g.get();
    gradient.opacityLength = 0;
    QopGradientApply(out.get(), &p, &gradient, QopBlendModeNormal, 1.0);
    EXPECT_TRUE(out == input) << "no opacity stop";
}
