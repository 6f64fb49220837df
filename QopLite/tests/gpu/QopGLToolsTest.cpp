// The GPU halves of the brush and focus tools against their CPU twins (focus masks, single dabs,
// whiten and red-eye, the mask-effect preprocessors), the mask calls' care for the record's state,
// the adjustment tools on the GPU, and the drawing strokes. Agreement statistics are printed for
// every comparison.
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopGLDrawing.h"
#include "QopLite/QopGLMask.h"
#include "QopLite/QopMask.h"
#include "QopLite/QopTools.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace qop_test {
namespace {

using GLToolsTest = GLTest;

void report(const std::string &name, const ImageDiff &diff)
{
    std::printf("[ agreement ] %-34s %s\n", name.c_str(), describe(diff).c_str());
}

// A mask's alpha in all four channels, so masks compare as images.
TestBitmap alphaOf(const TestBitmap &mask)
{
    TestBitmap out(mask.width(), mask.height());
    for (size_t i = 0; i < mask.pixelCount(); ++i) {
        const uint8_t a = mask.data()[i].a;
        out.data()[i] = QopColor_t{a, a, a, a};
    }
    return out;
}

// What the mask calls promise to leave as they found it.
struct RecordState {
    GLuint read, write, width, height;
    bool operator==(const RecordState &) const = default;
};

RecordState stateOf(const QopGLData_t *glData)
{
    return {glData->glRenderingObjects.readTexture, glData->glRenderingObjects.writeTexture,
            glData->glImageData.width, glData->glImageData.height};
}

TEST_F(GLToolsTest, FocusMasksAgreeWithTheCpu)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap image = makePhotoLike(97, 61);
    QopGLSetBitmap(image.get(), gl());
    struct Case {
        bool linear;
        double x, y, sigma, angle;
    };
    const Case cases[] = {{false, 40.0, 30.0, 9.0, 0.0},  {false, 10.3, 50.7, 22.0, 0.0}, {true, 48.0, 30.0, 7.0, 0.0},
                          {true, 30.5, 20.2, 12.0, 0.7}, {true, 60.0, 10.0, 5.0, -2.2}};
    for (const Case &c : cases) {
        TestBitmap size(97, 61), cpu(97, 61);
        if (c.linear)
            QopMaskLinear(size.get(), cpu.get(), c.x, c.y, c.sigma, c.angle);
        else
            QopMaskRadial(size.get(), cpu.get(), c.x, c.y, c.sigma);
        GLuint mask = 0;
        QopGLMaskCreate(&mask, 97, 61, gl());
        ASSERT_NE(mask, 0u);
        const RecordState before = stateOf(gl());
        if (c.linear)
            QopGLMaskFillLinear(mask, 97, 61, c.x, c.y, c.sigma, c.angle, gl());
        else
            QopGLMaskFillRadial(mask, 97, 61, c.x, c.y, c.sigma, gl());
        EXPECT_TRUE(stateOf(gl()) == before);
        const TestBitmap gpu = readTexture(mask, 97, 61);
        QopGLMaskDestroy(mask);
        const std::string name = std::string(c.linear ? "linear mask" : "radial mask") + " sigma " +
                                 std::to_string(static_cast<int>(c.sigma));
        const ImageDiff diff = compareImages(*alphaOf(cpu).get(), *alphaOf(gpu).get(), true);
        report(name, diff);
        EXPECT_TRUE(imagesAgree(alphaOf(cpu), alphaOf(gpu), {9}, "focus_mask", true)) << name;
        QOP_EXPECT_NO_GL_ERROR();
    }
}

// One dab on each path: pins the centre convention (CPU pixels are measured from their integer
// position, fragments from their centre), the falloff and the colour weight.
TEST_F(GLToolsTest, SingleDabsAgreeWithTheCpu)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap image = makeHueWheel(80, 64);
    QopGLSetBitmap(image.get(), gl());
    struct Case {
        const char *name;
        QopGLMaskType type;
        double x, y, sigmaR, alpha;
        bool erase;
    };
    const Case cases[] = {{"free dab", QopGLMaskTypeNormal, 31.4, 22.7, 7.3, 1.0, false},
                          {"free dab at 0.6", QopGLMaskTypeNormal, 50.0, 40.0, 11.0, 0.6, false},
                          {"free dab at the border", QopGLMaskTypeNormal, 2.2, 60.9, 6.0, 1.0, false},
                          {"smart dab", QopGLMaskTypeSplash, 40.2, 20.5, 14.0, 1.0, false},
                          {"smart dab elsewhere", QopGLMaskTypeSplash, 22.0, 45.0, 12.0, 1.0, false},
                          {"erasing dab", QopGLMaskTypeNormal, 33.0, 25.0, 8.0, 1.0, true}};
    for (const Case &c : cases) {
        const QopColor_t reference = image.at(static_cast<size_t>(c.x), static_cast<size_t>(c.y));
        const bool smart = c.type == QopGLMaskTypeSplash;
        const double sigmaC = smart ? 10.0 : 99999999.0;
        // An erasing dab takes away from a full free dab at the same place.
        TestBitmap cpu(80, 64);
        GLuint mask = 0;
        QopGLMaskCreate(&mask, 80, 64, gl());
        float base[2] = {static_cast<float>(31.0 / 80.0), static_cast<float>(24.0 / 64.0)};
        if (c.erase) {
            QopMaskSimilarColors(image.get(), cpu.get(), &reference, 31.0, 24.0, 12.0, 99999999.0, 1.0, 1.0, false,
                                 false, true);
            QopGLMaskAddPoints(mask, 80, 64, base, 2, 12.0f, 10.0f, 1.0f, QopGLMaskTypeNormal, &reference, false, gl());
        }
        QopMaskSimilarColors(image.get(), cpu.get(), &reference, c.x, c.y, c.sigmaR, sigmaC, 1.0, c.alpha, c.erase,
                             false, !smart);
        float point[2] = {static_cast<float>(c.x / 80.0), static_cast<float>(c.y / 64.0)};
        const RecordState before = stateOf(gl());
        QopGLMaskAddPoints(mask, 80, 64, point, 2, static_cast<float>(c.sigmaR), static_cast<float>(sigmaC),
                           static_cast<float>(c.alpha), c.type, &reference, c.erase, gl());
        EXPECT_TRUE(stateOf(gl()) == before);
        const TestBitmap gpu = readTexture(mask, 80, 64);
        QopGLMaskDestroy(mask);
        const ImageDiff diff = compareImages(*alphaOf(cpu).get(), *alphaOf(gpu).get(), true);
        report(c.name, diff);
        EXPECT_TRUE(imagesAgree(alphaOf(cpu), alphaOf(gpu), {2}, "dab", true)) << c.name;
        int painted = 0;
        for (size_t i = 0; i < gpu.pixelCount(); ++i)
            painted += gpu.data()[i].a != 0 ? 1 : 0;
        EXPECT_GT(painted, 20) << c.name << ": the dab painted something";
        QOP_EXPECT_NO_GL_ERROR();
    }
}

TEST_F(GLToolsTest, BadMaskCallsDrawNothing)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap image = makePhotoLike(32, 32);
    QopGLSetBitmap(image.get(), gl());
    GLuint mask = 0;
    QopGLMaskCreate(&mask, 32, 32, gl());
    ASSERT_NE(mask, 0u);
    EXPECT_TRUE(readTexture(mask, 32, 32) == TestBitmap(32, 32)) << "a new mask is empty";
    QopGLMaskFillRadial(mask, 32, 32, 16, 16, 4, gl());
    const TestBitmap filled = readTexture(mask, 32, 32);
    float points[4] = {0.5f, 0.5f, 0.25f, 0.25f};
    const RecordState before = stateOf(gl());
    QopGLMaskAddPoints(mask, 32, 32, points, 4, 6, 10, 1, static_cast<QopGLMaskType>(7), nullptr, false, gl());
    QopGLMaskAddPoints(mask, 32, 32, points, 1, 6, 10, 1, QopGLMaskTypeNormal, nullptr, true, gl());
    QopGLMaskAddPoints(mask, 32, 32, points, 4, 6, 10, 1, QopGLMaskTypeSplash, nullptr, true, gl());
    EXPECT_TRUE(readTexture(mask, 32, 32) == filled);
    EXPECT_TRUE(stateOf(gl()) == before);
    EXPECT_EQ(gl()->state, QopGLStateOk);
    QopGLMaskDestroy(mask);
    GLuint none = 99;
    QopGLMaskCreate(&none, 0, 32, gl());
    EXPECT_EQ(none, 0u);
    QopGLMaskDestroy(0);
    QOP_EXPECT_NO_GL_ERROR();
}

// Mask calls made inside an open effect lend it nothing it would lose: the inverted image survives.
TEST_F(GLToolsTest, MaskCallsInsideAnEffectKeepItsResult)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makePhotoLike(40, 30);
    TestBitmap image = gpuBitmap(photo);
    GLuint mask = 0;
    QopGLSetBitmap(image.get(), gl());
    QopGLMaskCreate(&mask, 20, 15, gl());
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    float points[2] = {0.5f, 0.5f};
    QopGLMaskFillLinear(mask, 20, 15, 10, 7, 3, 0.3, gl());
    QopGLMaskAddPoints(mask, 20, 15, points, 2, 4, 10, 1, QopGLMaskTypeNormal, nullptr, false, gl());
    GLuint cachedWrite = 0;
    int cachedWidth = 0, cachedHeight = 0;
    QopGLSetMaskActive(mask, 20, 15, &cachedWrite, &cachedWidth, &cachedHeight, gl());
    EXPECT_EQ(gl()->glRenderingObjects.writeTexture, mask);
    EXPECT_EQ(gl()->glImageData.width, 20u);
    QopGLUnsetMaskActive(cachedWrite, cachedWidth, cachedHeight, gl());
    EXPECT_EQ(gl()->glImageData.width, 40u);
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(imagesAgree(inverted(photo), image, {0}, "mask_in_effect"));
    QopGLMaskDestroy(mask);
    QOP_EXPECT_NO_GL_ERROR();
}

// Pixels near the whitening target and strongly red ones, beside a photo-like field.
TestBitmap cosmeticFixture()
{
    TestBitmap image = makePhotoLike(96, 64);
    for (size_t y = 0; y < 16; ++y)
        for (size_t x = 0; x < 96; ++x)
            image.at(x, y) = QopColor_t{static_cast<uint8_t>(150 + x), static_cast<uint8_t>(110 + y * 4),
                                        static_cast<uint8_t>(60 + (x * 7) % 90), 255};
    for (size_t y = 16; y < 24; ++y)
        for (size_t x = 0; x < 96; ++x)
            image.at(x, y) = QopColor_t{static_cast<uint8_t>(120 + x), static_cast<uint8_t>(x % 70),
                                        static_cast<uint8_t>((y * 9) % 60), 255};
    return image;
}

TEST(GLToolsAgreement, WhitenAndRedEyeAgreeWithTheCpu)
{
    const TestBitmap image = cosmeticFixture();
    QOP_COMPARE_CPU_GPU_OR_SKIP(whiten, image, [](QopBitmap_t *bitmap) {
        if (bitmap->glData)
            QopGLWhiten(bitmap);
        else
            QopWhiten(bitmap);
    });
    report("whiten", whiten.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(whiten, {2}, "whiten"));
    EXPECT_FALSE(whiten.cpu == image) << "the fixture has pixels to whiten";

    QOP_COMPARE_CPU_GPU_OR_SKIP(redeye, image, [](QopBitmap_t *bitmap) {
        if (bitmap->glData)
            QopGLRedeye(bitmap);
        else
            QopRedEye(bitmap, bitmap);
    });
    report("red-eye", redeye.diff);
    EXPECT_TRUE(gpuAgreesWithCpu(redeye, {1}, "redeye"));
    EXPECT_FALSE(redeye.cpu == image) << "the fixture has red pixels";
}

TEST(GLToolsAgreement, AdjustmentsAgreeWithTheCpu)
{
    const TestBitmap photo = makePhotoLike(160, 120);
    struct Case {
        const char *name;
        std::function<void(QopBitmap_t *)> run;
        Tolerance tolerance;
    };
    const Case cases[] = {
        {"brightness -40 (gamma table)", [](QopBitmap_t *b) { QopToolBrightness(b, -40); }, {0}},
        {"brightness +40 (matrix)", [](QopBitmap_t *b) { QopToolBrightness(b, 40); }, {1}},
        {"contrast +30 (curve table)", [](QopBitmap_t *b) { QopToolContrast(b, 30); }, {0}},
        {"contrast -70 (curve table)", [](QopBitmap_t *b) { QopToolContrast(b, -70); }, {0}},
        {"warmth +60 (tables)", [](QopBitmap_t *b) { QopToolWarmth(b, 60); }, {0}},
        {"warmth -35 (tables)", [](QopBitmap_t *b) { QopToolWarmth(b, -35); }, {0}},
        {"saturation -50 (matrix)", [](QopBitmap_t *b) { QopToolSaturation(b, -50); }, {1}},
        {"saturation +80 (matrix)", [](QopBitmap_t *b) { QopToolSaturation(b, 80); }, {1}},
        {"combined 30 20 -40 25", [](QopBitmap_t *b) { QopToolAdjustBrightnessContrastWarmthSaturation(b, 30, 20, -40, 25); }, {1}},
        {"combined -50 -30 70 -60", [](QopBitmap_t *b) { QopToolAdjustBrightnessContrastWarmthSaturation(b, -50, -30, 70, -60); }, {1}},
        {"sharpness -40 (blur)", [](QopBitmap_t *b) { QopToolSharpness(b, -40); }, {2, -1, 0.5}},
    };
    for (const Case &c : cases) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, c.run);
        report(c.name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, c.tolerance, c.name)) << c.name;
    }
}

// Positive sharpness sharpens on both paths: the same sign of change on each side of an edge.
TEST(GLToolsAgreement, SharpnessMovesAnEdgeTheSameWayOnBothPaths)
{
    TestBitmap edge(400, 200);
    for (size_t y = 0; y < 200; ++y)
        for (size_t x = 0; x < 400; ++x)
            edge.at(x, y) = x < 200 ? QopColor_t{60, 60, 60, 255} : QopColor_t{190, 190, 190, 255};
    for (double value : {60.0, -60.0}) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, edge, [value](QopBitmap_t *b) { QopToolSharpness(b, value); });
        report("sharpness " + std::to_string(static_cast<int>(value)) + " at an edge", result.diff);
        for (const TestBitmap *out : {&result.cpu, &result.gpu}) {
            const int dark = out->at(199, 100).g - 60, bright = out->at(200, 100).g - 190;
            if (value > 0) {
                EXPECT_LT(dark, 0) << (out == &result.cpu ? "cpu" : "gpu");
                EXPECT_GT(bright, 0) << (out == &result.cpu ? "cpu" : "gpu");
            } else {
                EXPECT_GT(dark, 0) << (out == &result.cpu ? "cpu" : "gpu");
                EXPECT_LT(bright, 0) << (out == &result.cpu ? "cpu" : "gpu");
            }
        }
    }
}

TEST_F(GLToolsTest, MaskEffectsRenderTheProcessedImageOnce)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap image = cosmeticFixture();
    struct Case {
        const char *name;
        void (*effect)(QopBitmap_t *, GLuint *);
        void (*cpu)(TestBitmap *);
        int tolerance;
    };
    const Case cases[] = {
        {"whiten preprocess", QopMaskEffectWhiten, [](TestBitmap *b) { QopWhiten(b->get()); }, 2},
        {"red-eye preprocess", QopMaskEffectRedeye, [](TestBitmap *b) { QopRedEye(b->get(), b->get()); }, 1},
        {"desaturate preprocess", QopMaskEffectDesaturateProcess,
         [](TestBitmap *b) {
             QopColorMatrix_t cm;
             QopColorMatrixSetIdentity(cm);
             QopColorMatrixAdjSaturation(cm, 0.0f);
             QopBitmapColorMatrixTransform(b->get(), cm);
         },
         1},
    };
    for (const Case &c : cases) {
        TestBitmap bitmap = gpuBitmap(image);
        GLuint texture = 0;
        c.effect(bitmap.get(), &texture);
        EXPECT_EQ(gl()->renderingMode, QopGLRenderingModeDefault) << c.name;
        ASSERT_NE(texture, 0u);
        const TestBitmap gpu = readTexture(texture, image.width(), image.height());
        TestBitmap cpu = image;
        c.cpu(&cpu);
        report(c.name, compareImages(*cpu.get(), *gpu.get()));
        EXPECT_TRUE(imagesAgree(cpu, gpu, {c.tolerance}, "mask_effect")) << c.name;
        TestBitmap untouched = bitmap;
        untouched.get()->glData = nullptr;
        EXPECT_TRUE(untouched == image) << "the bitmap's pixels are not written";
        // Only the desaturate preprocessor leaves the brush session's effect open.
        EXPECT_EQ(gl()->effectDepth, c.effect == QopMaskEffectDesaturateProcess ? 1 : 0) << c.name;
        if (gl()->effectDepth > 0)
            QopGLFinalizeEffect(bitmap.get());
    }
    QOP_EXPECT_NO_GL_ERROR();
}

// --- Drawing strokes ------------------------------------------------------------------------

// Pixels where the red stroke shows over a white image (green well below white).
int paintedCount(const TestBitmap &image, double *centreX = nullptr, double *centreY = nullptr)
{
    int count = 0;
    double sx = 0, sy = 0;
    for (size_t y = 0; y < image.height(); ++y)
        for (size_t x = 0; x < image.width(); ++x)
            if (image.at(x, y).g < 128) {
                ++count;
                sx += static_cast<double>(x) + 0.5;
                sy += static_cast<double>(y) + 0.5;
            }
    if (centreX && count)
        *centreX = sx / count;
    if (centreY && count)
        *centreY = sy / count;
    return count;
}

constexpr QopColor_t kStrokeRed{255, 0, 0, 255};

TEST_F(GLToolsTest, DrawingWithNoStrokeLeavesTheImage)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const TestBitmap photo = makeSeededNoise(70, 50, 3, true);
    TestBitmap image = gpuBitmap(photo);
    QopGLBeginDrawingEffect(image.get());
    QopGLEndDrawingEffect(image.get());
    EXPECT_TRUE(imagesAgree(photo, image, {0}, "empty_drawing", true));
    QOP_EXPECT_NO_GL_ERROR();
}

TEST_F(GLToolsTest, OnePointDrawsADiscOfTheLineWidth)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap white(64, 64);
    white.fill({255, 255, 255, 255});
    TestBitmap image = gpuBitmap(white);
    const float point[2] = {0.0f, 0.0f};
    QopGLBeginDrawingEffect(image.get());
    QopGLDrawStrokeWithPoints(image.get(), point, 1, 20.0f, &kStrokeRed);
    QopGLEndDrawingEffect(image.get());
    double cx = 0, cy = 0;
    const int count = paintedCount(image, &cx, &cy);
    EXPECT_NEAR(count, M_PI * 100.0, 0.1 * M_PI * 100.0);
    EXPECT_NEAR(cx, 32.0, 1.0);
    EXPECT_NEAR(cy, 32.0, 1.0);
    QOP_EXPECT_NO_GL_ERROR();
}

TEST_F(GLToolsTest, LongDiagonalStrokeHasNoGaps)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap white(200, 200);
    white.fill({255, 255, 255, 255});
    TestBitmap image = gpuBitmap(white);
    // Touch points far apart and unevenly spaced along the diagonal.
    const float points[] = {-0.9f, -0.9f, -0.5f, -0.5f, 0.3f, 0.3f, 0.35f, 0.35f, 0.9f, 0.9f};
    QopGLBeginDrawingEffect(image.get());
    QopGLDrawStrokeWithPoints(image.get(), points, 5, 3.0f, &kStrokeRed);
    QopGLEndDrawingEffect(image.get());
    for (size_t i = 12; i < 188; ++i)
        EXPECT_LT(image.at(i, i).g, 128) << "gap at " << i;
    EXPECT_EQ(image.at(150, 50).g, 255) << "nothing off the stroke";
    QOP_EXPECT_NO_GL_ERROR();
}

// The softened edge of a red stroke over a red image must stay red: putting the image behind a
// premultiplied layer with DST_ALPHA would darken it.
TEST_F(GLToolsTest, RedStrokeOnRedStaysRedAtItsEdges)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    const size_t size = 800;
    const float points[] = {-0.6f, -0.2f, 0.0f, 0.4f, 0.6f, -0.3f};
    // The same stroke over white shows that its edges are soft (partly covered pixels exist).
    TestBitmap white(size, size);
    white.fill({255, 255, 255, 255});
    TestBitmap onWhite = gpuBitmap(white);
    QopGLBeginDrawingEffect(onWhite.get());
    QopGLDrawStrokeWithPoints(onWhite.get(), points, 3, 9.0f, &kStrokeRed);
    QopGLEndDrawingEffect(onWhite.get());
    int soft = 0;
    for (size_t i = 0; i < onWhite.pixelCount(); ++i)
        soft += onWhite.data()[i].g > 0 && onWhite.data()[i].g < 255 ? 1 : 0;
    EXPECT_GT(soft, 100) << "the antialiasing leaves partly covered pixels";

    TestBitmap red(size, size);
    red.fill(kStrokeRed);
    TestBitmap image = gpuBitmap(red);
    QopGLBeginDrawingEffect(image.get());
    QopGLDrawStrokeWithPoints(image.get(), points, 3, 9.0f, &kStrokeRed);
    QopGLEndDrawingEffect(image.get());
    EXPECT_TRUE(imagesAgree(red, image, {0}, "red_on_red", true));
    QOP_EXPECT_NO_GL_ERROR();
}

TEST_F(GLToolsTest, HairlineAndZeroWidthStrokesTerminate)
{
    if (!haveContext_)
        GTEST_SKIP() << "no GL context";
    TestBitmap white(100, 100);
    white.fill({255, 255, 255, 255});
    const float points[] = {-0.8f, -0.8f, 0.1f, 0.5f, 0.8f, 0.8f};
    const float nan[] = {NAN, 0.0f, 0.5f, NAN};
    // Nothing for no width; a hairline (drawn as 1/8 pixel) leaves at most a faint trace.
    for (float width : {0.0f, -3.0f, NAN, 0.01f}) {
        TestBitmap image = gpuBitmap(white);
        QopGLBeginDrawingEffect(image.get());
        QopGLDrawStrokeWithPoints(image.get(), points, 3, width, &kStrokeRed);
        QopGLDrawStrokeWithPoints(image.get(), nan, 2, 2.0f, &kStrokeRed);
        QopGLEndDrawingEffect(image.get());
        if (width > 0.0f)
            EXPECT_LT(paintedCount(image), 100) << width;
        else
            EXPECT_EQ(paintedCount(image), 0) << width;
    }
    EXPECT_EQ(getSeparationConstant(0.0f), 2.0f);
    EXPECT_TRUE(std::isfinite(getSeparationConstant(0.01f)));
    QOP_EXPECT_NO_GL_ERROR();
}

TEST(GLDrawingGeometry, CircleCountsAndCurvePoints)
{
    // Without a record the count is the minimum; geometry of a record is checked through drawing.
    EXPECT_EQ(numCirclesToDrawBetweenPoints(nullptr, 0, 0, 1, 1, 3, 1), 3);
    float x = 0, y = 0;
    const float control[2] = {0, 1}, a[2] = {-1, 0}, b[2] = {1, 0};
    bezierPoint(control, a, b, 0.5f, &y, &x);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 0.5f);
    EXPECT_NEAR(getSeparationConstant(1.0f), 2.0f * std::sqrt(1.0f - 0.875f * 0.875f), 1e-6f);
}

} // namespace
} // namespace qop_test
