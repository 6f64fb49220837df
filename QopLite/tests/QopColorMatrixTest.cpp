// Colour matrix composition order, the adjustments, and the tone operations on bitmaps: the
// lookup-table shortcuts must give exactly what the per-pixel arithmetic gives.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopHistogram.h"

// The colour passes' private entry points, to run each instruction-set path.
#include "../src/c/QopColorPasses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace qop_test;

namespace {

struct Rgb {
    float r, g, b;
};

Rgb applyMatrix(const float *m, Rgb c)
{
    return {m[0] * c.r + m[1] * c.g + m[2] * c.b + m[3], m[4] * c.r + m[5] * c.g + m[6] * c.b + m[7],
            m[8] * c.r + m[9] * c.g + m[10] * c.b + m[11]};
}

uint8_t byteOf(double v) { return static_cast<uint8_t>(std::min(255.0, std::max(0.0, std::trunc(v)))); }

// The matrix result of one pixel as the arithmetic states it: + 0.5, truncated, clamped.
QopColor_t matrixPixel(const float *m, QopColor_t c)
{
    Rgb v = applyMatrix(m, {float(c.r), float(c.g), float(c.b)});
    return {byteOf(v.r + 0.5f), byteOf(v.g + 0.5f), byteOf(v.b + 0.5f), 255};
}

} // namespace

TEST(ColorMatrix, MultiplyAppliesTheRightOperandFirst)
{
    const QopColorMatrix_t a = {1.5f, 0.25f, -0.5f, 10, 0.1f, 0.9f, 0.2f, -20, -0.3f, 0.4f, 1.1f, 5};
    const QopColorMatrix_t b = {0.8f, -0.2f, 0.1f, 3, 0.3f, 1.2f, -0.4f, 7, 0.05f, 0.6f, 0.7f, -9};
    QopColorMatrix_t ab;
    QopColorMatrixCopy(ab, a);
    QopColorMatrixMultiply(ab, b);
    for (Rgb c : {Rgb{0, 0, 0}, Rgb{255, 0, 0}, Rgb{12, 200, 99}, Rgb{255, 255, 255}}) {
        Rgb expected = applyMatrix(a, applyMatrix(b, c));
        Rgb actual = applyMatrix(ab, c);
        EXPECT_NEAR(actual.r, expected.r, 1e-3);
        EXPECT_NEAR(actual.g, expected.g, 1e-3);
        EXPECT_NEAR(actual.b, expected.b, 1e-3);
    }
}

TEST(ColorMatrix, LaterAdjustmentActsFirst)
{
    // Brightness made first, contrast second: a pixel is contrasted about 128, then brightened.
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixBrightness(cm, 1.2f);
    QopColorMatrixContrast(cm, 0.5f);
    for (float v : {40.0f, 200.0f}) {
        const float contrasted = 1.5f * v + (1.0f - 1.5f) * 128.0f;
        Rgb out = applyMatrix(cm, {v, v, v});
        EXPECT_NEAR(out.r, 1.2f * contrasted, 1e-3) << v;
        EXPECT_NEAR(out.b, 1.2f * contrasted, 1e-3) << v;
    }
    // BrightnessContrast is the same pair in one: contrast c about 128, then brightness b.
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixBrightnessContrast(cm, 0.8f, 1.5f);
    for (float v : {0.0f, 128.0f, 250.0f})
        EXPECT_NEAR(applyMatrix(cm, {v, v, v}).g, 0.8f * (1.5f * v + (1.0f - 1.5f) * 128.0f), 1e-3) << v;
}

TEST(ColorMatrix, SaturationZeroIsWeightedGreyAndOneIsIdentity)
{
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixAdjSaturation(cm, 0.0f);
    TestBitmap bitmap(2, 1);
    bitmap.at(0, 0) = {200, 100, 50, 9};
    bitmap.at(1, 0) = {0, 255, 0, 200};
    QopBitmapColorMatrixTransform(bitmap.get(), cm);
    const uint8_t grey0 = byteOf(0.213 * 200 + 0.715 * 100 + 0.072 * 50 + 0.5);
    const uint8_t grey1 = byteOf(0.715 * 255 + 0.5);
    EXPECT_EQ(bitmap.at(0, 0).r, grey0);
    EXPECT_EQ(bitmap.at(0, 0).g, grey0);
    EXPECT_EQ(bitmap.at(0, 0).b, grey0);
    EXPECT_EQ(bitmap.at(0, 0).a, 9);
    EXPECT_EQ(bitmap.at(1, 0).r, grey1);
    EXPECT_EQ(bitmap.at(1, 0).a, 200);

    QopColorMatrixSetIdentity(cm);
    QopColorMatrixAdjSaturation(cm, 1.0f);
    QopColorMatrix_t identity;
    QopColorMatrixSetIdentity(identity);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(cm[i], identity[i]) << i;
}

TEST(ColorMatrixTransform, IdentityLeavesEveryPixel)
{
    TestBitmap bitmap = makeSeededNoise(37, 11, 3);
    const TestBitmap original = bitmap;
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopBitmapColorMatrixTransform(bitmap.get(), cm);
    EXPECT_TRUE(bitmap == original);
}

TEST(ColorMatrixTransform, TablePathEqualsPerPixelPath)
{
    // A cross term of 1e-30 is far below a rounding step of any result, but it forces the
    // per-pixel path; both paths must agree to the bit, and both must match the arithmetic.
    const std::vector<std::vector<float>> diagonals = {
        {1.2f, -30.0f, 0.7f, 12.5f, 2.0f, -255.0f},
        {-1.0f, 255.0f, 0.5f, 0.49f, 3.3f, 0.0f},
        {1e30f, 0.0f, -1e30f, 0.0f, 1e-3f, 127.4f},
    };
    const TestBitmap input = makeSeededNoise(64, 17, 11);
    for (const auto &d : diagonals) {
        QopColorMatrix_t diagonal = {d[0], 0, 0, d[1], 0, d[2], 0, d[3], 0, 0, d[4], d[5]};
        QopColorMatrix_t forced;
        QopColorMatrixCopy(forced, diagonal);
        forced[1] = 1e-30f;
        TestBitmap viaTable = input, viaPixels = input;
        QopBitmapColorMatrixTransform(viaTable.get(), diagonal);
        QopBitmapColorMatrixTransform(viaPixels.get(), forced);
        EXPECT_TRUE(imagesAgree(viaPixels, viaTable, Tolerance{0}, "matrix-table-vs-pixels", true)) << d[0];
        for (size_t i = 0; i < input.pixelCount(); ++i) {
            QopColor_t expected = matrixPixel(diagonal, input.data()[i]);
            expected.a = input.data()[i].a;
            ASSERT_EQ(std::memcmp(&expected, &viaTable.data()[i], 4), 0) << "pixel " << i << " matrix " << d[0];
        }
    }
}

TEST(ColorMatrixTransform, CrossTermsPerPixelWithClampAndAlphaKept)
{
    const QopColorMatrix_t cm = {0.5f, 0.5f, 0.25f, -10, -1, 2, 0.1f, 3, 1e9f, -1e9f, 0, 0};
    const TestBitmap input = makeSeededNoise(33, 9, 5);
    TestBitmap bitmap = input;
    QopBitmapColorMatrixTransform(bitmap.get(), cm);
    for (size_t i = 0; i < input.pixelCount(); ++i) {
        QopColor_t expected = matrixPixel(cm, input.data()[i]);
        expected.a = input.data()[i].a;
        ASSERT_EQ(std::memcmp(&expected, &bitmap.data()[i], 4), 0) << "pixel " << i;
    }
}

TEST(ColorMatrixTransform, SinglePrecisionInTheStatedOrder)
{
    // ((2^24 + 1) + 1) - 2^24 in single precision, left to right, is 0 (each + 1 is lost to
    // rounding); any other grouping, or double precision, gives 1 or 2.
    const float big = 16777216.0f;
    const QopColorMatrix_t cm = {big, 1, 1, -big, big, 1, 1, -big, big, 1, 1, -big};
    TestBitmap bitmap(5, 1);
    bitmap.fill({1, 1, 1, 200});
    QopBitmapColorMatrixTransform(bitmap.get(), cm);
    for (size_t x = 0; x < 5; ++x) {
        EXPECT_EQ(bitmap.at(x, 0).r, 0) << x;
        EXPECT_EQ(bitmap.at(x, 0).g, 0) << x;
        EXPECT_EQ(bitmap.at(x, 0).b, 0) << x;
    }
}

TEST(ColorMatrixTransform, NonFiniteEntriesGiveDefinedBytes)
{
    // Infinite and NaN results must not reach a float-to-integer conversion out of range:
    // +inf saturates, -inf and NaN give 0.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const QopColorMatrix_t cm = {inf, 1e-30f, 0, 0, 0, -inf, 0, 0, 0, 0, nan, 0};
    TestBitmap bitmap(5, 1); // four pixels a run, and one left over
    bitmap.fill({10, 10, 10, 1});
    QopBitmapColorMatrixTransform(bitmap.get(), cm);
    for (size_t x = 0; x < 5; ++x) {
        EXPECT_EQ(bitmap.at(x, 0).r, 255) << x;
        EXPECT_EQ(bitmap.at(x, 0).g, 0) << x;
        EXPECT_EQ(bitmap.at(x, 0).b, 0) << x;
        EXPECT_EQ(bitmap.at(x, 0).a, 1) << x;
    }
}

TEST(ColorMatrixTransform, ABitmapWithoutPixelsIsLeftAlone)
{
    // Lent with a size but no pixels: every route (table, per pixel, blended, Color mode) returns.
    QopBitmap_t empty = {nullptr, 16, 16, nullptr};
    const QopColorMatrix_t diagonal = {1.4f, 0, 0, -20, 0, 0.6f, 0, 40, 0, 0, -1, 255};
    const QopColorMatrix_t crossed = {0.3f, 0.6f, 0.1f, 0, 0.2f, 0.7f, 0.1f, 5, 0.9f, 0, 0.4f, -3};
    for (const float *cm : {diagonal, crossed}) {
        QopBitmapColorMatrixTransform(&empty, cm);
        for (QopBlendMode_t mode : {QopBlendModeNormal, QopBlendModeColor})
            QopBitmapColorMatrixTransformAndBlendWithOriginal(&empty, cm, mode, 0.5f);
    }
    EXPECT_EQ(empty.data, nullptr);
}

TEST(ColorMatrixTransform, BlendWithOriginalEqualsBlendOfTheMatrixResult)
{
    const QopColorMatrix_t diagonal = {1.4f, 0, 0, -20, 0, 0.6f, 0, 40, 0, 0, -1, 255};
    const QopColorMatrix_t crossed = {0.3f, 0.6f, 0.1f, 0, 0.2f, 0.7f, 0.1f, 5, 0.9f, 0, 0.4f, -3};
    const TestBitmap input = makeSeededNoise(29, 7, 8);
    const QopBlendMode_t modes[] = {QopBlendModeNormal, QopBlendModeOverlay, QopBlendModeColor,
                                    QopBlendModeScreen, QopBlendModeDarken, QopBlendModeMultiply};
    for (const float *cm : {diagonal, crossed})
        for (QopBlendMode_t mode : modes)
            for (float amount : {0.0f, 0.35f, 1.0f}) {
                TestBitmap actual = input, expected = input;
                QopBitmapColorMatrixTransformAndBlendWithOriginal(actual.get(), cm, mode, amount);
                for (size_t i = 0; i < input.pixelCount(); ++i) {
                    const QopColor_t result = matrixPixel(cm, input.data()[i]);
                    QopColorBlend(&expected.data()[i], &result, mode, amount);
                }
                ASSERT_TRUE(imagesAgree(expected, actual, Tolerance{0}, "matrix-blend", true))
                    << "mode " << mode << " amount " << amount << (cm == diagonal ? " diagonal" : " crossed");
            }
}

// The vector passes take sixteen pixels at a time and the rest under a mask: on runs around that,
// every path gives the portable bytes, for tables that send each half of the levels anywhere and
// for matrices whose results overflow, underflow or are NaN.
TEST(ColorPasses, EveryInstructionSetPathGivesThePortableBytes)
{
    using qop_internal::KernelPath;
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const QopColorMatrix_t matrices[] = {
        {0.80f, 0.15f, 0.05f, 6.0f, 0.10f, 0.75f, 0.10f, -4.0f, 0.05f, 0.20f, 0.70f, 10.0f},
        {0.5f, 0.5f, 0.25f, -10, -1, 2, 0.1f, 3, 1e9f, -1e9f, 0, 0},
        {inf, 1e-30f, 0, 0, 0, -inf, 0, 0, 0, 0, nan, 0},
        {16777216.0f, 1, 1, -16777216.0f, -0.3f, 1.7f, 0.01f, 0.49f, 3e38f, 3e38f, 3e38f, 0},
    };
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        map.r[i] = uint8_t(255 - i);
        map.g[i] = uint8_t((i * 37 + 11) & 0xFF);
        map.b[i] = uint8_t(i < 128 ? i * 2 : 511 - 2 * i);
    }
    for (size_t count : {1u, 5u, 15u, 16u, 17u, 33u, 250u}) {
        const TestBitmap input = makeSeededNoise(count, 1, 40 + uint32_t(count));
        TestBitmap expected = input;
        qop_internal::mapChannels(expected.data(), count, &map, KernelPath::Portable);
        for (KernelPath path : {KernelPath::Best, KernelPath::Avx2}) {
            TestBitmap actual = input;
            qop_internal::mapChannels(actual.data(), count, &map, path);
            ASSERT_TRUE(actual == expected) << "tables, " << count << " pixels, path " << static_cast<int>(path);
        }
        for (const QopColorMatrix_t &cm : matrices) {
            TestBitmap portable = input;
            qop_internal::matrixPixels(portable.data(), count, cm, KernelPath::Portable);
            for (KernelPath path : {KernelPath::Best, KernelPath::Avx2}) {
                TestBitmap actual = input;
                qop_internal::matrixPixels(actual.data(), count, cm, path);
                ASSERT_TRUE(actual == portable) << "matrix " << cm[0] << ", " << count << " pixels, path "
                                                << static_cast<int>(path);
            }
        }
    }
}

TEST(IntensityMap, PicksTheRowOfTheLuminanceAndBlends)
{
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        map.r[i] = uint8_t(255 - i);
        map.g[i] = uint8_t(i / 2);
        map.b[i] = uint8_t(i == 255 ? 7 : 100);
    }
    TestBitmap bitmap(4, 1);
    bitmap.at(0, 0) = {255, 255, 255, 3}; // luminance 255: the last row, never one past it
    bitmap.at(1, 0) = {0, 0, 0, 255};
    bitmap.at(2, 0) = {255, 0, 0, 255};   // 0.212671 * 255 + 0.5 = 54.73: row 54
    bitmap.at(3, 0) = {10, 200, 30, 128};
    const TestBitmap input = bitmap;
    QopBitmapIntensityMap(bitmap.get(), &map, QopBlendModeNormal, 1.0);
    EXPECT_EQ(bitmap.at(0, 0).r, 0);
    EXPECT_EQ(bitmap.at(0, 0).g, 127);
    EXPECT_EQ(bitmap.at(0, 0).b, 7);
    EXPECT_EQ(bitmap.at(0, 0).a, 3);
    EXPECT_EQ(bitmap.at(1, 0).r, 255);
    EXPECT_EQ(bitmap.at(2, 0).r, 255 - 54);

    // Any mode and alpha: the map colour (opaque) blended onto the pixel.
    for (QopBlendMode_t mode : {QopBlendModeOverlay, QopBlendModeColor, QopBlendModeMultiply}) {
        TestBitmap actual = input, expected = input;
        QopBitmapIntensityMap(actual.get(), &map, mode, 0.6);
        for (size_t x = 0; x < 4; ++x) {
            const QopColor_t &p = input.at(x, 0);
            const int index = std::min(255, int(0.212671f * p.r + 0.71516f * p.g + 0.072169f * p.b + 0.5f));
            const QopColor_t c{map.r[index], map.g[index], map.b[index], 255};
            QopColorBlend(&expected.at(x, 0), &c, mode, 0.6f);
        }
        EXPECT_TRUE(imagesAgree(expected, actual, Tolerance{0}, "intensity-map", true)) << mode;
    }
}

TEST(ToneCurves, ContrastCurveAndGammaTables)
{
    TestBitmap ramp(256, 1);
    for (int i = 0; i < 256; ++i)
        ramp.at(size_t(i), 0) = {uint8_t(i), uint8_t(i), uint8_t(i), 42};

    struct Case {
        const char *name;
        bool contrast;
        float value;
        std::vector<std::pair<int, int>> expected; // input level -> output level
    };
    const Case cases[] = {
        // At its identity setting the curve still maps 255 to 254 (the upper half starts at 127).
        {"contrast 1", true, 1.0f, {{0, 0}, {64, 64}, {127, 127}, {128, 127}, {200, 199}, {255, 254}}},
        // Value 0 stands for 1e-8: a step, with 0 kept at 0 (a plain exponent 0 would lift it).
        {"contrast 0", true, 0.0f, {{0, 0}, {1, 127}, {127, 127}, {128, 127}, {254, 127}, {255, 254}}},
        {"contrast 2", true, 2.0f, {{0, 0}, {64, 32}, {127, 127}, {160, 127 + 64}, {255, 254}}},
        {"gamma 1", false, 1.0f, {{0, 0}, {1, 1}, {128, 128}, {254, 254}, {255, 255}}},
        {"gamma 2", false, 2.0f, {{0, 0}, {128, 64}, {255, 255}}},
        {"gamma 0.5", false, 0.5f, {{0, 0}, {64, 128}, {255, 255}}},
    };
    for (const Case &c : cases) {
        TestBitmap bitmap = ramp;
        if (c.contrast)
            QopBitmapContrastCurve(bitmap.get(), c.value);
        else
            QopBitmapGamma(bitmap.get(), c.value);
        for (auto [in, out] : c.expected) {
            EXPECT_EQ(bitmap.at(size_t(in), 0).r, out) << c.name << " at " << in;
            EXPECT_EQ(bitmap.at(size_t(in), 0).b, out) << c.name << " at " << in;
        }
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(bitmap.at(size_t(i), 0).a, 42);
    }
}
