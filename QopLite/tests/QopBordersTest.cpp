// The border engine on the CPU: parameter defaults, the insets each style writes back, seeded
// determinism, resolution independence, walks that stay inside the bitmap whatever the
// parameters, and the colour vignette's zones.
#include "QopBorderLines.h"
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopBorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace qop_test;

namespace {

// Pixels compare all four bytes.
bool operator==(const QopColor_t &a, const QopColor_t &b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

QopBorderParams_t borderParams(QopBorderStyle_t style)
{
    QopBorderParams_t p{};
    QopBorderInitParams(&p);
    p.style = style;
    return p;
}

// The bitmap after one border call with fresh work lines.
TestBitmap bordered(const TestBitmap &input, QopBorderParams_t p)
{
    TestBitmap out = input;
    BorderLines lines(input.width(), input.height());
    lines.attach(&p);
    QopBorders(out.get(), &p);
    return out;
}

bool sameColour(const QopColor_t &a, const QopColor_t &b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

} // namespace

TEST(QopBorderInitParams, SetsEveryDefaultAndLeavesSizeAndTheLinesAlone)
{
    QopBorderParams_t p;
    std::memset(&p, 0x5A, sizeof p);
    float sentinel[1];
    p.size = 123.5;
    p.line = p.lineA = p.lineB = p.lineL = p.lineR = p.lineT = sentinel;
    EXPECT_EQ(QopBorderInitParams(&p), &p);
    EXPECT_EQ(p.size, 123.5);
    for (float *line : {p.line, p.lineA, p.lineB, p.lineL, p.lineR, p.lineT})
        EXPECT_EQ(line, sentinel);

    const struct {
        const char *name;
        double value, expected;
    } doubles[] = {
        {"offset", p.offset, 0},         {"halftoneDotScale", p.halftoneDotScale, 1}, {"linesScale", p.linesScale, 1},
        {"shadowAngle", p.shadowAngle, 0}, {"amp", p.amp, 0},                      {"dw", p.dw, 1},
        {"hConst", p.hConst, 0.5},       {"antiAliasing", p.antiAliasing, 1},       {"dbl", p.dbl, 0.28},
        {"fadeCorrection", p.fadeCorrection, 2.222}, {"rScale", p.rScale, 1.5},     {"dwT", p.dwT, 1},
        {"dwL", p.dwL, 1},               {"dwR", p.dwR, 1},                         {"dwB", p.dwB, 1},
        {"vignetteScale", p.vignetteScale, 1}, {"scale", p.scale, 1},               {"corner", p.corner, 0},
        {"intensity", p.intensity, 1},   {"alpha", p.alpha, 1},                     {"offsetL", p.offsetL, 0},
        {"offsetR", p.offsetR, 0},       {"offsetT", p.offsetT, 0},                 {"offsetB", p.offsetB, 0},
        {"dx", p.dx, 0},                 {"dy", p.dy, 0},
    };
    for (const auto &d : doubles)
        EXPECT_EQ(d.value, d.expected) << d.name;
    EXPECT_EQ(p.noiseType, QopMPDUniform);
    EXPECT_FALSE(p.onlyOut);
    EXPECT_EQ(p.seed, 0u);
    EXPECT_TRUE(p.color.r == 255 && p.color.g == 255 && p.color.b == 255 && p.color.a == 255);
    EXPECT_EQ(p.blendMode, QopBlendModeNormal);
    EXPECT_EQ(p.style, QopBorderStyleNone);
    EXPECT_EQ(p.shapeMode, QopBorderShapeModeNormal);
    EXPECT_FALSE(p.stretch);
}

// The inset each inset style writes back into the four per-side fields (Viewfinder keeps the
// caller's), and the frame colour it paints in the margin.
TEST(QopBordersTheta, WritesItsInsetBackExceptViewfinder)
{
    const TestBitmap input = makePhotoLike(120, 80);
    const double S = 200.0;
    const struct {
        QopBorderStyle_t style;
        double offset;
        int expectedInset;
    } cases[] = {
        {QopBorderStyleHalftone, 0, 0},
        {QopBorderStyleSmooth, 0, 0},
        {QopBorderStyleFade, 0, 0},
        {QopBorderStyleRough, 0, 0},
        {QopBorderStyleLines, 0, 0},
        {QopBorderStyleLines, 7, 0}, // Lines never has a margin
        {QopBorderStyleSmooth, 6, 6}, // Smooth and Rough take the offset in pixels
        {QopBorderStyleRough, 6, 6},
        {QopBorderStyleFade, 2, static_cast<int>(2.0f * static_cast<float>(S / 80.0))},
        {QopBorderStyleShadow, 0, static_cast<int>(0.3f * static_cast<float>(S / 80.0))},
        {QopBorderStyleShadow, 9, static_cast<int>(0.3f * static_cast<float>(S / 80.0))},
    };
    for (const auto &c : cases) {
        QopBorderParams_t p = borderParams(c.style);
        p.offset = c.offset;
        p.offsetL = p.offsetR = p.offsetT = p.offsetB = 33;
        TestBitmap out = input;
        QopBorders(out.get(), &p);
        SCOPED_TRACE(testing::Message() << "style " << c.style << " offset " << c.offset);
        EXPECT_EQ(p.offsetL, c.expectedInset);
        EXPECT_EQ(p.offsetR, c.expectedInset);
        EXPECT_EQ(p.offsetT, c.expectedInset);
        EXPECT_EQ(p.offsetB, c.expectedInset);
        if (c.expectedInset > 0 && c.style != QopBorderStyleShadow) {
            // The margin is the colour itself.
            EXPECT_TRUE(sameColour(out.at(0, 40), p.color));
            EXPECT_TRUE(sameColour(out.at(c.expectedInset - 1, 40), p.color));
        }
    }
    QopBorderParams_t p = borderParams(QopBorderStyleViewfinder);
    p.offsetL = 3;
    p.offsetR = 4;
    p.offsetT = 5;
    p.offsetB = 6;
    TestBitmap out = input;
    QopBorders(out.get(), &p);
    EXPECT_EQ(p.offsetL, 3);
    EXPECT_EQ(p.offsetR, 4);
    EXPECT_EQ(p.offsetT, 5);
    EXPECT_EQ(p.offsetB, 6);
    EXPECT_TRUE(sameColour(out.at(2, 40), p.color));
    EXPECT_TRUE(sameColour(out.at(119 - 3, 40), p.color));
    EXPECT_TRUE(sameColour(out.at(60, 4), p.color));
    EXPECT_TRUE(sameColour(out.at(60, 79 - 5), p.color));
    EXPECT_TRUE(out.at(60, 40) == input.at(60, 40)) << "the middle is left alone";
}

// Every random style gives one frame for one seed, and another frame for another seed.
TEST(QopBorders, SameSeedSameFrameAndAnotherSeedAnotherFrame)
{
    const TestBitmap input = makePhotoLike(160, 100);
    for (QopBorderStyle_t style : {QopBorderStyleRough, QopBorderStyleViewfinder, QopBorderStyleTorn,
                                   QopBorderStyleTorn2, QopBorderStylePellar, QopBorderStyleHardRand}) {
        SCOPED_TRACE(testing::Message() << "style " << style);
        QopBorderParams_t p = borderParams(style);
        p.seed = 1234;
        p.amp = 0.02;
        p.dw = style == QopBorderStyleTorn || style == QopBorderStyleTorn2 ? 0.03 : 1.0;
        p.offsetL = p.offsetR = p.offsetT = p.offsetB = 4;
        const TestBitmap first = bordered(input, p);
        EXPECT_FALSE(first == input);
        EXPECT_TRUE(bordered(input, p) == first);
        p.seed = 99;
        EXPECT_FALSE(bordered(input, p) == first);
    }
}

// Sizes follow W + H: the Rect frame is S dw / 2 pixels thick at mid-side at any resolution.
TEST(QopBordersSide, RectThicknessScalesWithTheImage)
{
    for (const auto &size : {std::pair<size_t, size_t>{512, 384}, std::pair<size_t, size_t>{2048, 1536}}) {
        const auto [W, H] = size;
        TestBitmap input(W, H);
        input.fill({0, 0, 0, 255});
        QopBorderParams_t p = borderParams(QopBorderStyleRect);
        p.dw = 0.02;
        p.color = {255, 0, 0, 255};
        const TestBitmap out = bordered(input, p);
        const double expected = static_cast<double>(W + H) * p.dw / 2.0;
        const auto thickness = [&](auto pixelAt, size_t n) {
            size_t t = 0;
            while (t < n && pixelAt(t).r == 255)
                ++t;
            return static_cast<double>(t);
        };
        SCOPED_TRACE(testing::Message() << W << " x " << H);
        EXPECT_NEAR(thickness([&](size_t i) { return out.at(i, H / 2); }, W), expected, 1.0) << "left";
        EXPECT_NEAR(thickness([&](size_t i) { return out.at(W - 1 - i, H / 2); }, W), expected, 1.0) << "right";
        EXPECT_NEAR(thickness([&](size_t i) { return out.at(W / 2, i); }, H), expected, 1.0) << "top";
        EXPECT_NEAR(thickness([&](size_t i) { return out.at(W / 2, H - 1 - i); }, H), expected, 1.0) << "bottom";
        // A hard edge: the pixel after the frame is the photograph.
        EXPECT_EQ(out.at(static_cast<size_t>(expected) + 2, H / 2).r, 0);
    }
}

// An opaque colour is written as it is in the solid part; any other alpha blends.
TEST(QopBordersSide, SolidPartWritesOpaqueColourAndBlendsTranslucentOne)
{
    TestBitmap input(100, 60);
    input.fill({0, 0, 0, 77});
    QopBorderParams_t p = borderParams(QopBorderStyleRect);
    p.dw = 0.1;
    p.color = {200, 100, 50, 255};
    TestBitmap out = bordered(input, p);
    EXPECT_TRUE(out.at(1, 30) == p.color);
    p.color.a = 128;
    out = bordered(input, p);
    const QopColor_t px = out.at(1, 30);
    EXPECT_NEAR(px.r, 100, 1);
    EXPECT_NEAR(px.g, 50, 1);
    EXPECT_EQ(px.a, 77);
}

// The frame walks stay inside the bitmap whatever the parameters: lines deeper than the image
// (Round with dw near 1, large offsets, amplitudes or Laplace draws), and images of one pixel or
// one column. Run under AddressSanitizer, any write past the pixels or the work lines fails.
TEST(QopBorders, WalksStayInsideTheBitmapForExtremeParameters)
{
    struct Extreme {
        const char *name;
        QopBorderStyle_t style;
        void (*set)(QopBorderParams_t *);
    };
    const Extreme extremes[] = {
        {"round dw 0.9", QopBorderStyleRound, [](QopBorderParams_t *p) { p->dw = 0.9; }},
        {"round dw 3 rScale -2", QopBorderStyleRound, [](QopBorderParams_t *p) { p->dw = 3; p->rScale = -2; }},
        {"bulge offset 3", QopBorderStyleBulge, [](QopBorderParams_t *p) { p->offset = 3; }},
        {"bulge offset -3 dbl 40", QopBorderStyleBulge, [](QopBorderParams_t *p) { p->offset = -3; p->dbl = 40; }},
        {"torn amp 1 laplace", QopBorderStyleTorn,
         [](QopBorderParams_t *p) { p->amp = 1; p->noiseType = QopMPDLaplace; p->dw = 0.05; }},
        {"torn amp 1e30 normal", QopBorderStyleTorn,
         [](QopBorderParams_t *p) { p->amp = 1e30; p->noiseType = QopMPDNormal; }},
        {"torn2 amp 1 laplace", QopBorderStyleTorn2,
         [](QopBorderParams_t *p) { p->amp = 1; p->noiseType = QopMPDLaplace; p->antiAliasing = 0; }},
        {"pellar", QopBorderStylePellar, [](QopBorderParams_t *) {}},
        {"rect dw 5", QopBorderStyleRect, [](QopBorderParams_t *p) { p->dw = 5; }},
        {"hardrand intensity 1e6", QopBorderStyleHardRand,
         [](QopBorderParams_t *p) { p->intensity = 1e6; p->corner = -1e9; p->offset = 1e12; }},
        {"hardrand laplace", QopBorderStyleHardRand,
         [](QopBorderParams_t *p) { p->intensity = 3; p->noiseType = QopMPDLaplace; p->scale = 0; }},
        {"smooth offset 1e15", QopBorderStyleSmooth, [](QopBorderParams_t *p) { p->offset = 1e15; }},
        {"halftone offset -1e15", QopBorderStyleHalftone,
         [](QopBorderParams_t *p) { p->offset = -1e15; p->halftoneDotScale = 1e-30; }},
        {"shadow dw 0", QopBorderStyleShadow, [](QopBorderParams_t *p) { p->dw = 0; p->shadowAngle = 1e20; }},
        {"viewfinder insets 1e18", QopBorderStyleViewfinder,
         [](QopBorderParams_t *p) { p->offsetL = 1e18; p->offsetR = -1e18; p->offsetT = 0.5; }},
        {"lines scale 0", QopBorderStyleLines, [](QopBorderParams_t *p) { p->linesScale = 0; }},
        {"vignette dx 1e12", QopBorderStyleVignette, [](QopBorderParams_t *p) { p->dx = 1e12; p->dy = -1e12; }},
    };
    for (const auto &size : {std::pair<size_t, size_t>{1, 1}, std::pair<size_t, size_t>{2, 7},
                             std::pair<size_t, size_t>{7, 2}, std::pair<size_t, size_t>{300, 200}}) {
        const TestBitmap input = makePhotoLike(size.first, size.second);
        for (const Extreme &e : extremes) {
            SCOPED_TRACE(testing::Message() << e.name << " on " << size.first << " x " << size.second);
            QopBorderParams_t p = borderParams(e.style);
            e.set(&p);
            const TestBitmap out = bordered(input, p);
            EXPECT_EQ(out.width(), size.first);
        }
    }
    // Round with dw 0.9 covers most of a 300 x 200 image: the walk reached the far side.
    QopBorderParams_t p = borderParams(QopBorderStyleRound);
    p.dw = 0.9;
    p.color = {255, 0, 255, 255};
    const TestBitmap out = bordered(makePhotoLike(300, 200), p);
    EXPECT_TRUE(out.at(150, 100) == p.color);
}

TEST(QopVignette, ZonesFollowTheFalloff)
{
    TestBitmap input(101, 81);
    input.fill({100, 100, 100, 255});
    QopBorderParams_t p = borderParams(QopBorderStyleVignette);
    p.color = {0, 0, 255, 255};
    p.stretch = true;
    p.vignetteScale = 0.5;
    TestBitmap out = bordered(input, p);
    // theta < 0.04 in the middle: untouched; beyond 1.15 in stretched units the colour replaces.
    EXPECT_TRUE(out.at(50, 40) == input.at(50, 40));
    EXPECT_TRUE(out.at(55, 44) == input.at(55, 44));
    EXPECT_TRUE(sameColour(out.at(0, 0), p.color));
    EXPECT_TRUE(sameColour(out.at(100, 80), p.color));
    // In between the blue rises monotonically towards the corner.
    int previous = -1;
    for (size_t i = 0; i <= 40; i += 4) {
        const int blue = out.at(50 + i, 40 + i).b;
        EXPECT_GE(blue, previous);
        previous = blue;
    }
    EXPECT_GT(out.at(80, 60).b, 100);
    EXPECT_LT(out.at(80, 60).b, 255);

    // Scale 0: everything but the exact centre takes the colour.
    p.vignetteScale = 0;
    p.stretch = false;
    out = bordered(input, p);
    for (size_t y = 0; y < out.height(); ++y) {
        for (size_t x = 0; x < out.width(); ++x) {
            if (x == 50 && y == 40)
                EXPECT_TRUE(out.at(x, y) == input.at(x, y));
            else
                ASSERT_TRUE(sameColour(out.at(x, y), p.color)) << x << ", " << y;
        }
    }
}

TEST(QopBorders, NoneInstantAndUnknownStylesDrawNothing)
{
    const TestBitmap input = makePhotoLike(40, 30);
    // 17 and 31 lie within the enumeration's range but name no style.
    for (int style : {0, 14, 17, 31}) {
        QopBorderParams_t p = borderParams(static_cast<QopBorderStyle_t>(style));
        EXPECT_TRUE(bordered(input, p) == input) << style;
    }
}
