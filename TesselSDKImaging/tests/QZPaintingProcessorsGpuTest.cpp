// The painting and placing processors through a real GL context: the brush preview paints only new
// points and keeps its textures, the full-size run frees its mask, the smart colour matches the
// CPU's pick, grey and pattern draw colours, the tilt-shift preview and full-size runs, and frame
// pieces that never turn.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"
#include "TesselSDKImaging/tests/QZPlacingTestSupport.h"

#include "TesselSDKImaging/Processors/QZBrushDabPath.h"
#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZDrawProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"
#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjects.h"

#include "CoreGraphics/CGImage.h"
#include "QopGpuComparison.h"
#include "QopLite/QopGLMask.h"
#include "UIKit/UIColor.h"

#include <gtest/gtest.h>

#include <cmath>

using qop_test::TestBitmap;

// Counts the dots each QopGLMaskAddPoints call receives, then paints them.
namespace {
std::vector<int> gMaskDotCounts;
}
extern "C" void __real_QopGLMaskAddPoints(GLuint maskID, int width, int height, float* positions, int positionsLength,
                                          float sigmaR, float sigmaC, float alpha, QopGLMaskType type,
                                          const QopColor_rgba* color, bool erase, QopGLData_t* glData);
extern "C" void __wrap_QopGLMaskAddPoints(GLuint maskID, int width, int height, float* positions, int positionsLength,
                                          float sigmaR, float sigmaC, float alpha, QopGLMaskType type,
                                          const QopColor_rgba* color, bool erase, QopGLData_t* glData)
{
    gMaskDotCounts.push_back(positionsLength / 2);
    __real_QopGLMaskAddPoints(maskID, width, height, positions, positionsLength, sigmaR, sigmaC, alpha, type, color,
                              erase, glData);
}

namespace {

std::shared_ptr<QZBrushStroke> makeStroke(std::vector<CGPoint> points, float size, QZColorSplashMode mode)
{
    auto stroke = QZBrushStroke::make();
    stroke->setPoints(std::move(points));
    stroke->setBrushSize(size);
    stroke->setColorSplashMode(mode);
    stroke->setIsComplete(true);
    return stroke;
}

bool isGrey(const QopColor_t& c)
{
    return std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3;
}

using QZPaintingProcessorsGpuTest = GLBlocksTest;

TEST_F(QZPaintingProcessorsGpuTest, SmartColourMatchesTheCpuPickAtTheCentreAndTheFarCorner)
{
    const TestBitmap input = qop_test::makeRamp(40, 30);
    auto instance = load(input);
    ASSERT_TRUE(instance);
    for (const CGPoint point : {CGPointMake(0.5f, 0.5f), CGPointMake(1, 1), CGPointMake(0, 1)}) {
        auto onCpu = makeStroke({point}, 4, QZColorSplashModeSmart);
        auto onGpu = makeStroke({point}, 4, QZColorSplashModeSmart);
        QZSelectiveBrushProcessor::setStrokeColor(*onCpu, input.get(), nullptr);
        run(instance, [&](QopBitmap_t* bitmap, const std::atomic<bool>*) {
            QZSelectiveBrushProcessor::setStrokeColor(*onGpu, bitmap, nullptr);
        });
        EXPECT_EQ(onCpu->color()->description(), onGpu->color()->description()) << point.x << ", " << point.y;
    }
}

TEST_F(QZPaintingProcessorsGpuTest, ThePreviewPaintsOnlyNewPointsAndTheFullSizeRunFreesItsMask)
{
    const TestBitmap input = qop_test::makeHueWheel(64, 64);
    auto instance = load(input);
    ASSERT_TRUE(instance);
    auto stroke = makeStroke({{0.2f, 0.5f}, {0.4f, 0.5f}}, 8, QZColorSplashModeFree);
    stroke->setIsComplete(false);
    auto preview = QZColorSplashProcessor::make();
    preview->setBrushStrokes({stroke});
    preview->setMaskSize(CGSizeMake(64, 64));
    preview->setGlInstance(instance);

    gMaskDotCounts.clear();
    run(instance, preview->qopBitmapBlock());
    EXPECT_EQ(stroke->nextRenderIndex(), 2);
    ASSERT_EQ(gMaskDotCounts.size(), 1u);
    const int firstDots = gMaskDotCounts[0];
    EXPECT_EQ(std::size_t(firstDots), QZBrushStrokeDabPoints(stroke->points(), 0, false, 2, CGSizeMake(64, 64)).size());
    ASSERT_TRUE(preview->maskTextureRenderingObjects());
    const GLuint mask = preview->maskTextureRenderingObjects()->textureID();
    const GLuint effect = preview->processedTextureRenderingObjects()->textureID();

    stroke->addPoint(CGPointMake(0.6f, 0.5f));
    run(instance, preview->qopBitmapBlock());
    EXPECT_EQ(stroke->nextRenderIndex(), 3);
    ASSERT_EQ(gMaskDotCounts.size(), 2u);
    EXPECT_EQ(std::size_t(gMaskDotCounts[1]),
              QZBrushStrokeDabPoints(stroke->points(), 2, false, 2, CGSizeMake(64, 64)).size());
    // No new points (or no strokes at all): nothing painted, the same textures composite again.
    run(instance, preview->qopBitmapBlock());
    preview->setBrushStrokes({});
    run(instance, preview->qopBitmapBlock());
    EXPECT_EQ(gMaskDotCounts.size(), 2u);
    EXPECT_EQ(preview->maskTextureRenderingObjects()->textureID(), mask);
    EXPECT_EQ(preview->processedTextureRenderingObjects()->textureID(), effect);
    const TestBitmap shown = output(instance);
    EXPECT_TRUE(qz_test::maxDifference(shown.at(20, 32), input.at(20, 32)) <= 1) << "painted: keeps its colour";
    EXPECT_FALSE(isGrey(input.at(60, 32)));
    EXPECT_TRUE(isGrey(shown.at(60, 32)));

    auto hires = QZColorSplashProcessor::make();
    hires->setBrushStrokes({stroke});
    hires->setMaskSize(CGSizeMake(32, 32));
    hires->setIsHires(true);
    const TestBitmap full = runBlocks({hires->qopBitmapBlock()}, input);
    EXPECT_FALSE(hires->maskTextureRenderingObjects());
    EXPECT_TRUE(qz_test::maxDifference(full.at(20, 32), input.at(20, 32)) <= 1);
    EXPECT_TRUE(isGrey(full.at(60, 32)));
    // Strokes without points leave the image, as on the CPU.
    hires->setBrushStrokes({QZBrushStroke::make()});
    EXPECT_TRUE(qop_test::imagesAgree(*runBlocks({hires->qopBitmapBlock()}, input).get(), *input.get(), {1, -1, -1},
                                      "no points"));
}

TEST_F(QZPaintingProcessorsGpuTest, GreyDrawColoursDrawAndAPatternStrokeAloneIsSkipped)
{
    TestBitmap input(60, 20);
    input.fill({128, 128, 128, 255});
    const std::uint8_t texel[4] = {0, 255, 0, 255};
    CGImageRef tile = CGImageCreateWithRGBABytes(1, 1, 4, texel);
    auto pattern = UIColor::colorWithPatternImage(UIImage::imageWithCGImage(tile));
    CGImageRelease(tile);
    const auto line = [](float x, std::shared_ptr<UIColor> color) {
        auto stroke = makeStroke({{x, 0.3f}, {x, 0.7f}}, 6, QZColorSplashModeNone);
        stroke->setColor(std::move(color));
        return stroke;
    };
    auto processor = QZDrawProcessor::make();
    processor->setStrokes({line(0.2f, UIColor::whiteColor()), line(0.5f, pattern), line(0.8f, UIColor::blackColor())});
    const TestBitmap drawn = runBlocks({processor->qopBitmapBlock()}, input);
    ASSERT_EQ(drawn.width(), 60u);
    EXPECT_GT(drawn.at(12, 10).r, 240);
    EXPECT_EQ(drawn.at(30, 10).g, 128) << "the pattern stroke is skipped";
    EXPECT_LT(drawn.at(48, 10).r, 15) << "the stroke after it still draws";
}

TEST_F(QZPaintingProcessorsGpuTest, TiltShiftPreviewBlursOnceAndTheFullSizeRunKeepsNothing)
{
    const TestBitmap input = qz_test::makeChecks(64, 64);
    auto instance = load(input);
    ASSERT_TRUE(instance);
    auto preview = QZTiltShiftProcessor::make();
    preview->setMaskSize(CGSizeMake(64, 64));
    preview->setSigmaR(5);
    preview->setGlInstance(instance);
    std::vector<GLuint> adjusted;
    preview->setPostMaskAdjustBlock([&](const auto& mask) { adjusted.push_back(mask->textureID()); });
    GLuint blurred = 0;
    for (const float x : {16.0f, 32.0f, 48.0f}) {
        preview->setCenterPoint(CGPointMake(x, 32));
        run(instance, preview->qopBitmapBlock());
        if (!blurred) blurred = preview->processedTextureRenderingObjects()->textureID();
        EXPECT_EQ(preview->processedTextureRenderingObjects()->textureID(), blurred);
        if (x == 16.0f) {
            const TestBitmap shown = output(instance);
            EXPECT_LE(qz_test::maxDifference(shown.at(16, 32), input.at(16, 32)), 1) << "sharp at the centre";
            EXPECT_GT(qz_test::maxDifference(shown.at(48, 32), input.at(48, 32)), 15) << "blurred away from it";
        }
    }
    ASSERT_EQ(adjusted.size(), 3u);
    EXPECT_EQ(adjusted[0], adjusted[2]);

    auto hires = QZTiltShiftProcessor::make();
    hires->setMaskSize(CGSizeMake(32, 32));
    hires->setCenterPoint(CGPointMake(16, 16));
    hires->setSigmaR(4);
    hires->setIsHires(true);
    hires->setPostMaskAdjustBlock([&](const auto&) { adjusted.push_back(0); });
    const TestBitmap full = runBlocks({hires->qopBitmapBlock()}, input);
    EXPECT_FALSE(hires->maskTextureRenderingObjects());
    EXPECT_FALSE(hires->processedTextureRenderingObjects());
    EXPECT_EQ(adjusted.size(), 3u);
    EXPECT_LE(qz_test::maxDifference(full.at(32, 32), input.at(32, 32)), 1);
    EXPECT_GT(qz_test::maxDifference(full.at(2, 2), input.at(2, 2)), 15);
}

TEST_F(QZPaintingProcessorsGpuTest, AFramePieceNeverTurns)
{
    TestBitmap input(80, 40);
    input.fill({0, 255, 0, 255});
    std::vector<std::uint8_t> bytes(8 * 4 * 4, 255);
    for (std::size_t i = 0; i < bytes.size(); i += 4) bytes[i + 1] = 0;
    CGImageRef image = CGImageCreateWithRGBABytes(8, 4, 32, bytes.data());
    auto picture = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    auto processor = QZStickerProcessor::make();
    processor->setStickerImage(picture);
    processor->setRelativeStickerRect(CGRectMake(0.25f, 0.25f, 0.5f, 0.5f));
    processor->setFrameType(true);
    // Frame pieces draw inside the effect the frames tool opens around them.
    const auto framed = [&] {
        return runBlocks({QZBeginQopEffectProcessor::make()->qopBitmapBlock(), processor->qopBitmapBlock(),
                          QZEndQopEffectProcessor::make()->qopBitmapBlock()},
                         input);
    };
    const TestBitmap straight = framed();
    processor->setRotation(0.7f);
    EXPECT_TRUE(framed() == straight);
    EXPECT_EQ(straight.at(20, 20).r, 255);
    EXPECT_EQ(straight.at(20, 20).g, 0);
    EXPECT_EQ(straight.at(19, 9).g, 255);
    EXPECT_FALSE(straight == input);
}

}  // namespace
