// The box-hybrid filter on the CPU: the error function it is built from, the shape and width of
// the blur it makes, its gain (a uniform image is unchanged), the running-sum machinery along rows
// and columns, sharpening, and the operations built on the filter.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopConvolution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using namespace qop_test;

namespace {

TestBitmap transposed(const TestBitmap &image)
{
    TestBitmap out(image.height(), image.width());
    for (size_t y = 0; y < image.height(); ++y)
        for (size_t x = 0; x < image.width(); ++x)
            out.at(y, x) = image.at(x, y);
    return out;
}

TestBitmap uniform(size_t width, size_t height, QopColor_t color)
{
    TestBitmap image(width, height);
    image.fill(color);
    return image;
}

} // namespace

TEST(ConvolutionMath, ErrorFunctionFollowsTheReference)
{
    for (float x = -4.0f; x <= 4.0f; x += 0.125f)
        EXPECT_NEAR(QopMathErf(x), std::erf(static_cast<double>(x)), 2e-6) << x;
    EXPECT_EQ(QopMathErfccheb(-0.5f), 0.0f);
    EXPECT_NEAR(QopMathErfccheb(1.0f), std::erfc(1.0), 1e-6);
    EXPECT_NEAR(QopMathNormalCDF(0.0f, 2.5f), 0.5f, 1e-6);
    EXPECT_NEAR(QopMathNormalCDF(2.5f, 2.5f), 0.841344746, 1e-5); // one standard deviation
}

// A one-pixel white line on black blurs into a symmetric profile that keeps the line's energy and
// whose spread follows sigma = (W + H) x amount / 40000. Shapes of width W + H = 1120 and 7000 are
// made as long thin strips, so the large case stays cheap; the line crosses the strip.
TEST(BoxHybridBlur, LineProfileHasTheKernelsWidthAndEnergy)
{
    struct Case {
        size_t extent;
        float amount;
    };
    const Case cases[] = {{1120, 30.0f}, {1120, 100.0f}, {7000, 30.0f}, {7000, 100.0f}};
    for (const Case &c : cases) {
        for (bool alongRows : {true, false}) {
            const size_t length = c.extent - 3;
            TestBitmap line = alongRows ? uniform(length, 3, {0, 0, 0, 255}) : uniform(3, length, {0, 0, 0, 255});
            const size_t centre = length / 2;
            for (size_t k = 0; k < 3; ++k)
                (alongRows ? line.at(centre, k) : line.at(k, centre)) = {255, 255, 255, 255};
            if (alongRows)
                QopBoxHybridSharpenX(line.get(), -c.amount);
            else
                QopBoxHybridSharpenY(line.get(), -c.amount);

            const double sigma = static_cast<double>(c.extent) * c.amount / 40000.0;
            double total = 0.0, moment = 0.0;
            int worstAsymmetry = 0, nonZero = 0;
            for (size_t i = 0; i < length; ++i) {
                const int v = (alongRows ? line.at(i, 1) : line.at(1, i)).r;
                const double d = static_cast<double>(i) - static_cast<double>(centre);
                total += v;
                nonZero += v != 0;
                moment += v * d * d;
                const size_t mirror = 2 * centre - i;
                if (mirror < length) {
                    const int m = (alongRows ? line.at(mirror, 1) : line.at(1, mirror)).r;
                    worstAsymmetry = std::max(worstAsymmetry, std::abs(v - m));
                }
            }
            const std::string what = std::to_string(c.extent) + " at " + std::to_string(c.amount) +
                                     (alongRows ? " along rows" : " along columns");
            // Every output rounds on its own; a wide profile of small values gathers up to a few
            // tenths of a level from each.
            EXPECT_NEAR(total, 255.0, 3.0 + 0.2 * nonZero) << what;
            EXPECT_LE(worstAsymmetry, 0) << what;
            const double ratio = moment / total / (sigma * sigma);
            EXPECT_GE(ratio, 0.65) << what;
            EXPECT_LE(ratio, 1.15) << what;
        }
    }
}

// The truncated weights lose up to 1 % of the gain; the filter divides by the gain it actually has,
// so flat areas keep their exact level, for blur and sharpen, wide images and one-pixel strips.
TEST(BoxHybridBlur, UniformImagesAreUnchanged)
{
    struct Case {
        size_t width, height;
    };
    // The wide row: running sums of white pass 2^24 and the products of kernel differences with
    // them pass 2^31 (a 32-bit signed accumulator would overflow).
    const Case sizes[] = {{160, 120}, {1, 37}, {2, 2}, {70001, 1}};
    for (const Case &s : sizes) {
        const bool wide = s.width > 1000;
        for (uint8_t level : {uint8_t(0), uint8_t(1), uint8_t(128), uint8_t(254), uint8_t(255)}) {
            if (wide && level != 255)
                continue;
            for (float amount : {-5.0f, -100.0f, 30.0f}) {
                const TestBitmap expected = uniform(s.width, s.height, {level, level, level, 77});
                TestBitmap image = expected;
                QopConvolutionEffectBoxHybridSharpen(image.get(), amount);
                EXPECT_TRUE(image == expected) << s.width << " x " << s.height << " level " << int(level)
                                               << " amount " << amount;
            }
        }
    }
}

TEST(BoxHybridBlur, AmountZeroIsANoOp)
{
    const TestBitmap photo = makePhotoLike(101, 67);
    TestBitmap image = photo;
    QopConvolutionEffectBoxHybridSharpen(image.get(), 0.0f);
    QopSharpness(image.get(), 0.0f, -0.5f, 1.5f);
    QopConvolutionProcessorSharpenAndBlendWithOriginal(image.get(), 0.0f, 1.0f, QopBlendModeNormal);
    QopConvolutionProcessorSharpenAndBlendWithOriginal(image.get(), -30.0f, 0.0f, QopBlendModeNormal);
    EXPECT_TRUE(image == photo);
}

// The column pass filters columns in strips; it must equal the row pass on the transposed image,
// whatever the strip boundaries (widths around the strip size and a ragged last strip).
TEST(BoxHybridBlur, ColumnPassEqualsRowPassOfTheTransposedImage)
{
    for (size_t width : {1u, 31u, 32u, 33u, 97u}) {
        const TestBitmap photo = makeSeededNoise(width, 53, 11, true);
        for (float amount : {-5.0f, -60.0f, 45.0f}) {
            TestBitmap columns = photo;
            QopBoxHybridSharpenY(columns.get(), amount);
            TestBitmap rows = transposed(photo);
            QopBoxHybridSharpenX(rows.get(), amount);
            EXPECT_TRUE(columns == transposed(rows)) << width << " at " << amount;
        }
    }
}

// Sharpening is (3 x original - blur + 1) / 2 of the blur that the same negative amount makes,
// clamped; alpha is never touched.
TEST(BoxHybridBlur, SharpenPushesAwayFromTheBlur)
{
    const TestBitmap photo = makeSeededNoise(120, 40, 5, false);
    TestBitmap blurred = photo;
    QopBoxHybridSharpenX(blurred.get(), -40.0f);
    TestBitmap sharpened = photo;
    QopBoxHybridSharpenX(sharpened.get(), 40.0f);
    for (size_t y = 0; y < photo.height(); ++y) {
        for (size_t x = 0; x < photo.width(); ++x) {
            const QopColor_t &o = photo.at(x, y), &b = blurred.at(x, y), &s = sharpened.at(x, y);
            const uint8_t oc[3] = {o.r, o.g, o.b}, bc[3] = {b.r, b.g, b.b}, sc[3] = {s.r, s.g, s.b};
            for (int c = 0; c < 3; ++c) {
                const int expected = std::clamp((3 * oc[c] - bc[c] + 1) / 2, 0, 255);
                ASSERT_EQ(sc[c], expected) << x << ", " << y << " channel " << c;
            }
            ASSERT_EQ(s.a, o.a);
            ASSERT_EQ(b.a, o.a);
        }
    }
}

// The whole-image sharpen blends the two-dimensional blur away from the original, as the GPU does:
// sharpening rows and then columns would sharpen the sharpened rows again and overshoot at corners.
TEST(BoxHybridBlur, SharpenBlendsTheTwoDimensionalBlurAway)
{
    struct Case {
        float amount, blurredWeight, originalWeight;
        bool viaSharpness;
    };
    const Case cases[] = {{40.0f, -0.5f, 1.5f, false}, {40.0f, -0.5f, 1.5f, true}, {25.0f, -1.0f, 2.0f, true}};
    const TestBitmap photo = makePhotoLike(90, 70);
    for (const Case &c : cases) {
        TestBitmap expected = photo;
        QopConvolutionEffectBoxHybridSharpen(expected.get(), -c.amount);
        QopBitmapBlendBitmapSeparate(expected.get(), const_cast<QopBitmap_t *>(photo.get()), c.blurredWeight,
                                     c.originalWeight);
        TestBitmap image = photo;
        if (c.viaSharpness)
            QopSharpness(image.get(), c.amount, c.blurredWeight, c.originalWeight);
        else
            QopConvolutionEffectBoxHybridSharpen(image.get(), c.amount);
        EXPECT_TRUE(image == expected) << c.amount << " " << c.blurredWeight << " " << c.viaSharpness;
    }

    TestBitmap dot = uniform(201, 201, {100, 100, 100, 255});
    dot.at(100, 100) = {200, 200, 200, 255};
    TestBitmap separable = dot;
    QopBoxHybridSharpenX(separable.get(), 100.0f);
    QopBoxHybridSharpenY(separable.get(), 100.0f);
    QopConvolutionEffectBoxHybridSharpen(dot.get(), 100.0f);
    // Every neighbour of the dot, diagonal ones included, dips below the background; the row-then-
    // column form lifts the diagonal ones above it and clips the dot itself.
    for (auto [x, y] : {std::pair{101, 100}, std::pair{100, 101}, std::pair{101, 101}, std::pair{99, 99}})
        EXPECT_LT(dot.at(x, y).r, 100) << x << ", " << y;
    EXPECT_LT(dot.at(100, 100).r, 255);
    EXPECT_GT(separable.at(101, 101).r, 100);
    EXPECT_EQ(separable.at(100, 100).r, 255);
}

TEST(BoxHybridBlur, SoftFocusMixesHalfTheBlurWithMoreThanHalfTheOriginal)
{
    TestBitmap flat = uniform(64, 48, {100, 200, 250, 255});
    QopConvolutionEffectSoftFocus(flat.get());
    EXPECT_TRUE(flat == uniform(64, 48, {110, 220, 255, 255})); // 0.5 v + 0.6 v, truncated, clamped

    const TestBitmap photo = makePhotoLike(90, 70);
    TestBitmap expected = photo;
    QopConvolutionEffectBoxHybridSharpen(expected.get(), -100.0f);
    QopBitmapBlendBitmapSeparate(expected.get(), const_cast<QopBitmap_t *>(photo.get()), 0.5f, 0.6f);
    TestBitmap image = photo;
    QopConvolutionEffectSoftFocus(image.get());
    EXPECT_TRUE(image == expected);
}

TEST(BoxHybridBlur, SharpenAndBlendMixesTheFilteredCopyBackIn)
{
    const TestBitmap photo = makePhotoLike(80, 60);
    TestBitmap filtered = photo;
    QopConvolutionEffectBoxHybridSharpen(filtered.get(), 40.0f);
    TestBitmap full = photo;
    QopConvolutionProcessorSharpenAndBlendWithOriginal(full.get(), 40.0f, 1.0f, QopBlendModeNormal);
    EXPECT_TRUE(imagesAgree(filtered, full, {1, -1, -1}, "sharpen_blend_full"));

    TestBitmap overlay = photo;
    QopConvolutionProcessorSharpenAndBlendWithOriginal(overlay.get(), 40.0f, 0.5f, QopBlendModeOverlay);
    TestBitmap expected = photo;
    QopBitmapBlendBitmap(expected.get(), filtered.get(), QopBlendModeOverlay, 0.5f);
    EXPECT_TRUE(overlay == expected);
}

TEST(BoxHybridBlur, IntegralLinesHoldRunningSums)
{
    const TestBitmap photo = makeSeededNoise(9, 7, 3, true);
    std::vector<uint32_t> row(9 * 4), column(7 * 4);
    QopBuildIntegralLineX(photo.get(), 4, row.data());
    QopBuildIntegralLineY(photo.get(), 6, column.data());
    uint32_t r = 0, b = 0;
    for (size_t x = 0; x < 9; ++x) {
        r += photo.at(x, 4).r;
        EXPECT_EQ(row[x * 4], r);
        EXPECT_EQ(row[x * 4 + 3], 0u);
    }
    for (size_t y = 0; y < 7; ++y) {
        b += photo.at(6, y).b;
        EXPECT_EQ(column[y * 4 + 2], b);
    }
}
