// The GPU colour and tone passes against their CPU twins (colour matrix, lookup tables, intensity
// maps, Color-mode blend), and the passes without a library twin against references written here
// (gritty dots, selective black and white) or against their own contract (noise, histogram).
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopColor.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopHistogram.h"
#include "QopLite/QopNoise.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace qop_test {
namespace {

struct Fixture {
    const char *name;
    TestBitmap image;
};

// Generated fixtures with every kind of content the passes see: smooth photo-like fields, every
// hue at every lightness, and uncorrelated bytes. Odd sizes keep row alignment honest.
std::vector<Fixture> fixtures()
{
    std::vector<Fixture> list;
    list.push_back({"photo-like", makePhotoLike(211, 157)});
    list.push_back({"hue wheel", makeHueWheel(128, 96)});
    list.push_back({"noise", makeSeededNoise(101, 67, 5, true)});
    return list;
}

QopHistMap_t randomMap(uint32_t seed)
{
    std::mt19937 rng(seed);
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        map.r[i] = static_cast<uint8_t>(rng());
        map.g[i] = static_cast<uint8_t>(rng());
        map.b[i] = static_cast<uint8_t>(rng());
    }
    return map;
}

// Cross terms everywhere and offsets of both signs: a transposed matrix cannot pass.
constexpr float kMixingMatrix[12] = {0.9f, 0.3f, -0.2f, 12.0f, -0.1f, 0.7f, 0.4f, -20.0f, 0.25f, -0.35f, 1.1f, 5.0f};

std::array<float, 12> saturationMatrix(float value)
{
    std::array<float, 12> cm;
    QopColorMatrixSetIdentity(cm.data());
    QopColorMatrixAdjSaturation(cm.data(), value);
    return cm;
}

struct TwinCase {
    const char *name;
    BitmapOperation operation;
    int tolerance;
};

std::vector<TwinCase> colourTwins()
{
    static const QopHistMap_t lut = randomMap(11);
    static const QopHistMap_t intensityTable = randomMap(12);
    static const std::array<float, 12> saturation = saturationMatrix(1.6f);
    return {
        {"colour matrix (mixing)", [](QopBitmap_t *b) { QopBitmapColorMatrixTransform(b, kMixingMatrix); }, 1},
        {"colour matrix (saturation 1.6)", [](QopBitmap_t *b) { QopBitmapColorMatrixTransform(b, saturation.data()); }, 1},
        {"colour matrix overlaid at 0.3",
         [](QopBitmap_t *b) {
             QopBitmapColorMatrixTransformAndBlendWithOriginal(b, kMixingMatrix, QopBlendModeOverlay, 0.3f);
         },
         1},
        {"colour matrix overlaid at 1.0",
         [](QopBitmap_t *b) {
             QopBitmapColorMatrixTransformAndBlendWithOriginal(b, kMixingMatrix, QopBlendModeOverlay, 1.0f);
         },
         1},
        {"lookup table (random)", [](QopBitmap_t *b) { QopBitmapHistogramTransform(b, &lut); }, 0},
        {"lookup table (gamma 0.6)", [](QopBitmap_t *b) { QopBitmapGamma(b, 0.6f); }, 0},
        {"lookup table (contrast curve 1.4)", [](QopBitmap_t *b) { QopBitmapContrastCurve(b, 1.4f); }, 0},
        {"intensity map Normal 0.7",
         [](QopBitmap_t *b) { QopBitmapIntensityMap(b, &intensityTable, QopBlendModeNormal, 0.7); }, 2},
        {"intensity map Overlay 0.7",
         [](QopBitmap_t *b) { QopBitmapIntensityMap(b, &intensityTable, QopBlendModeOverlay, 0.7); }, 2},
        {"intensity map Multiply 1.0",
         [](QopBitmap_t *b) { QopBitmapIntensityMap(b, &intensityTable, QopBlendModeMultiply, 1.0); }, 2},
        {"Color-mode blend 0.6",
         [](QopBitmap_t *b) {
             const QopColor_t colour{200, 90, 30, 180};
             QopBitmapBlendWithColor(b, &colour, QopBlendModeColor, 0.6f);
         },
         2},
    };
}

void report(const std::string &name, const ImageDiff &diff)
{
    std::printf("[agreement] %-40s %s\n", name.c_str(), describe(diff).c_str());
}

void expectTwinsAgree(const std::vector<TwinCase> &cases, const char *fixtureName, const TestBitmap &input)
{
    for (const TwinCase &twin : cases) {
        const std::string name = std::string(twin.name) + " on " + fixtureName;
        SCOPED_TRACE(name);
        GpuComparison result = compareCpuAndGpu(input, twin.operation);
        ASSERT_TRUE(result.ran) << result.skipReason;
        report(name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{twin.tolerance, -1, -1}, name));
    }
}

using GLColorPassesTest = GLTest;

TEST_F(GLColorPassesTest, TwinsAgreeOnGeneratedFixtures)
{
    for (const Fixture &fixture : fixtures())
        expectTwinsAgree(colourTwins(), fixture.name, fixture.image);
}

TEST_F(GLColorPassesTest, TwinsAgreeOnAPhoto)
{
    TestBitmap photo;
    QOP_LOAD_PHOTO_OR_SKIP("coffee.png", photo);
    expectTwinsAgree(colourTwins(), "coffee.png", photo);
}

TEST_F(GLColorPassesTest, ColourTransformEdgeCases)
{
    const TestBitmap input = makeHueWheel(64, 48);
    QopColorMatrix_t identity;
    QopColorMatrixSetIdentity(identity);
    EXPECT_TRUE(runOnGpu(gl(), input, [&](QopBitmap_t *b) { QopGLAddColorTransform(identity, b->glData); }) == input);

    QopColorMatrix_t redOffset;
    QopColorMatrixSetIdentity(redOffset);
    redOffset[3] = 255.0f;
    const TestBitmap red = runOnGpu(gl(), input, [&](QopBitmap_t *b) { QopGLAddColorTransform(redOffset, b->glData); });
    for (size_t y = 0; y < input.height(); ++y)
        for (size_t x = 0; x < input.width(); ++x) {
            ASSERT_EQ(red.at(x, y).r, 255);
            ASSERT_EQ(red.at(x, y).g, input.at(x, y).g);
        }
}

TEST_F(GLColorPassesTest, PopulatesAColumnMajorMatrixAndScaledOffsets)
{
    const float m[12] = {1, 2, 3, 255, 4, 5, 6, 51, 7, 8, 9, -25.5f};
    float mult[9], trans[3];
    populateGLMultAndTransMatrices(m, mult, trans);
    const float expectedMult[9] = {1, 4, 7, 2, 5, 8, 3, 6, 9};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(mult[i], expectedMult[i]) << i;
    EXPECT_FLOAT_EQ(trans[0], 1.0f);
    EXPECT_FLOAT_EQ(trans[1], 0.2f);
    EXPECT_FLOAT_EQ(trans[2], -0.1f);
}

TEST_F(GLColorPassesTest, IdentityTableLeavesTheImageAndUnknownIntensityModesRecordNothing)
{
    const TestBitmap input = makeSeededNoise(37, 29, 3, true);
    QopHistMap_t identity;
    QopHistMapSetIdentity(&identity);
    EXPECT_TRUE(runOnGpu(gl(), input, [&](QopBitmap_t *b) { QopGLAddColorMap(&identity, b->glData); }) == input);

    const QopHistMap_t table = randomMap(3);
    testing::internal::CaptureStdout();
    const TestBitmap screen = runOnGpu(
        gl(), input, [&](QopBitmap_t *b) { QopGLAddIntensityMap(&table, QopBlendModeScreen, 1.0, b->glData); });
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(screen == input);
    EXPECT_NE(printed.find("isn't implemented in GL yet in QopGLAddIntensityMap"), std::string::npos) << printed;
}

TEST_F(GLColorPassesTest, HistogramCountsTheCurrentResultAndAddsToWhatIsThere)
{
    const TestBitmap input = makePhotoLike(83, 61);
    const QopHistMap_t table = randomMap(21);
    // Three paths: pixels counted directly (no pass yet), the source copied first (no pixels),
    // and the last result read back.
    for (int path = 0; path < 3; ++path) {
        SCOPED_TRACE(path);
        TestBitmap bitmap = input;
        bitmap.get()->glData = gl();
        QopGLCreateEffect(bitmap.get());
        QopColor_t *pixels = bitmap.get()->data;
        if (path == 1)
            bitmap.get()->data = nullptr;
        if (path == 2)
            QopGLAddColorMap(&table, gl());
        QopHistogram_t gpu{};
        QopGLHistogramBuild(bitmap.get(), &gpu);
        QopGLHistogramBuild(bitmap.get(), &gpu);
        TestBitmap result = input;
        if (path == 2)
            QopBitmapHistogramTransform(result.get(), &table);
        QopHistogram_t cpu{};
        QopHistogramBuild(result.get(), &cpu);
        QopGLFinalizeEffect(bitmap.get());
        bitmap.get()->glData = nullptr;
        bitmap.get()->data = pixels;
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(gpu.r[i], 2 * cpu.r[i]) << i;
            ASSERT_EQ(gpu.g[i], 2 * cpu.g[i]) << i;
            ASSERT_EQ(gpu.b[i], 2 * cpu.b[i]) << i;
        }
    }
}

struct Moments {
    double mean = 0, deviation = 0;
};

Moments greyMoments(const TestBitmap &image)
{
    Moments m;
    for (size_t i = 0; i < image.pixelCount(); ++i)
        m.mean += image.data()[i].r;
    m.mean /= double(image.pixelCount());
    for (size_t i = 0; i < image.pixelCount(); ++i)
        m.deviation += (image.data()[i].r - m.mean) * (image.data()[i].r - m.mean);
    m.deviation = std::sqrt(m.deviation / double(image.pixelCount()));
    return m;
}

TEST_F(GLColorPassesTest, NoiseIsDeterministicPerSeedWithTheCpuGrainsStatistics)
{
    TestBitmap grey(160, 120);
    grey.fill(QopColor_t{128, 128, 128, 200});
    const float intensity = 0.15f;
    auto noisy = [&](uint32_t seed) {
        return runOnGpu(gl(), grey, [&](QopBitmap_t *b) { QopGLAddNoise(b, intensity, seed); });
    };
    const TestBitmap seed0 = noisy(0), seed1 = noisy(1), seed7 = noisy(7), seed7again = noisy(7);
    EXPECT_TRUE(seed0 == seed1) << "seed 0 stands for 1";
    EXPECT_TRUE(seed7 == seed7again);
    EXPECT_GT(compareImages(*seed1.get(), *seed7.get()).meanAbs, 5.0) << "different seeds give different grain";
    // Large seeds (the CPU path hands over a 32-bit draw) still give distinct grain, as far as
    // the float uniform tells them apart.
    EXPECT_FALSE(noisy(4000000000u) == noisy(4000001024u));
    for (size_t i = 0; i < seed7.pixelCount(); ++i) {
        const QopColor_t &p = seed7.data()[i];
        ASSERT_TRUE(p.r == p.g && p.g == p.b) << "monochrome grain";
        ASSERT_EQ(p.a, 255) << "the result is opaque";
    }

    TestBitmap cpu = grey;
    QopBitmapAddNoise(cpu.get(), intensity, 7);
    const Moments gpuMoments = greyMoments(seed7), cpuMoments = greyMoments(cpu);
    std::printf("[agreement] noise: GPU mean %.2f sd %.2f, CPU mean %.2f sd %.2f\n", gpuMoments.mean,
                gpuMoments.deviation, cpuMoments.mean, cpuMoments.deviation);
    EXPECT_NEAR(gpuMoments.mean, 128.0, 1.0);
    EXPECT_NEAR(gpuMoments.deviation, cpuMoments.deviation, 0.1 * cpuMoments.deviation);
}

// The CPU rule of the legacy gritty dots: white blended in blendMode at alpha on even rows, every
// fourth column, shifted by two on alternate even rows.
TestBitmap grittyDotsReference(const TestBitmap &input, float alpha)
{
    TestBitmap out = input;
    const QopColor_t white{255, 255, 255, 255};
    for (size_t y = 0; y < out.height(); y += 2)
        for (size_t x = 0; x < out.width(); ++x)
            if ((x + y) % 4 == 0)
                QopColorBlend(&out.at(x, y), &white, QopBlendModeOverlay, alpha);
    return out;
}

void expectGrittyDotsMatch(QopGLData_t *glData, const char *fixtureName, const TestBitmap &image)
{
    for (float alpha : {0.051f, 1.0f}) {
        const std::string name = "gritty dots " + std::to_string(alpha) + " on " + fixtureName;
        SCOPED_TRACE(name);
        const TestBitmap expected = grittyDotsReference(image, alpha);
        const TestBitmap gpu = runOnGpu(glData, image, [&](QopBitmap_t *b) { QopGLGrittyDots(b, alpha); });
        report(name, compareImages(*expected.get(), *gpu.get()));
        EXPECT_TRUE(imagesAgree(expected, gpu, Tolerance{1, -1, -1}, name));
        // Off the dots nothing changes at all.
        for (size_t y = 0; y < gpu.height(); ++y) {
            for (size_t x = 0; x < gpu.width(); ++x) {
                if (y % 2 == 1 || (x + y) % 4 != 0) {
                    ASSERT_EQ(std::memcmp(&gpu.at(x, y), &image.at(x, y), 4), 0) << x << "," << y;
                }
            }
        }
    }
}

// The legacy weighted black and white, per pixel, as a reference for the GPU program.
QopColor_t selectiveGrey(QopColor_t px, const float w[6], bool saturation, float alpha, QopBlendMode_t mode)
{
    const float r = px.r, g = px.g, b = px.b;
    const float values[6] = {r, (r + g) * 0.5f + 0.5f, g, (g + b) * 0.5f + 0.5f, b, (b + r) * 0.5f + 0.5f};
    QopColor_hsv hsv;
    QopColorRGB2HSV(&px, &hsv);
    const double h = hsv.h;
    const int i = static_cast<int>((h + 30.0) / 60.0) % 6;
    double e = 0, f = 0;
    if (i != 0) {
        const double start = 60.0 * i - 30.0;
        if (h < start + 5)
            e = (start + 5 - h) * 0.5 / 5;
        else if (h > start + 55)
            f = (h - (start + 55)) * 0.5 / 5;
    } else if (h > 30 && h < 335) {
        e = (335 - h) * 0.5 / 5;
    } else if (h > 25 && h < 330) {
        f = (h - 25) * 0.5 / 5;
    }
    const int p = (i + 5) % 6, n = (i + 1) % 6;
    const float W = float(e * w[p] + (1 - e - f) * w[i] + f * w[n]);
    const float V = float(e * w[p] * values[p] + (1 - e - f) * w[i] * values[i] + f * w[n] * values[n]) +
                    std::fmin(r, std::fmin(g, b)) * (1 - W);
    const float d = saturation ? W * std::pow(V / 255.0f, 0.3f) : -1.0f;
    auto channel = [&](float c) {
        const float v = std::fmax(0.0f, std::fmin(255.0f, c * (1 + d) - V * d));
        return static_cast<uint8_t>(v);
    };
    const QopColor_t grey{channel(r), channel(g), channel(b), 255};
    QopColorBlend(&px, &grey, mode, alpha);
    return px;
}

void expectSelectiveGreyMatches(QopGLData_t *glData, const char *fixtureName, const TestBitmap &image)
{
    struct Case {
        const char *name;
        float weights[6];
        bool saturation;
        float alpha;
        QopBlendMode_t mode;
    };
    // Default weights (with the red, yellow, magenta boosts) as the recipe wrappers pass them,
    // and a saturation-mode set.
    const Case cases[] = {
        {"BW Normal 1.0", {0.48f, 0.63f, 0.4f, 0.6f, 0.2f, 0.84f}, false, 1.0f, QopBlendModeNormal},
        {"gritty Overlay 0.7", {0.48f, 0.63f, 0.4f, 0.6f, 0.2f, 0.84f}, false, 0.7f, QopBlendModeOverlay},
        {"saturation Normal 0.8", {0.9f, 0.2f, 0.6f, 0.1f, 0.75f, 0.4f}, true, 0.8f, QopBlendModeNormal},
    };
    for (const Case &c : cases) {
        const std::string name = std::string("selective BW ") + c.name + " on " + fixtureName;
        SCOPED_TRACE(name);
        TestBitmap expected = image;
        for (size_t k = 0; k < expected.pixelCount(); ++k)
            expected.data()[k] = selectiveGrey(expected.data()[k], c.weights, c.saturation, c.alpha, c.mode);
        const TestBitmap gpu = runOnGpu(glData, image, [&](QopBitmap_t *b) {
            QopGLStilbrushSatBW(b, c.weights, 5.0f, 60.0f, c.saturation, c.alpha, c.mode);
        });
        report(name, compareImages(*expected.get(), *gpu.get()));
        EXPECT_TRUE(imagesAgree(expected, gpu, Tolerance{1, -1, -1}, name));
    }
}

TEST_F(GLColorPassesTest, LegacyPassesMatchTheirReferences)
{
    for (const Fixture &fixture : fixtures()) {
        expectGrittyDotsMatch(gl(), fixture.name, fixture.image);
        expectSelectiveGreyMatches(gl(), fixture.name, fixture.image);
    }
    // Blend modes other than Normal and Overlay record nothing.
    const float weights[6] = {0.48f, 0.63f, 0.4f, 0.6f, 0.2f, 0.84f};
    const TestBitmap input = makeHueWheel(40, 30);
    EXPECT_TRUE(runOnGpu(gl(), input, [&](QopBitmap_t *b) {
                    QopGLStilbrushSatBW(b, weights, 5.0f, 60.0f, false, 1.0f, QopBlendModeMultiply);
                }) == input);
}

TEST_F(GLColorPassesTest, LegacyPassesMatchTheirReferencesOnAPhoto)
{
    TestBitmap photo;
    QOP_LOAD_PHOTO_OR_SKIP("chelsea.png", photo);
    expectGrittyDotsMatch(gl(), "chelsea.png", photo);
    expectSelectiveGreyMatches(gl(), "chelsea.png", photo);
}

} // namespace
} // namespace qop_test
