// Monochrome and per-channel noise (seed derivation, draw order, saturation) and the
// diamond-square fractal (its square, its draw order, and sizes too small to hold one).
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopNoise.h"
#include "QopLite/QopRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace qop_test;

namespace {

uint32_t lcgStep(uint32_t s) { return s * 69069u + 1u; }

// The uniform draws of the generator that draws the grain for seed: it is seeded with the first
// value of a generator seeded with seed.
std::vector<float> grainDraws(uint32_t seed, size_t count)
{
    std::vector<float> out;
    for (uint32_t s = lcgStep(seed); out.size() < count;) {
        s = lcgStep(s);
        out.push_back(float(s) * 0x1p-32f);
    }
    return out;
}

int grainOf(float u, float intensity) { return int((2.0f * u - 1.0f) * intensity * 255.0f); }

uint8_t withGrain(uint8_t c, int n) { return uint8_t(std::clamp(c + n, 0, 255)); }

bool isGrey(const QopColor_t &c) { return c.r == c.g && c.g == c.b; }

} // namespace

TEST(Noise, MonochromeGrainFollowsTheDerivedSeed)
{
    TestBitmap bitmap = makeSeededNoise(13, 5, 4);
    const TestBitmap input = bitmap;
    const float intensity = 0.3f;
    QopBitmapAddNoise(bitmap.get(), intensity, 1234);
    const std::vector<float> u = grainDraws(1234, input.pixelCount());
    for (size_t i = 0; i < input.pixelCount(); ++i) {
        const int n = grainOf(u[i], intensity);
        const QopColor_t &in = input.data()[i], &out = bitmap.data()[i];
        ASSERT_EQ(out.r, withGrain(in.r, n)) << i;
        ASSERT_EQ(out.g, withGrain(in.g, n)) << i;
        ASSERT_EQ(out.b, withGrain(in.b, n)) << i;
        ASSERT_EQ(out.a, 255) << i;
    }

    TestBitmap again = input, other = input;
    QopBitmapAddNoise(again.get(), intensity, 1234);
    QopBitmapAddNoise(other.get(), intensity, 1235);
    EXPECT_TRUE(again == bitmap);
    EXPECT_FALSE(other == bitmap);
}

TEST(Noise, PerChannelGrainDrawsRedGreenBlueInTurn)
{
    TestBitmap bitmap(6, 4);
    bitmap.fill({128, 60, 200, 0});
    const float intensity = 0.5f;
    QopBitmapAddChannelIndependentNoise(bitmap.get(), intensity, 42);
    const std::vector<float> u = grainDraws(42, 3 * bitmap.pixelCount());
    for (size_t i = 0; i < bitmap.pixelCount(); ++i) {
        const QopColor_t &out = bitmap.data()[i];
        ASSERT_EQ(out.r, withGrain(128, grainOf(u[3 * i], intensity))) << i;
        ASSERT_EQ(out.g, withGrain(60, grainOf(u[3 * i + 1], intensity))) << i;
        ASSERT_EQ(out.b, withGrain(200, grainOf(u[3 * i + 2], intensity))) << i;
        ASSERT_EQ(out.a, 255) << i;
    }

    // Works on pixels only: a bitmap lent without them is left alone.
    QopBitmap_t empty{nullptr, 8, 8, nullptr};
    QopBitmapAddChannelIndependentNoise(&empty, intensity, 42);
    EXPECT_EQ(empty.data, nullptr);
}

TEST(Noise, ZeroExtremeAndUndefinedIntensity)
{
    const TestBitmap input = makeSeededNoise(31, 7, 9);
    using Fn = void (*)(QopBitmap_t *, float, uint32_t);
    for (Fn addNoise : {Fn(QopBitmapAddNoise), Fn(QopBitmapAddChannelIndependentNoise)}) {
        // Intensity 0 (or NaN) adds nothing but still makes every pixel opaque.
        for (float intensity : {0.0f, std::numeric_limits<float>::quiet_NaN()}) {
            TestBitmap bitmap = input;
            addNoise(bitmap.get(), intensity, 77);
            for (size_t i = 0; i < input.pixelCount(); ++i) {
                const QopColor_t &in = input.data()[i], &out = bitmap.data()[i];
                ASSERT_TRUE(out.r == in.r && out.g == in.g && out.b == in.b && out.a == 255) << i;
            }
        }
        // Huge intensities saturate every channel to 0 or 255 (and never overflow the grain).
        for (float intensity : {1e30f, -1e30f, std::numeric_limits<float>::infinity()}) {
            TestBitmap bitmap = input;
            addNoise(bitmap.get(), intensity, 77);
            int saturated = 0, zero = 0;
            for (size_t i = 0; i < input.pixelCount(); ++i) {
                const QopColor_t &out = bitmap.data()[i];
                for (uint8_t c : {out.r, out.g, out.b}) {
                    ASSERT_TRUE(c == 0 || c == 255) << intensity;
                    saturated += c == 255;
                    zero += c == 0;
                }
            }
            EXPECT_GT(saturated, 0) << intensity;
            EXPECT_GT(zero, 0) << intensity;
        }
    }
}

namespace {

// Runs the fractal on a bitmap filled with a colour that no grey pixel can equal.
TestBitmap fractal(size_t width, size_t height, float amp = 100.0f, float h = 0.5f)
{
    TestBitmap bitmap(width, height);
    bitmap.fill({1, 2, 3, 77});
    std::vector<float> lineL(std::max(width, height) + 1), lineT(lineL.size());
    QopBitmapDiamondSquare(bitmap.get(), amp, h, lineL.data(), lineT.data());
    return bitmap;
}

bool untouched(const QopColor_t &c) { return c.r == 1 && c.g == 2 && c.b == 3 && c.a == 77; }

} // namespace

TEST(DiamondSquare, FillsTheLargestSquareOfSideTwoToTheKPlusOne)
{
    struct Case {
        size_t width, height, side; // side 0: nothing is touched
    };
    const Case cases[] = {{5, 5, 5}, {6, 6, 5}, {9, 7, 5}, {17, 40, 17}, {3, 3, 3},
                          {1, 1, 0}, {0, 0, 0}, {1, 9, 0}, {9, 1, 0}};
    for (const Case &c : cases) {
        const TestBitmap bitmap = fractal(c.width, c.height);
        for (size_t y = 0; y < c.height; ++y)
            for (size_t x = 0; x < c.width; ++x) {
                const QopColor_t &p = bitmap.at(x, y);
                if (x < c.side && y < c.side)
                    ASSERT_TRUE(isGrey(p) && p.a == 77) << c.width << "x" << c.height << " at " << x << "," << y;
                else
                    ASSERT_TRUE(untouched(p)) << c.width << "x" << c.height << " at " << x << "," << y;
            }
    }
    // 2 x 2 is the smallest square; the row below it stays.
    const TestBitmap two = fractal(2, 3);
    EXPECT_TRUE(isGrey(two.at(0, 0)) && isGrey(two.at(1, 1)));
    EXPECT_TRUE(untouched(two.at(0, 2)) && untouched(two.at(1, 2)));
}

TEST(DiamondSquare, FixedSeedTiledEdgesAndFlatWithoutAmplitude)
{
    // The generator is seeded with 1234 every time: the same size always gives the same picture.
    EXPECT_TRUE(fractal(17, 17) == fractal(17, 17));
    const TestBitmap big = fractal(33, 33);
    for (size_t i = 0; i <= 32; ++i) {
        EXPECT_EQ(big.at(0, i).r, big.at(32, i).r) << i; // left line on both sides
        EXPECT_EQ(big.at(i, 0).r, big.at(i, 32).r) << i; // top line on both ends
    }
    for (auto [x, y] : {std::pair{0, 0}, {32, 0}, {0, 32}, {32, 32}})
        EXPECT_EQ(big.at(size_t(x), size_t(y)).r, 128);

    const TestBitmap flat = fractal(9, 9, 0.0f);
    for (size_t i = 0; i < flat.pixelCount(); ++i)
        ASSERT_EQ(flat.data()[i].r, 128) << i;

    // One scratch line for both edges (as the legacy texture passes it): both edges then show
    // the second line drawn.
    TestBitmap shared(9, 9);
    std::vector<float> line(9);
    QopBitmapDiamondSquare(shared.get(), 100.0f, 0.5f, line.data(), line.data());
    for (size_t i = 0; i <= 8; ++i)
        EXPECT_EQ(shared.at(0, i).r, shared.at(i, 0).r) << i;
}

TEST(DiamondSquare, DrawOrderOfEdgesCentresAndMidpoints)
{
    // 5 x 5 (n = 4). Draws 1-3 make the left line, 4-6 the top line; round one (step 4) draws
    // the centre (7); round two (step 2) draws the four centres (8-11), then per cell in
    // reading order the midpoints it owns: cell (0,0) right (12) and bottom (13); cell (2,0)
    // left (14, over 12) and bottom (15); cell (0,2) right (16) and top (17, over 13); cell
    // (2,2) left (18, over 16) and top (19, over 15).
    const float amp = 100.0f, h = 0.5f;
    const TestBitmap b = fractal(5, 5, amp, h);
    std::vector<float> u;
    for (uint32_t s = 1234; u.size() < 19;) {
        s = lcgStep(s);
        u.push_back(float(s) * 0x1p-32f);
    }
    const float decay = powf(2.0f, -h);
    const float a1 = amp * decay, a2 = a1 * decay;
    auto r = [&](int x, int y) { return int(b.at(size_t(x), size_t(y)).r); };
    auto value = [](float uu, float a, int sum) {
        return int(std::clamp(std::trunc(uu * a + 0.25f * float(sum)), 0.0f, 255.0f));
    };
    EXPECT_EQ(r(0, 2), int((128.0f + 128.0f) * 0.5f + amp * (u[0] - 0.5f)));
    EXPECT_EQ(r(2, 0), int((128.0f + 128.0f) * 0.5f + amp * (u[3] - 0.5f)));
    EXPECT_EQ(r(2, 2), value(u[6], a1, 4 * 128));
    EXPECT_EQ(r(3, 3), value(u[10], a2, r(2, 2) + r(4, 2) + r(2, 4) + r(4, 4)));
    EXPECT_EQ(r(2, 1), value(u[13], a2, r(2, 0) + r(2, 2) + r(1, 1) + r(3, 1)));
    EXPECT_EQ(r(1, 2), value(u[16], a2, r(0, 2) + r(2, 2) + r(1, 1) + r(1, 3)));
    EXPECT_EQ(r(2, 3), value(u[17], a2, r(2, 2) + r(2, 4) + r(1, 3) + r(3, 3)));
    EXPECT_EQ(r(3, 2), value(u[18], a2, r(2, 2) + r(4, 2) + r(3, 1) + r(3, 3)));
}
