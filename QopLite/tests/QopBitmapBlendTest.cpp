// Bitmap-level blends: the lookup-table and row paths against the one-colour blend they stand
// for, the resampled and masked blends by hand, the LAB conversions, and the GPU-only
// operations that must leave a CPU bitmap alone.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"

// The row loops' private entry points, to run each instruction-set path.
#include "../src/c/QopBlendRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

using namespace qop_test;

namespace {

const QopBlendMode_t kAllModes[] = {QopBlendModeNormal, QopBlendModeOverlay, QopBlendModeColor,
                                    QopBlendModeScreen, QopBlendModeDarken, QopBlendModeMultiply};
const float kAlphas[] = {0.0f, 0.3f, 0.5f, 1.0f, 1.7f, -0.4f};

// Stands for a GPU record in tests of paths that must not touch it.
QopGLData_t *fakeGLData() { return reinterpret_cast<QopGLData_t *>(uintptr_t(0x1000)); }

std::string show(const QopColor_t &c)
{
    char text[24];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
    return text;
}

} // namespace

TEST(QopBitmapHistogramTransform, MapsEachChannelThroughItsOwnTableAndKeepsAlpha)
{
    TestBitmap image = makeSeededNoise(37, 11, 1);
    TestBitmap original = image;
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        map.r[i] = uint8_t(255 - i);
        map.g[i] = uint8_t(i / 2);
        map.b[i] = uint8_t((i * 7) & 0xFF);
    }
    QopBitmapHistogramTransform(image.get(), &map);
    for (size_t i = 0; i < image.pixelCount(); ++i) {
        const QopColor_t &o = original.data()[i];
        QopColor_t expected = {map.r[o.r], map.g[o.g], map.b[o.b], o.a};
        ASSERT_EQ(show(image.data()[i]), show(expected)) << "pixel " << i;
    }
}

TEST(QopBitmapBlendWithColor, EqualsTheOneColourBlendOnEveryPixel)
{
    const TestBitmap original = makeSeededNoise(23, 9, 2);
    const QopColor_t colours[] = {{200, 40, 90, 255}, {12, 250, 128, 100}, {128, 128, 128, 0}};
    for (QopBlendMode_t mode : kAllModes)
        for (float alpha : kAlphas)
            for (const QopColor_t &colour : colours) {
                TestBitmap viaTable = original, viaBlend = original, viaAlias = original;
                QopBitmapBlendWithColor(viaTable.get(), &colour, mode, alpha);
                QopBitmapBlend(viaAlias.get(), &colour, mode, alpha);
                for (size_t i = 0; i < viaBlend.pixelCount(); ++i)
                    QopColorBlend(viaBlend.data() + i, &colour, mode, alpha);
                ASSERT_TRUE(imagesAgree(viaBlend, viaTable, Tolerance{0}, "blend-with-color", true))
                    << "mode " << mode << " alpha " << alpha << " colour " << show(colour);
                ASSERT_TRUE(viaAlias == viaTable);
            }
}

TEST(QopBitmapBlendBitmap, EqualsTheOneColourBlendOverTheCommonArea)
{
    // dst is wider, src taller: only 5 x 6 pixels overlap, and each image is addressed with its
    // own width.
    const TestBitmap dstOriginal = makeSeededNoise(7, 6, 3);
    const TestBitmap src = makeSeededNoise(5, 9, 4);
    for (QopBlendMode_t mode : kAllModes)
        for (float alpha : kAlphas) {
            TestBitmap actual = dstOriginal, expected = dstOriginal;
            QopBitmapBlendBitmap(actual.get(), src.get(), mode, alpha);
            for (size_t y = 0; y < 6; ++y)
                for (size_t x = 0; x < 5; ++x)
                    QopColorBlend(&expected.at(x, y), &src.at(x, y), mode, alpha);
            ASSERT_TRUE(imagesAgree(expected, actual, Tolerance{0}, "blend-bitmap", true))
                << "mode " << mode << " alpha " << alpha;
        }
}

// Rows run eight pixels at a time where the processor allows, then pixel by pixel: widths on
// both sides of the eight, and a remainder, must all match the one-colour blend.
TEST(QopBitmapBlendBitmap, EveryRowWidthMatchesTheOneColourBlend)
{
    for (size_t width : {1u, 8u, 9u, 67u}) {
        const TestBitmap dstOriginal = makePhotoLike(width, 4);
        const TestBitmap src = makeSeededNoise(width, 4, 5);
        for (QopBlendMode_t mode : kAllModes)
            for (float alpha : kAlphas) {
                TestBitmap actual = dstOriginal, expected = dstOriginal;
                QopBitmapBlendBitmap(actual.get(), src.get(), mode, alpha);
                for (size_t i = 0; i < expected.pixelCount(); ++i)
                    QopColorBlend(expected.data() + i, src.data() + i, mode, alpha);
                ASSERT_TRUE(imagesAgree(expected, actual, Tolerance{0}, "blend-bitmap-rows", true))
                    << "width " << width << " mode " << mode << " alpha " << alpha;
            }
    }
}

TEST(QopBitmapBlendBitmapSeparate, LongRowsMatchPixelsBlendedOneByOne)
{
    const TestBitmap dstOriginal = makePhotoLike(67, 3);
    const TestBitmap src = makeSeededNoise(67, 3, 15);
    for (float dstAmount : {0.7f, 1.0f, -0.3f})
        for (float srcAmount : {0.45f, 2.5f}) {
            TestBitmap whole = dstOriginal;
            QopBitmapBlendBitmapSeparate(whole.get(), const_cast<QopBitmap_t *>(src.get()), dstAmount, srcAmount);
            for (size_t i = 0; i < whole.pixelCount(); ++i) {
                TestBitmap one(1, 1), srcOne(1, 1);
                one.data()[0] = dstOriginal.data()[i];
                srcOne.data()[0] = src.data()[i];
                QopBitmapBlendBitmapSeparate(one.get(), srcOne.get(), dstAmount, srcAmount);
                ASSERT_EQ(show(whole.data()[i]), show(one.data()[0]))
                    << "pixel " << i << " amounts " << dstAmount << ", " << srcAmount;
            }
        }
}

// The AVX-512 loop takes sixteen pixels at a time and the rest under a mask, the AVX2 loop eight
// and the rest one by one: each path, on widths around both, with weights that push the results
// out of range or make them NaN, gives the bytes of the one-colour blend (the portable loop's
// weighted sum for the separate blend). dst is wider than src, so each is addressed by its own
// width and the columns past src stay as they were.
TEST(QopBitmapBlendRows, EveryInstructionSetPathGivesThePortableBytes)
{
    using qop_internal::KernelPath;
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const float weights[] = {0.0f, 0.3f, 0.5f, 1.0f, 1.7f, -0.4f, 1e30f, -1e30f, inf, nan};
    const QopBlendMode_t modes[] = {QopBlendModeNormal, QopBlendModeOverlay, QopBlendModeScreen, QopBlendModeDarken,
                                    QopBlendModeMultiply};
    for (size_t width : {1u, 7u, 15u, 16u, 17u, 33u, 67u}) {
        const TestBitmap dstOriginal = makeSeededNoise(width + 5, 3, 21);
        const TestBitmap src = makeSeededNoise(width, 3, 22);
        for (KernelPath path : {KernelPath::Best, KernelPath::Avx2, KernelPath::Portable}) {
            for (QopBlendMode_t mode : modes)
                for (float alpha : weights) {
                    TestBitmap actual = dstOriginal, expected = dstOriginal;
                    qop_internal::blendRows(actual.get(), src.get(), 3, width, mode, alpha, path);
                    for (size_t y = 0; y < 3; ++y)
                        for (size_t x = 0; x < width; ++x)
                            QopColorBlend(&expected.at(x, y), &src.at(x, y), mode, alpha);
                    ASSERT_TRUE(actual == expected) << "width " << width << " path " << static_cast<int>(path)
                                                    << " mode " << mode << " alpha " << alpha;
                }
            for (float dstAmount : weights)
                for (float srcAmount : {0.45f, -2.5f, 1e30f, nan}) {
                    TestBitmap actual = dstOriginal, expected = dstOriginal;
                    qop_internal::weightedSumRows(actual.get(), src.get(), 3, width, dstAmount, srcAmount, path);
                    qop_internal::weightedSumRows(expected.get(), src.get(), 3, width, dstAmount, srcAmount,
                                                  KernelPath::Portable);
                    ASSERT_TRUE(actual == expected) << "width " << width << " path " << static_cast<int>(path)
                                                    << " amounts " << dstAmount << ", " << srcAmount;
                }
        }
    }
}

TEST(QopBitmapBlendBitmap, DoesNothingOnAGPUBitmap)
{
    TestBitmap dst = makeSeededNoise(4, 4, 6);
    const TestBitmap before = dst;
    const TestBitmap src = makeSeededNoise(4, 4, 7);
    dst.get()->glData = fakeGLData();
    QopBitmapBlendBitmap(dst.get(), src.get(), QopBlendModeNormal, 1.0f);
    dst.get()->glData = nullptr;
    EXPECT_TRUE(dst == before);
}

TEST(QopBitmapBlendBitmapSeparate, WeightedSumTruncatedAndClamped)
{
    TestBitmap dst(3, 2), src(2, 3);
    dst.fill({100, 3, 250, 44});
    src.fill({200, 1, 250, 9});
    QopBitmapBlendBitmapSeparate(dst.get(), src.get(), 0.5f, 0.75f);
    // 50 + 150; 1.5 + 0.75 = 2.25 (no rounding term); 125 + 187.5 clamps.
    for (size_t y = 0; y < 2; ++y) {
        EXPECT_EQ(show(dst.at(0, y)), show(QopColor_t{200, 2, 255, 44}));
        EXPECT_EQ(show(dst.at(1, y)), show(QopColor_t{200, 2, 255, 44}));
        EXPECT_EQ(show(dst.at(2, y)), show(QopColor_t{100, 3, 250, 44})) << "outside the common columns";
    }
    dst.fill({100, 3, 250, 44});
    QopBitmapBlendBitmapSeparate(dst.get(), src.get(), 1.0f, -0.5f); // 0, 2.5, 125
    EXPECT_EQ(show(dst.at(0, 0)), show(QopColor_t{0, 2, 125, 44}));
}

TEST(QopBitmapBlendBitmapTransform, IdentityCopiesAndTheEdgeColumnTurnsWhite)
{
    TestBitmap src = makeSeededNoise(4, 3, 8, true);
    TestBitmap dst(7, 5);
    dst.fill({10, 20, 30, 40});
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    QopBitmapBlendBitmapTransform(dst.get(), src.get(), QopBlendModeNormal, 1.0f, identity);
    for (size_t y = 0; y < 5; ++y)
        for (size_t x = 0; x < 7; ++x) {
            QopColor_t expected;
            if (x < 4 && y < 3)
                expected = {src.at(x, y).r, src.at(x, y).g, src.at(x, y).b, 40};
            else if (x <= 4 && y <= 3)
                expected = {255, 255, 255, 40}; // on the edge: sampled (all white), blended, alpha kept
            else
                expected = {255, 255, 255, 255}; // beyond it: set to opaque white
            ASSERT_EQ(show(dst.at(x, y)), show(expected)) << x << ", " << y;
        }
}

TEST(QopBitmapBlendBitmapTransform, BilinearSamplesFadeToWhiteOnBothSides)
{
    TestBitmap src(2, 1);
    src.at(0, 0) = {0, 0, 0, 255};
    src.at(1, 0) = {100, 100, 100, 255};
    struct Case {
        double transform[6];
        uint8_t expected[6];
        const char *why;
    } cases[] = {
        // Stretched twice: sx = x / 2. Half-way samples average; sx = 1.5 averages 100 with the
        // white beyond the edge; sx = 2 is all white but still blended (alpha kept).
        {{2, 0, 0, 0, 1, 0}, {0, 50, 100, 177, 255, 255}, "stretch"},
        // Shifted right by half a pixel: sx = x - 0.5. At sx = -0.5 the left neighbour is
        // column -1 (white), not column 0 and an extrapolation to the right of it.
        {{1, 0, 0.5, 0, 1, 0}, {127, 50, 177, 255, 255, 255}, "negative coordinate"},
    };
    for (const Case &c : cases) {
        TestBitmap dst(6, 1);
        dst.fill({1, 2, 3, 4});
        QopBitmapBlendBitmapTransform(dst.get(), src.get(), QopBlendModeNormal, 1.0f, c.transform);
        for (size_t x = 0; x < 6; ++x)
            EXPECT_EQ(int(dst.at(x, 0).r), int(c.expected[x])) << c.why << " x " << x;
    }
}

TEST(QopBitmapBlendBitmapTransform, BlendsTheSampleWithTheModeAndAlpha)
{
    TestBitmap src = makeSeededNoise(5, 5, 9, true);
    const TestBitmap dstOriginal = makePhotoLike(5, 5);
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    for (QopBlendMode_t mode : kAllModes) {
        TestBitmap actual = dstOriginal, expected = dstOriginal;
        QopBitmapBlendBitmapTransform(actual.get(), src.get(), mode, 0.4f, identity);
        for (size_t i = 0; i < 25; ++i) {
            QopColor_t sample = src.data()[i];
            sample.a = 255;
            QopColorBlend(expected.data() + i, &sample, mode, 0.4f);
        }
        ASSERT_TRUE(imagesAgree(expected, actual, Tolerance{0}, "blend-transform", true)) << "mode " << mode;
    }
}

TEST(QopBitmapBlendBitmapTransform, GPUTakesOnlyOverlayAndSaysSo)
{
    TestBitmap dst = makeSeededNoise(3, 3, 10), src = makeSeededNoise(3, 3, 11);
    const TestBitmap before = dst;
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    dst.get()->glData = fakeGLData();
    testing::internal::CaptureStdout();
    QopBitmapBlendBitmapTransform(dst.get(), src.get(), QopBlendModeMultiply, 1.0f, identity);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nWarning: QopBitmapBlendBitmapTransform only supports QopBlendModeOverlay. It also ignores transformx");
    dst.get()->glData = nullptr;
    EXPECT_TRUE(dst == before);
}

TEST(QopBitmapBlendBitmapMask, MixesByTheStretchedMaskAlpha)
{
    TestBitmap dst(4, 4), srcA(4, 4), srcB(4, 4), mask(2, 2);
    dst.fill({1, 2, 3, 9});
    srcA.fill({0, 0, 0, 17});
    srcB.fill({200, 100, 40, 0});
    mask.at(0, 0).a = 0;
    mask.at(1, 0).a = 255;
    mask.at(0, 1).a = 51;
    mask.at(1, 1).a = 204;
    QopBitmapBlendBitmapMask(dst.get(), srcA.get(), srcB.get(), mask.get(), QopBlendModeNormal);
    // dst (x, y) reads the mask at (x / 2, y / 2); indices past the mask clamp to its edge.
    struct Probe {
        size_t x, y;
        QopColor_t expected;
    } probes[] = {
        {0, 0, {0, 0, 0, 9}},       // mask 0
        {1, 1, {100, 50, 20, 9}},   // centre of the four: (0 + 255 + 51 + 204) / 4 = 127.5
        {1, 0, {100, 50, 20, 9}},   // between 0 and 255
        {2, 0, {200, 100, 40, 9}},  // exactly on 255
        {3, 2, {160, 80, 32, 9}},   // right and bottom clamped: 204 alone
        {0, 3, {40, 20, 8, 9}},     // 51 alone
    };
    for (const Probe &p : probes)
        EXPECT_EQ(show(dst.at(p.x, p.y)), show(p.expected)) << p.x << ", " << p.y;
}

TEST(QopBitmapBlendBitmapMask, ColorModeSeesOpaqueSources)
{
    // srcB's alpha is taken as 255, so a transparent srcB still gives its full saturation.
    TestBitmap dst(1, 1), srcA(1, 1), srcB(1, 1), mask(1, 1);
    srcA.fill({100, 100, 100, 0});
    srcB.fill({255, 0, 0, 0});
    mask.fill({0, 0, 0, 255});
    QopBitmapBlendBitmapMask(dst.get(), srcA.get(), srcB.get(), mask.get(), QopBlendModeColor);
    EXPECT_EQ(show(dst.at(0, 0)), show(QopColor_t{200, 0, 0, 0}));
}

TEST(QopBitmapBlendBitmapMask, ImagesOfDifferentSizesAreRefused)
{
    // The three images are addressed with one index; a smaller source would be read past its end.
    TestBitmap dst = makeSeededNoise(4, 4, 12), small(3, 4), srcB(4, 4), mask(2, 2);
    const TestBitmap before = dst;
    mask.fill({0, 0, 0, 255});
    QopBitmapBlendBitmapMask(dst.get(), small.get(), srcB.get(), mask.get(), QopBlendModeNormal);
    QopBitmapBlendBitmapMask(dst.get(), srcB.get(), small.get(), mask.get(), QopBlendModeNormal);
    EXPECT_TRUE(dst == before);
}

TEST(QopBitmapConvertLAB, PerPixelConversionsAndRoundTrip)
{
    const TestBitmap original = makeHueWheel(48, 40);
    TestBitmap lab = original;
    QopBitmapConvertRGBToLAB(lab.get());
    for (size_t i = 0; i < lab.pixelCount(); ++i) {
        QopColor_t expected = original.data()[i];
        QopColorRGB2LAB(&expected);
        ASSERT_EQ(show(lab.data()[i]), show(expected)) << i;
    }
    TestBitmap back = lab;
    QopBitmapConvertLABToRBG(back.get(), 1.0f, 1.0f);
    // Alpha survives both ways; colours come back within the byte form's quantisation (see the
    // colour tests): saturated dark hues lose most.
    EXPECT_TRUE(imagesAgree(original, back, Tolerance{40, 16, 1.5}, "lab-round-trip", true));

    // The scales reach a* and b* only.
    TestBitmap scaled = lab;
    QopBitmapConvertLABToRBG(scaled.get(), 0.9f, 1.1f);
    for (size_t i = 0; i < lab.pixelCount(); ++i) {
        QopColor_t expected = lab.data()[i];
        QopColorLAB2RGBScaled(&expected, 1.0, 0.9f, 1.1f);
        ASSERT_EQ(show(scaled.data()[i]), show(expected)) << i;
    }
}

TEST(QopBitmapBlend, BitmapsWithoutPixelsAreLeftAlone)
{
    // A bitmap may be lent with a size but no pixels; the CPU path has nothing to change.
    QopBitmap_t empty = {nullptr, 16, 16, nullptr};
    TestBitmap other = makeSeededNoise(16, 16, 16);
    const TestBitmap before = other;
    QopHistMap_t map = {};
    const QopColor_t colour = {1, 2, 3, 4};
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    QopBitmapHistogramTransform(&empty, &map);
    QopBitmapBlendWithColor(&empty, &colour, QopBlendModeOverlay, 0.5f);
    QopBitmapBlendWithColor(&empty, &colour, QopBlendModeColor, 0.5f);
    QopBitmapConvertRGBToLAB(&empty);
    QopBitmapConvertLABToRBG(&empty, 1.0f, 1.0f);
    QopBitmapBlendBitmap(&empty, other.get(), QopBlendModeNormal, 1.0f);
    QopBitmapBlendBitmap(other.get(), &empty, QopBlendModeNormal, 1.0f);
    QopBitmapBlendBitmapSeparate(other.get(), &empty, 1.0f, 1.0f);
    QopBitmapBlendBitmapTransform(other.get(), &empty, QopBlendModeNormal, 1.0f, identity);
    QopBitmapBlendBitmapMask(other.get(), other.get(), other.get(), &empty, QopBlendModeNormal);
    EXPECT_EQ(empty.data, nullptr);
    EXPECT_TRUE(other == before);
}

TEST(QopBitmapEffects, GPUOnlyOperationsLeaveACPUBitmapAlone)
{
    TestBitmap image = makeSeededNoise(5, 4, 13);
    const TestBitmap before = image;
    TestBitmap other = makeSeededNoise(5, 4, 14);
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    const QopBitmapResizeRect_t rect = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    QopBitmapOriginal(image.get());
    QopEffectOriginal(image.get(), &params);
    QopBitmapBeginGLEffectIfEnabled(image.get());
    QopBitmapEffectBitmapComposite(image.get(), other.get());
    QopBitmapEffectBitmapResize(image.get(), &rect);
    QopBitmapEndGLEffectIfEnabled(image.get());
    EXPECT_TRUE(image == before);
}

TEST(QopBitmapEffects, ParamsAndVersions)
{
    QopEffectParams_t params = {7, 0.2, false, 3.0};
    QopEffectInitParams(&params);
    EXPECT_EQ(params.seed, 0u);
    EXPECT_EQ(params.intensity, 1.0);
    EXPECT_TRUE(params.border);
    EXPECT_EQ(params.scale, 1.0);
    QopVersion_t lite = QopLiteVersion();
    EXPECT_EQ(lite.major * 10000 + lite.minor * 100 + lite.patch, 10403);
    QopLiteProclistVersion_t proclist = QopLiteProclistVersion();
    EXPECT_EQ(proclist.major * 10000 + proclist.minor * 100 + proclist.patch, 10001);
}
