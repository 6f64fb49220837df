// Colour of one pixel: the blend modes (bytes pinned by hand), the memo, and the HSL, HSV and
// L*a*b* models with their round trips over many seeded colours.
#include "QopLite/QopColor.h"
#include "QopLite/QopColorTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const QopBlendMode_t kAllModes[] = {QopBlendModeNormal, QopBlendModeOverlay, QopBlendModeColor,
                                    QopBlendModeScreen, QopBlendModeDarken, QopBlendModeMultiply};
const QopBlendMode_t kChannelModes[] = {QopBlendModeNormal, QopBlendModeOverlay, QopBlendModeScreen,
                                        QopBlendModeDarken, QopBlendModeMultiply};

std::string show(const QopColor_t &c)
{
    char text[24];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
    return text;
}

QopColor_t randomColor(std::mt19937 &rng)
{
    uint32_t v = rng();
    return QopColor_t{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

} // namespace

TEST(QopColorBlend, PinnedResults)
{
    struct Case {
        QopBlendMode_t mode;
        QopColor_t dst, src;
        float alpha;
        QopColor_t expected;
        const char *why;
    } cases[] = {
        // Overlay decides on the destination channel; 128 still multiplies (2*128*255/255 = 256).
        {QopBlendModeOverlay, {128, 129, 128, 9}, {255, 255, 0, 0}, 1.0f, {255, 255, 0, 9}, "128/129 boundary"},
        {QopBlendModeOverlay, {129, 64, 200, 9}, {0, 100, 100, 0}, 1.0f, {3, 50, 188, 9}, "both branches"},
        // The 0.5 term: 0.5 + 0.5 = 1 where plain truncation would give 0.
        {QopBlendModeNormal, {0, 10, 255, 9}, {1, 11, 0, 0}, 0.5f, {1, 11, 128, 9}, "rounding term"},
        {QopBlendModeScreen, {100, 0, 255, 9}, {100, 200, 7, 0}, 1.0f, {161, 200, 255, 9}, "screen"},
        {QopBlendModeMultiply, {100, 255, 3, 9}, {100, 77, 200, 0}, 1.0f, {39, 77, 2, 9}, "multiply"},
        {QopBlendModeDarken, {100, 20, 0, 9}, {50, 200, 0, 0}, 0.5f, {75, 20, 0, 9}, "darken"},
        // Out-of-range alpha: the mix leaves 0..255 and is clamped after truncation.
        {QopBlendModeNormal, {0, 255, 100, 9}, {255, 0, 100, 0}, 2.0f, {255, 0, 100, 9}, "clamped"},
        // Color: hue and saturation of the source, lightness of the destination, no rounding term.
        {QopBlendModeColor, {100, 100, 100, 9}, {255, 0, 0, 255}, 1.0f, {200, 0, 0, 9}, "red onto grey"},
        {QopBlendModeColor, {100, 100, 100, 9}, {255, 0, 0, 255}, 0.5f, {150, 50, 50, 9}, "half way"},
        {QopBlendModeColor, {200, 100, 50, 9}, {255, 0, 0, 0}, 1.0f, {118, 118, 118, 9},
         "a transparent source has no saturation: the grey of the destination's luminance"},
    };
    for (const Case &c : cases) {
        QopColor_t out = c.dst;
        QopColorBlend(&out, &c.src, c.mode, c.alpha);
        EXPECT_EQ(show(out), show(c.expected)) << c.why;
    }
}

TEST(QopColorBlend, AlphaZeroGivesBackTheDestinationInEveryMode)
{
    std::mt19937 rng(11);
    for (QopBlendMode_t mode : kAllModes) {
        for (int v = 0; v < 256; ++v) {
            QopColor_t dst = {uint8_t(v), uint8_t(255 - v), uint8_t(v * 7), uint8_t(v)};
            QopColor_t src = randomColor(rng);
            QopColor_t out = dst;
            QopColorBlend(&out, &src, mode, 0.0f);
            ASSERT_EQ(show(out), show(dst)) << "mode " << mode;
        }
    }
}

TEST(QopColorBlend, UnknownModeLeavesTheDestination)
{
    QopColor_t dst = {1, 2, 3, 4}, src = {200, 200, 200, 200};
    QopColorBlend(&dst, &src, QopBlendMode_t(6), 1.0f);
    EXPECT_EQ(show(dst), show(QopColor_t{1, 2, 3, 4}));
}

TEST(QopColorBlendColorMode, MatchesColorModeWithTheSourceInHSL)
{
    std::mt19937 rng(12);
    for (int i = 0; i < 2000; ++i) {
        QopColor_t dst = randomColor(rng), src = randomColor(rng);
        float alpha = (rng() % 1001) / 1000.0f;
        QopColor_hsl hsl;
        QopColorRGB2HSL(&src, &hsl);
        QopColor_t viaBlend = dst, viaHSL = dst;
        QopColorBlend(&viaBlend, &src, QopBlendModeColor, alpha);
        QopColorBlendColorMode(&viaHSL, &hsl, src.a, alpha);
        ASSERT_EQ(show(viaHSL), show(viaBlend)) << show(dst) << " " << show(src) << " " << alpha;
    }
}

TEST(QopColorBlendMemoized, EqualsTheDirectBlendForPerChannelModes)
{
    std::mt19937 rng(13);
    for (QopBlendMode_t mode : kChannelModes) {
        auto memo = std::make_unique<QopColorMemoData_t>();
        QopColorBlendInitMemozied(memo.get(), mode);
        const QopColor_t src = {30, 140, 250, 99};
        for (int i = 0; i < 3000; ++i) {
            QopColor_t dst = randomColor(rng);
            uint8_t alpha = uint8_t(rng());
            QopColor_t direct = dst, memoised = dst;
            QopColorBlend(&direct, &src, mode, alpha / 255.0f);
            QopColorBlendMemoized(&memoised, &src, alpha, memo.get());
            ASSERT_EQ(show(memoised), show(direct)) << "mode " << mode << " alpha " << int(alpha);
        }
    }
}

TEST(QopColorBlendMemoized, RowsAreKeyedByAlphaOnlyUntilReset)
{
    auto memo = std::make_unique<QopColorMemoData_t>();
    QopColorBlendInitMemozied(memo.get(), QopBlendModeNormal);
    const QopColor_t white = {255, 255, 255, 255}, black = {0, 0, 0, 255};
    QopColor_t c = {100, 100, 100, 7};
    QopColorBlendMemoized(&c, &white, 255, memo.get());
    EXPECT_EQ(show(c), show(QopColor_t{255, 255, 255, 7}));

    c = {100, 100, 100, 7};
    QopColorBlendMemoized(&c, &black, 255, memo.get()); // same alpha: the white row is reused
    EXPECT_EQ(show(c), show(QopColor_t{255, 255, 255, 7}));
    QopColorBlendMemoized(&c, &black, 128, memo.get()); // new alpha: filled for black
    EXPECT_EQ(show(c), show(QopColor_t{127, 127, 127, 7}));

    QopColorBlendInitMemozied(memo.get(), QopBlendModeMultiply);
    c = {100, 100, 100, 7};
    QopColorBlendMemoized(&c, &black, 255, memo.get());
    EXPECT_EQ(show(c), show(QopColor_t{0, 0, 0, 7}));
}

TEST(QopColorHSL, PinnedConversions)
{
    struct Case {
        QopColor_t rgb;
        QopColor_hsl hsl;
    } cases[] = {
        {{0, 0, 0, 255}, {0.0f, 0.0f, 0.0f}},
        {{255, 255, 255, 255}, {0.0f, 0.0f, 1.0f}},
        {{255, 0, 0, 255}, {0.0f, 1.0f, 0.5f}},
        {{0, 255, 0, 255}, {1.0f / 3.0f, 1.0f, 0.5f}},
        {{0, 0, 255, 255}, {2.0f / 3.0f, 1.0f, 0.5f}},
        {{255, 0, 255, 255}, {5.0f / 6.0f, 1.0f, 0.5f}}, // g < b: the hue wraps by +6
        {{0, 0, 51, 255}, {2.0f / 3.0f, 1.0f, 0.1f}},     // l <= 0.5 saturation branch
        {{255, 204, 204, 255}, {0.0f, 1.0f, 0.9f}},       // l > 0.5 saturation branch
    };
    for (const auto &c : cases) {
        QopColor_hsl hsl;
        QopColorRGB2HSL(&c.rgb, &hsl);
        EXPECT_NEAR(hsl.h, c.hsl.h, 1e-6) << show(c.rgb);
        EXPECT_NEAR(hsl.s, c.hsl.s, 1e-6) << show(c.rgb);
        EXPECT_NEAR(hsl.l, c.hsl.l, 1e-6) << show(c.rgb);
        QopColor_t back = {1, 2, 3, 4};
        QopColorHSL2RGB(&c.hsl, &back);
        EXPECT_EQ(show(back), show(QopColor_t{c.rgb.r, c.rgb.g, c.rgb.b, 255}));
    }
}

TEST(QopColorHSL, HueBeyondATurnReportsAndGivesTheGreyOfM)
{
    // h' = 9 (and far beyond) takes the error branch: chroma 1 and m = 0 give black. A hue far
    // out of range must not spin in the mod-2 reduction.
    for (float h : {1.5f, 1e30f, INFINITY}) {
        QopColor_hsl hsl = {h, 1.0f, 0.5f};
        QopColor_t out = {9, 9, 9, 9};
        testing::internal::CaptureStdout();
        QopColorHSL2RGB(&hsl, &out);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed, "There was an error in QopColorHSL2RGB...The hPrime value was more than 6 somehow.\n");
        EXPECT_EQ(show(out), show(QopColor_t{0, 0, 0, 255})) << h;
    }
    // h = 1 exactly is still the last sector (red).
    QopColor_hsl red = {1.0f, 1.0f, 0.5f};
    QopColor_t out;
    QopColorHSL2RGB(&red, &out);
    EXPECT_EQ(show(out), show(QopColor_t{255, 0, 0, 255}));
}

TEST(QopColorHSL, RoundTripOfSeededColoursWithinOne)
{
    std::mt19937 rng(2024);
    int worst = 0;
    for (int i = 0; i < 100000; ++i) {
        QopColor_t c = randomColor(rng), back;
        QopColor_hsl hsl;
        QopColorRGB2HSL(&c, &hsl);
        QopColorHSL2RGB(&hsl, &back);
        worst = std::max({worst, std::abs(c.r - back.r), std::abs(c.g - back.g), std::abs(c.b - back.b)});
        ASSERT_EQ(back.a, 255);
    }
    EXPECT_LE(worst, 1);
}

TEST(QopColorHSV, PinnedConversions)
{
    struct Case {
        QopColor_t rgb;
        QopColor_hsv hsv;
    } cases[] = {
        {{0, 0, 0, 255}, {0.0f, 0.0f, 0.0f}},
        {{50, 50, 50, 255}, {0.0f, 0.0f, 50.0f}},
        {{255, 0, 0, 255}, {0.0f, 1.0f, 255.0f}},
        {{0, 200, 0, 255}, {120.0f, 1.0f, 200.0f}},
        {{0, 0, 100, 255}, {240.0f, 1.0f, 100.0f}},
        {{255, 0, 128, 255}, {60.0f * (-128.0f / 255.0f) + 360.0f, 1.0f, 255.0f}}, // negative, +360
        {{100, 50, 0, 255}, {30.0f, 1.0f, 100.0f}},
        {{200, 150, 100, 255}, {30.0f, 0.5f, 200.0f}},
    };
    for (const auto &c : cases) {
        QopColor_hsv hsv;
        QopColorRGB2HSV(&c.rgb, &hsv);
        EXPECT_NEAR(hsv.h, c.hsv.h, 1e-4) << show(c.rgb);
        EXPECT_NEAR(hsv.s, c.hsv.s, 1e-6) << show(c.rgb);
        EXPECT_EQ(hsv.v, c.hsv.v) << show(c.rgb);
    }
}

TEST(QopColorLAB, WhiteBlackAndGreys)
{
    // L = 100 x 2.55 in double is 254.99999999999997, so white truncates to 254. The table
    // version takes the cube root of anything at or above 1 as 1; the exact one does not, and
    // white's z of 1.00016 puts its b* just under 127.
    struct Case {
        QopColor_t rgb;
        QopColor_t viaTables, viaMapping;
    } cases[] = {
        {{255, 255, 255, 200}, {254, 127, 127, 200}, {254, 127, 126, 200}},
        {{0, 0, 0, 200}, {0, 127, 127, 200}, {0, 127, 127, 200}},
    };
    float mapping[256];
    QopColorRGB2LABInitMapping(mapping);
    for (const auto &c : cases) {
        QopColor_t viaTables = c.rgb, viaMapping = c.rgb;
        QopColorRGB2LAB(&viaTables);
        QopColorRGB2LABWithMapping(&viaMapping, mapping);
        EXPECT_EQ(show(viaTables), show(c.viaTables));
        EXPECT_EQ(show(viaMapping), show(c.viaMapping));
    }
    // Greys stay neutral, and L never falls as the grey level rises.
    int previousL = -1;
    for (int v = 0; v < 256; ++v) {
        QopColor_t c = {uint8_t(v), uint8_t(v), uint8_t(v), 255};
        QopColorRGB2LAB(&c);
        EXPECT_NEAR(c.g, 127, 1) << v;
        EXPECT_NEAR(c.b, 127, 1) << v;
        EXPECT_GE(int(c.r), previousL) << v;
        previousL = c.r;
    }
}

TEST(QopColorLAB, PrimariesHaveTheirKnownLabCoordinates)
{
    // Reference CIE L*a*b* (D65) of the sRGB primaries, scaled as the library scales them.
    struct Case {
        QopColor_t rgb;
        double L, a, b;
    } cases[] = {
        {{255, 0, 0, 255}, 53.24, 80.09, 67.20},
        {{0, 255, 0, 255}, 87.73, -86.18, 83.18},
        {{0, 0, 255, 255}, 32.30, 79.19, -107.86},
    };
    float mapping[256];
    QopColorRGB2LABInitMapping(mapping);
    for (const auto &c : cases) {
        double l, a, b, lm, am, bm;
        QopColorRGB2LABDoublesWithCbrtMapping(&c.rgb, &l, &a, &b);
        QopColorRGB2LABDoublesWithMapping(&c.rgb, &lm, &am, &bm, mapping);
        EXPECT_NEAR(lm, c.L * 2.55, 0.1) << show(c.rgb);
        EXPECT_NEAR(am, c.a + 127, 0.1) << show(c.rgb);
        EXPECT_NEAR(bm, c.b + 127, 0.1) << show(c.rgb);
        // The cube-root table is coarse near 0 but close everywhere else.
        EXPECT_NEAR(l, lm, 0.5) << show(c.rgb);
        EXPECT_NEAR(a, am, 1.0) << show(c.rgb);
        EXPECT_NEAR(b, bm, 1.0) << show(c.rgb);
    }
}

TEST(QopColorLAB, RoundTripOfSeededColours)
{
    // The byte form truncates L (steps of 0.39), a* and b* (steps of 1), and the way back reads
    // a 1024-entry sRGB table whose steps in the dark are about 3 levels: dark saturated colours
    // lose a few levels, and a wrong coefficient anywhere would lose far more.
    std::mt19937 rng(2025);
    std::vector<int> errors;
    double total = 0, signedTotal = 0;
    for (int i = 0; i < 100000; ++i) {
        QopColor_t c = randomColor(rng), lab = c;
        QopColorRGB2LAB(&lab);
        ASSERT_EQ(lab.a, c.a);
        QopColor_t back = lab;
        QopColorLAB2RGB(&back);
        ASSERT_EQ(back.a, c.a);
        for (int d : {back.r - c.r, back.g - c.g, back.b - c.b}) {
            errors.push_back(std::abs(d));
            total += std::abs(d);
            signedTotal += d;
        }
    }
    std::sort(errors.begin(), errors.end());
    const size_t n = errors.size();
    EXPECT_LT(total / n, 2.0);
    // Both ways truncate, so the round trip comes back darker by about 1.3 levels on average.
    EXPECT_GT(signedTotal / n, -2.0);
    EXPECT_LT(signedTotal / n, 0.0);
    EXPECT_LE(errors[n / 2], 1);
    EXPECT_LE(errors[n * 9 / 10], 4);
    EXPECT_LE(errors[n * 99 / 100], 20);
    EXPECT_LE(errors[n - 1], 40);
    // Greys come back within the dark-table step.
    for (int v = 0; v < 256; ++v) {
        QopColor_t c = {uint8_t(v), uint8_t(v), uint8_t(v), 255};
        QopColorRGB2LAB(&c);
        QopColorLAB2RGB(&c);
        for (int channel : {c.r, c.g, c.b})
            ASSERT_NEAR(channel, v, v < 64 ? 5 : 2) << v;
    }
}

TEST(QopColorLAB, ScalesActOnTheirOwnAxis)
{
    // (L, a, b) bytes (128, 127, 127) are a neutral grey; halving the a scale moves a* to
    // 63.5 - 127 < 0, which is green; the L scale darkens.
    QopColor_t grey = {128, 127, 127, 31};
    QopColorLAB2RGB(&grey);
    EXPECT_NEAR(grey.r, grey.g, 1);
    EXPECT_NEAR(grey.g, grey.b, 1);
    EXPECT_EQ(grey.a, 31);

    QopColor_t green = {128, 127, 127, 31};
    QopColorLAB2RGBScaled(&green, 1.0, 0.5, 1.0);
    EXPECT_GT(green.g, grey.g);
    EXPECT_LT(green.r, grey.r);

    QopColor_t darker = {128, 127, 127, 31};
    QopColorLAB2RGBScaled(&darker, 0.5, 1.0, 1.0);
    EXPECT_LT(darker.g, grey.g - 30);

    QopColor_t clipped = {140, 50, 50, 31}; // a* = b* = -77, outside sRGB: clips at both ends
    QopColorLAB2RGB(&clipped);
    EXPECT_EQ(clipped.r, 0);
    EXPECT_EQ(clipped.b, 255);
}
