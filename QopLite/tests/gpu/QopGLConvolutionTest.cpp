// The GPU halves of the convolution and correction family against their CPU twins: the box cascade
// and its factoring, blur and sharpen, auto-enhance, clarity, the L*a*b* passes, and the recipes
// that use them. Agreement statistics are printed for every comparison.
#include "QopGLCallCounts.h"
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "QopLite/QLPL.h"
#include "QopLite/QopAutoColors.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopConvolution.h"
#include "QopLite/QopEnhance.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLConvolution.h"
#include "QopLite/QopGLEnhance.h"
#include "QopLite/QopHistogram.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace qop_test {
namespace {

using GLConvolutionTest = GLTest;

// The part of an image at least `band` pixels away from every border.
TestBitmap interior(const TestBitmap &image, size_t band)
{
    TestBitmap out(image.width() - 2 * band, image.height() - 2 * band);
    for (size_t y = 0; y < out.height(); ++y)
        for (size_t x = 0; x < out.width(); ++x)
            out.at(x, y) = image.at(x + band, y + band);
    return out;
}

void report(const std::string &name, const ImageDiff &diff)
{
    std::printf("[ agreement ] %-34s %s\n", name.c_str(), describe(diff).c_str());
}

TEST(GLConvolutionFactors, ClosestFactorableNumbers)
{
    struct Case {
        int number;
        int threes, fives, sevens;
    };
    const Case cases[] = {{11, 2, 0, 0}, {15, 1, 1, 0}, {49, 0, 0, 2}, {2, 1, 0, 0}, {13, 1, 1, 0},
                          {3, 1, 0, 0},  {7, 0, 0, 1},  {9, 2, 0, 0},  {17, 0, 0, 0}, {105, 1, 1, 1}};
    for (const Case &c : cases) {
        int factors[3] = {-1, -1, -1};
        int untouched = 1234;
        QopGLGet357FactorsOfClosestFactorableNumber(c.number, &untouched, factors);
        if (c.number == 17) { // 17, 16, 18, 15: settles on 15
            EXPECT_EQ(factors[0], 1);
            EXPECT_EQ(factors[1], 1);
        } else {
            EXPECT_EQ(factors[0], c.threes) << c.number;
            EXPECT_EQ(factors[1], c.fives) << c.number;
            EXPECT_EQ(factors[2], c.sevens) << c.number;
        }
        EXPECT_EQ(untouched, 1234);
    }
}

TEST_F(GLConvolutionTest, BoxCascadeDrawsOnePassPerFactor)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap image = gpuBitmap(makePhotoLike(60, 40));
    QopGLCreateEffect(image.get());
    resetGLCallCounts();
    QopGLAddBoxBlur(1, QopGLConvolutionDirectionHorizontal, gl());
    EXPECT_EQ(glCallCounts().drawElements, 0);
    QopGLAddBoxBlur(15, QopGLConvolutionDirectionHorizontal, gl()); // 3 with stride 1, then 5 with stride 3
    EXPECT_EQ(glCallCounts().drawElements, 2);
    QopGLFinalizeEffect(image.get());
    QOP_EXPECT_NO_GL_ERROR();
}

// A box of 15 along rows is a plain mean of 15 neighbours on the GPU.
TEST_F(GLConvolutionTest, BoxCascadeIsABoxOfTheProductWidth)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makeSeededNoise(64, 8, 4, true);
    TestBitmap image = gpuBitmap(photo);
    QopGLCreateEffect(image.get());
    QopGLAddBoxBlur(15, QopGLConvolutionDirectionHorizontal, gl());
    QopGLFinalizeEffect(image.get());
    TestBitmap expected = photo;
    for (size_t y = 0; y < 8; ++y)
        for (size_t x = 0; x < 64; ++x) {
            int sum = 0;
            for (int k = -7; k <= 7; ++k)
                sum += photo.at(static_cast<size_t>(std::clamp<int>(static_cast<int>(x) + k, 0, 63)), y).g;
            expected.at(x, y).g = static_cast<uint8_t>((sum + 7) / 15);
        }
    // Two 8-bit passes round twice: a level either way. Within 7 pixels of the ends the cascade
    // repeats the edge of its intermediate result, not of the image, so those are left out.
    int worst = 0;
    for (size_t y = 0; y < 8; ++y)
        for (size_t x = 7; x < 57; ++x)
            worst = std::max(worst, std::abs(image.at(x, y).g - expected.at(x, y).g));
    EXPECT_LE(worst, 1);
}

// The blur-into-a-texture step of the mask tools: the texture holds the blur, the bitmap's pixels
// and the rendering mode are as they were.
TEST_F(GLConvolutionTest, BlurProcessLeavesTheBlurInATexture)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makePhotoLike(120, 90);
    TestBitmap image = gpuBitmap(photo);
    GLuint texture = 0;
    QopConvolutionEffectBlurProcess(image.get(), &texture);
    EXPECT_EQ(gl()->renderingMode, QopGLRenderingModeDefault);
    EXPECT_TRUE(image.data() != nullptr && std::equal(image.data(), image.data() + image.pixelCount(), photo.data(),
                                                      [](const QopColor_t &a, const QopColor_t &b) {
                                                          return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
                                                      }));
    ASSERT_NE(texture, 0u);
    TestBitmap expected = photo;
    QopConvolutionEffectBoxHybridSharpen(expected.get(), -100.0f);
    EXPECT_TRUE(imagesAgree(expected, readTexture(texture, 120, 90), {3, -1, 0.5}, "blur_process"));
    QOP_EXPECT_NO_GL_ERROR();
}

// Clarity borrows the processing textures and two texture units for its averages; afterwards
// both are as they were, and the result is in readTexture.
TEST_F(GLConvolutionTest, ClarityRestoresTexturesAndUnits)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap image = gpuBitmap(makePhotoLike(96, 64));
    QopGLCreateEffect(image.get());
    addInvertPass(gl()); // clarity then starts from a processing texture, not the source
    const QopGLRenderingObjects_t before = gl()->glRenderingObjects;
    int units[8];
    std::copy(gl()->freeTextures, gl()->freeTextures + 8, units);
    QopHistMap_t map;
    QopHistMapSetIdentity(&map);
    QopGLApplyClarity(image.get(), &map, 4, 0.6f, 0.3f);
    const QopGLRenderingObjects_t &after = gl()->glRenderingObjects;
    EXPECT_EQ(after.processedTexture1, before.processedTexture1);
    EXPECT_EQ(after.processedTexture2, before.processedTexture2);
    EXPECT_EQ(after.readTexture, before.writeTexture);
    EXPECT_EQ(after.writeTexture, before.readTexture);
    EXPECT_TRUE(std::equal(units, units + 8, gl()->freeTextures));
    QopGLFinalizeEffect(image.get());
    QOP_EXPECT_NO_GL_ERROR();
}

// Blur through a mask: the blur shows where the mask is set, the image where it is clear.
TEST_F(GLConvolutionTest, BlurWithMaskShowsTheBlurWhereTheMaskIsSet)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makePhotoLike(80, 60);
    TestBitmap blurred = photo;
    QopConvolutionEffectBoxHybridSharpen(blurred.get(), -100.0f);
    // Mask alpha 255 on the left half, 0 on the right.
    std::vector<uint8_t> mask(80 * 60 * 4, 0);
    for (size_t y = 0; y < 60; ++y)
        for (size_t x = 0; x < 40; ++x)
            mask[(y * 80 + x) * 4 + 3] = 255;
    const GLuint maskTexture = createTextureFromMaskBitmap(mask.data(), 80, 60, 2);
    glActiveTexture(GL_TEXTURE0);
    TestBitmap image = gpuBitmap(photo);
    QopConvolutionEffectBlurWithGLMask(image.get(), maskTexture);
    glDeleteTextures(1, &maskTexture);
    int worstBlur = 0, worstImage = 0;
    for (size_t y = 0; y < 60; ++y)
        for (size_t x = 0; x < 80; ++x) {
            const int got = image.at(x, y).g;
            if (x < 38)
                worstBlur = std::max(worstBlur, std::abs(got - blurred.at(x, y).g));
            else if (x > 41)
                worstImage = std::max(worstImage, std::abs(got - photo.at(x, y).g));
        }
    EXPECT_LE(worstBlur, 3);
    EXPECT_LE(worstImage, 1);
    QOP_EXPECT_NO_GL_ERROR();
}

// A flat factor table (every factor 1) has no range: the pass must still map every pixel to itself
// (the range's reciprocal would be infinite).
TEST_F(GLConvolutionTest, AutoEnhanceWithAFlatFactorTableKeepsTheImage)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makePhotoLike(64, 48);
    TestBitmap image = gpuBitmap(photo);
    float flat[256];
    std::fill(flat, flat + 256, 1.0f);
    QopGLCreateEffect(image.get());
    QopGLAutoEnhance(image.get(), 0.8f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, flat);
    QopGLFinalizeEffect(image.get());
    // Green picks up the half level the CPU twin adds before rounding.
    EXPECT_TRUE(imagesAgree(photo, image, {1, -1, 0.6}, "autoenhance_flat"));
    QOP_EXPECT_NO_GL_ERROR();
}

TEST(GLConvolutionAgreement, BlurAndSharpenAgreeWithTheCpu)
{
    const TestBitmap photo = makePhotoLike(640, 480);
    struct Case {
        float amount;
        Tolerance tolerance;
        Tolerance interior;
    };
    // Within a few pixels of the borders the GPU's Gaussian pass repeats the edge of the box pass's
    // result rather than of the image: a level more there. Sharpening blends the same blur away
    // from the original on both paths, with half its weight, so it agrees at least as closely.
    const Case cases[] = {{-5.0f, {2, -1, 0.5}, {2, 1, 0.5}},  {-30.0f, {2, -1, 0.5}, {2, 1, 0.5}},
                          {-60.0f, {3, 1, 0.5}, {2, 1, 0.5}},  {-100.0f, {3, 1, 0.5}, {2, 1, 0.5}},
                          {30.0f, {2, 1, 0.3}, {2, 1, 0.3}},  {100.0f, {2, 1, 0.3}, {2, 1, 0.3}}};
    for (const Case &c : cases) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, [&](QopBitmap_t *bitmap) {
            QopConvolutionEffectBoxHybridSharpen(bitmap, c.amount);
        });
        const std::string name = "box-hybrid " + std::to_string(static_cast<int>(c.amount));
        report(name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, c.tolerance, name));
        const size_t band = 8;
        report(name + " (interior)", compareImages(*interior(result.cpu, band).get(), *interior(result.gpu, band).get()));
        EXPECT_TRUE(imagesAgree(interior(result.cpu, band), interior(result.gpu, band), c.interior, name + "_interior"));
    }
}

TEST(GLConvolutionAgreement, UniformImagesSurviveTheGpuBlur)
{
    const TestBitmap flat = [] {
        TestBitmap image(200, 150);
        image.fill({255, 128, 3, 255});
        return image;
    }();
    for (float amount : {-5.0f, -100.0f, 40.0f}) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, flat, [&](QopBitmap_t *bitmap) {
            QopConvolutionEffectBoxHybridSharpen(bitmap, amount);
        });
        EXPECT_TRUE(result.gpu == flat) << amount;
        EXPECT_TRUE(result.cpu == flat) << amount;
    }
}

TEST(GLConvolutionAgreement, SoftFocusAndSharpenAndBlendAgree)
{
    const TestBitmap photo = makePhotoLike(320, 240);
    QOP_COMPARE_CPU_GPU_OR_SKIP(soft, photo, QopConvolutionEffectSoftFocus);
    report("soft focus", soft.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(soft, {3, -1, 0.7}, "soft_focus"));
    for (QopBlendMode_t mode : {QopBlendModeNormal, QopBlendModeOverlay}) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, [&](QopBitmap_t *bitmap) {
            QopConvolutionProcessorSharpenAndBlendWithOriginal(bitmap, 30.0f, 0.6f, mode);
        });
        const std::string name = std::string("sharpen and blend ") + (mode == QopBlendModeNormal ? "normal" : "overlay");
        report(name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, {5, -1, 0.7}, name));
    }
}

TEST(GLConvolutionAgreement, AutoEnhanceModesAgree)
{
    TestBitmap photo = makePhotoLike(320, 240);
    for (size_t i = 0; i < photo.pixelCount(); ++i) {
        QopColor_t &p = photo.data()[i];
        p = {uint8_t(p.r * 2 / 3), uint8_t(p.g * 2 / 3), uint8_t(p.b * 2 / 3), 255};
    }
    for (QopAutoEnhanceMode mode : {QopAutoEnhanceModeClarity, QopAutoEnhanceModeAuto, QopAutoEnhanceModeNight,
                                    QopAutoEnhanceModeBacklight}) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, [&](QopBitmap_t *bitmap) { QopAutoEnhance(bitmap, mode); });
        const std::string name = "auto-enhance mode " + std::to_string(mode);
        report(name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, {4, -1, -1}, name));
    }
}

TEST(GLConvolutionAgreement, LabConversionsAndCorrectionAgree)
{
    const TestBitmap photo = makeHueWheel(160, 120);
    QOP_COMPARE_CPU_GPU_OR_SKIP(toLab, photo, QopBitmapConvertRGBToLAB);
    report("rgb to lab", toLab.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(toLab, {1, -1, -1}, "rgb_to_lab"));
    QOP_COMPARE_CPU_GPU_OR_SKIP(roundTrip, photo, [](QopBitmap_t *bitmap) {
        QopBitmapConvertRGBToLAB(bitmap);
        QopBitmapConvertLABToRBG(bitmap, 0.9f, 1.1f);
    });
    report("lab round trip (scaled)", roundTrip.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(roundTrip, {3, -1, 0.5}, "lab_round_trip"));
    QOP_COMPARE_CPU_GPU_OR_SKIP(correct, makePhotoLike(160, 120), QopLabCorrect);
    report("lab correct", correct.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(correct, {3, -1, 0.5}, "lab_correct"));
}

// Clarity: the GPU box (nearest width that factors into 3, 5, 7, edges repeated) differs from the
// CPU's clipped box near the borders; a band of the box radius is left out.
TEST(GLConvolutionAgreement, ClarityAgreesAwayFromTheBorders)
{
    const TestBitmap photo = makePhotoLike(640, 480);
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, QopLocalContrastEnhanceProcessor);
    const size_t band = 8; // (640 + 480) x 120 / 1600 / 5 / 2, rounded
    const ImageDiff inside = compareImages(*interior(result.cpu, band).get(), *interior(result.gpu, band).get());
    report("clarity (interior)", inside);
    report("clarity (whole image)", result.diff);
    EXPECT_TRUE(imagesAgree(interior(result.cpu, band), interior(result.gpu, band), {6, -1, -1}, "clarity"));
}

// On photographs e / m is steep wherever the local grey average is a level or two: the GPU's
// 15-wide box, its saturation grey and its byte-rounded averages each move m there by a level, so
// a few dark spots differ by tens of levels; the bulk of the image is what is held.
TEST(GLConvolutionAgreement, ClarityAgreesOnPhotosAwayFromTheBorders)
{
    for (const char *name : {"astronaut.png", "coffee.png"}) {
        TestBitmap photo;
        QOP_LOAD_PHOTO_OR_SKIP(name, photo);
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, QopLocalContrastEnhanceProcessor);
        const size_t band = 8; // both photos give a box radius of 8
        const ImageDiff inside = compareImages(*interior(result.cpu, band).get(), *interior(result.gpu, band).get());
        report(std::string("clarity ") + name + " (interior)", inside);
        EXPECT_TRUE(imagesAgree(interior(result.cpu, band), interior(result.gpu, band), {255, 6, 1.5},
                                std::string("clarity_") + name));
    }
}

TEST(GLConvolutionAgreement, AutoColorsAgree)
{
    const TestBitmap photo = makePhotoLike(160, 120);
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, QopAutoColors);
    report("auto colours", result.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(result, {2, -1, -1}, "auto_colors"));
}

// The recipe processors that run through this family do so on both paths, and agree.
TEST(GLConvolutionAgreement, RecipesUsingTheFilterRunOnBothPaths)
{
    const char *recipes[] = {
        R"({"identifier": "t.sharpness", "processors": [{"name": "sharpness",
            "parameters": {"amount": 1.5, "alpha": 0.6, "blendMode": "overlay"}}]})",
        R"({"identifier": "t.soft", "processors": [{"name": "gamma", "parameters": {"value": 1.2}},
            {"name": "legacyProcessor", "parameters": {"legacyName": "soft_focus"}}]})",
        R"({"identifier": "t.clarity", "processors": [{"name": "legacyProcessor",
            "parameters": {"legacyName": "clarityEnhance"}}]})",
        R"({"identifier": "t.autocolors", "processors": [{"name": "legacyProcessor",
            "parameters": {"legacyName": "san_carmenAutoColors"}}]})",
    };
    const Tolerance tolerances[] = {{5, -1, 0.7}, {3, -1, 0.7}, {6, -1, 1.5}, {2, -1, -1}};
    const TestBitmap photo = makePhotoLike(240, 180);
    for (size_t i = 0; i < 4; ++i) {
        bool ran[2] = {false, false};
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, [&](QopBitmap_t *bitmap) {
            QopEffectParams_t params;
            QopEffectInitParams(&params);
            QopJSONEffect effect = QLPLLoadEffect(recipes[i]);
            ASSERT_NE(effect, nullptr);
            ran[bitmap->glData ? 1 : 0] = QLPLRunEffect(effect, bitmap, &params);
            QLPLUnloadEffect(&effect);
        });
        EXPECT_TRUE(ran[0]) << recipes[i];
        EXPECT_TRUE(ran[1]) << recipes[i];
        report(std::string("recipe ") + std::to_string(i), result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, tolerances[i], "recipe_" + std::to_string(i)));
    }
}

} // namespace
} // namespace qop_test
