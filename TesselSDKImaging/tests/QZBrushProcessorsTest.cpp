// The brush strokes on the CPU: where the dabs go, the module's processors, the smart colour
// (clamped to the image), the colour splash's mask, runs that must leave the image as it was, and
// strokes shared between the main thread appending and queue threads painting.
#include "TesselSDKImaging/Modules/QZSelectiveBrushModule.h"
#include "TesselSDKImaging/Processors/QZBrushDabPath.h"
#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveRedeyeProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"

#include "Foundation/NSLogCapture.h"
#include "QopTestBitmap.h"
#include "CoreGraphics/CGImage.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

using qop_test::TestBitmap;

namespace {

std::shared_ptr<QZBrushStroke> makeStroke(std::vector<CGPoint> points, float size, QZColorSplashMode mode,
                                          bool complete = true)
{
    auto stroke = QZBrushStroke::make();
    stroke->setPoints(std::move(points));
    stroke->setBrushSize(size);
    stroke->setColorSplashMode(mode);
    stroke->setIsComplete(complete);
    return stroke;
}

// A full-size processor as the tools' output modules make it: hi-res, no GL instance.
template <class Processor>
std::shared_ptr<Processor> makeHires(QZBrushStrokeList strokes, CGSize maskSize)
{
    auto processor = Processor::make();
    processor->setBrushStrokes(std::move(strokes));
    processor->setMaskSize(maskSize);
    processor->setIsHires(true);
    return processor;
}

TestBitmap run(const QZProcessor& processor, const TestBitmap& input)
{
    TestBitmap bitmap = input;
    const std::atomic<bool> stop{false};
    processor.qopBitmapBlock()(bitmap.get(), &stop);
    return bitmap;
}

bool isGrey(const QopColor_t& c)
{
    return std::abs(c.r - c.g) <= 2 && std::abs(c.g - c.b) <= 2;
}

double distance(CGPoint a, CGPoint b, CGSize mask)
{
    return std::hypot((a.x - b.x) * mask.width, (a.y - b.y) * mask.height);
}

TEST(QZBrushDabPathTest, DabsFollowTheTouchesThroughTheirMidpoints)
{
    const CGSize mask = CGSizeMake(100, 100);
    const float separation = 40 * 0.5f * 0.5f;  // brush size 40: dabs at most 10 mask pixels apart
    struct Row {
        const char* name;
        std::vector<CGPoint> touches;
        bool complete;
        std::size_t expectedCount;
        CGPoint last;
    };
    const Row rows[] = {
        {"one point: one dab on it", {{0.3f, 0.4f}}, true, 1, {0.3f, 0.4f}},
        // 0 -> 50 px: the midpoint is 25 px away, so two dabs between and the midpoint.
        {"two points: point 0, toward the midpoint, the midpoint", {{0, 0.5f}, {0.5f, 0.5f}}, true, 4, {0.25f, 0.5f}},
        {"a step shorter than the separation adds only the closing point", {{0, 0}, {0.1f, 0}}, true, 2, {0.05f, 0}},
        {"complete three points end on the last", {{0, 0}, {0.4f, 0}, {0.4f, 0.4f}}, true, 0, {0.4f, 0.4f}},
        {"open three points end on the last midpoint", {{0, 0}, {0.4f, 0}, {0.4f, 0.4f}}, false, 0, {0.4f, 0.2f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<CGPoint> dabs = QZBrushStrokeDabPoints(row.touches, 0, row.complete, separation, mask);
        ASSERT_FALSE(dabs.empty());
        if (row.expectedCount) {
            EXPECT_EQ(dabs.size(), row.expectedCount);
        }
        EXPECT_NEAR(dabs.front().x, row.touches.front().x, 1e-6);
        EXPECT_NEAR(dabs.back().x, row.last.x, 1e-6);
        EXPECT_NEAR(dabs.back().y, row.last.y, 1e-6);
        // No gap: every dab has a neighbour within the separation (curves included).
        if (dabs.size() < 2) continue;
        for (const CGPoint& dab : dabs) {
            double nearest = 1e9;
            for (const CGPoint& other : dabs) {
                if (&other != &dab) nearest = std::min(nearest, distance(dab, other, mask));
            }
            EXPECT_LE(nearest, 10.0 + 1e-3);
        }
    }
}

TEST(QZBrushDabPathTest, CurvesJoinAtTheMidpointsAndAStartIndexPaintsOnlyTheRest)
{
    const CGSize mask = CGSizeMake(200, 100);
    const std::vector<CGPoint> touches{{0.1f, 0.1f}, {0.5f, 0.2f}, {0.6f, 0.8f}, {0.2f, 0.9f}};
    std::vector<CGPoint> upToTwo;
    QZBrushAddBeginningLineSegment(touches[0], touches[1], 2, upToTwo, mask);
    QZBrushAddBezierQuadCurve(touches[0], touches[1], touches[2], 2, upToTwo, mask);
    // The curve starts where the beginning segment ended: the midpoint of touches 0 and 1.
    EXPECT_NEAR(upToTwo.back().x, (touches[1].x + touches[2].x) / 2, 1e-6);
    const auto all = QZBrushStrokeDabPoints(touches, 0, false, 2, mask);
    const auto rest = QZBrushStrokeDabPoints(touches, 3, false, 2, mask);
    ASSERT_LT(rest.size(), all.size());
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), all.end() - std::ptrdiff_t(rest.size()),
                           [](CGPoint a, CGPoint b) { return a.x == b.x && a.y == b.y; }));
    // Brush size 0 or a NaN point add no dabs between: point 0 and the closing midpoint.
    EXPECT_EQ(QZBrushStrokeDabPoints({{0, 0}, {1, 1}}, 0, true, 0, mask).size(), 2u);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(QZBrushStrokeDabPoints({{0, 0}, {nan, 1}}, 0, true, 1, mask).size(), 2u);
}

TEST(QZSelectiveBrushModuleTest, OneProcessorPerStrokeOnTheCpuElseOneForAll)
{
    auto module = QZSelectiveBrushModule::make();
    module->setProcessorClass([] { return QZSelectiveWhitenProcessor::make(); });
    module->setBrushStrokes({QZBrushStroke::make(), QZBrushStroke::make(), QZBrushStroke::make()});
    module->setWillRunOnCPU(true);
    QZProcessorList perStroke = module->processors();
    ASSERT_EQ(perStroke.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        auto processor = std::dynamic_pointer_cast<QZSelectiveWhitenProcessor>(perStroke[i]);
        ASSERT_TRUE(processor);
        ASSERT_EQ(processor->brushStrokes().size(), 1u);
        EXPECT_EQ(processor->brushStrokes()[0], module->brushStrokes()[i]);
        EXPECT_EQ(processor->maskSize().width, 0);
        EXPECT_FALSE(processor->isHires());
        EXPECT_FALSE(processor->glInstance());
    }
    module->setWillRunOnCPU(false);
    QZProcessorList together = module->processors();
    ASSERT_EQ(together.size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<QZSelectiveBrushProcessor>(together[0])->brushStrokes().size(), 3u);

    NSLogCapture log;
    module->setProcessorClass([] { return std::shared_ptr<QZSelectiveBrushProcessor>(); });
    EXPECT_TRUE(module->processors().empty());
    EXPECT_TRUE(log.contains("Expected non-nil processor."));
}

TEST(QZSelectiveBrushProcessorTest, SubclassesAnswerTheirHooks)
{
    const std::shared_ptr<QZSelectiveBrushProcessor> processors[] = {
        QZColorSplashProcessor::make(), QZSelectiveBlurProcessor::make(), QZSelectiveRedeyeProcessor::make(),
        QZSelectiveWhitenProcessor::make()};
    const QopToolType tools[] = {QopToolTypeColorSplash, QopToolTypeBlemish, QopToolTypeRedEye, QopToolTypeWhiten};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(processors[i]->qopCPUToolType(), tools[i]);
        EXPECT_EQ(processors[i]->effectedImageOnTop(), i == 0);
        EXPECT_EQ(processors[i]->brushAlpha(), i == 0 ? 1.0f : 0.5f);
        EXPECT_FALSE(processors[i]->shouldRenderWithNoStrokes());
        EXPECT_FALSE(processors[i]->bitmapBlock());
    }
    EXPECT_EQ(QZBrushStroke::make()->color()->description(), UIColor::redColor()->description());
}

TEST(QZSelectiveBrushProcessorTest, SmartColourIsPickedClampedToTheImageAndKept)
{
    const TestBitmap input = qop_test::makeRamp(40, 30);
    struct Row {
        CGPoint point;
        std::size_t x, y;
    };
    for (const Row& row : {Row{{0.5f, 0.5f}, 20, 15}, Row{{1.0f, 1.0f}, 39, 29}, Row{{7.0f, -3.0f}, 39, 0}}) {
        auto stroke = makeStroke({row.point}, 4, QZColorSplashModeSmart);
        QZSelectiveBrushProcessor::setStrokeColor(*stroke, input.get(), nullptr);
        CGFloat r = 0, g = 0, b = 0, a = 0;
        ASSERT_TRUE(stroke->color()->getRed(&r, &g, &b, &a));
        const QopColor_t& expected = input.at(row.x, row.y);
        EXPECT_EQ(int(std::lround(r * 255)), expected.r);
        EXPECT_EQ(int(std::lround(g * 255)), expected.g);
        EXPECT_EQ(int(std::lround(b * 255)), expected.b);
    }

    // A run picks the colour once, and the full-size run reuses it.
    auto stroke = makeStroke({{0.5f, 0.5f}}, 8, QZColorSplashModeSmart);
    stroke->setColor(nullptr);
    run(*makeHires<QZColorSplashProcessor>({stroke}, CGSizeMake(40, 30)), input);
    ASSERT_TRUE(stroke->color());
    auto kept = stroke->color();
    TestBitmap other = input;
    other.fill({9, 9, 9, 255});
    run(*makeHires<QZColorSplashProcessor>({stroke}, CGSizeMake(40, 30)), other);
    EXPECT_EQ(stroke->color(), kept);
}

TEST(QZSelectiveBrushProcessorTest, ColourSplashKeepsTheColourUnderFreeStrokesAndGreysTheRest)
{
    const TestBitmap input = qop_test::makeHueWheel(64, 64);
    auto free = makeStroke({{0.25f, 0.5f}, {0.75f, 0.5f}}, 10, QZColorSplashModeFree);
    auto none = makeStroke({{0.5f, 0.1f}}, 10, QZColorSplashModeNone);  // painted as Free
    const TestBitmap output = run(*makeHires<QZColorSplashProcessor>({free, none}, CGSizeMake(32, 32)), input);
    EXPECT_FALSE(isGrey(output.at(32, 32)));
    EXPECT_FALSE(isGrey(output.at(32, 6)));
    EXPECT_TRUE(isGrey(output.at(5, 5)));
    EXPECT_TRUE(isGrey(output.at(60, 60)));

    // An erase stroke over part of the free one covers it again.
    auto erase = makeStroke({{0.75f, 0.5f}}, 10, QZColorSplashModeErase);
    const TestBitmap erased = run(*makeHires<QZColorSplashProcessor>({free, erase}, CGSizeMake(32, 32)), input);
    EXPECT_TRUE(isGrey(erased.at(48, 32)));
    EXPECT_FALSE(isGrey(erased.at(20, 32)));
}

TEST(QZSelectiveBrushProcessorTest, RunsThatPaintNothingLeaveTheImage)
{
    const TestBitmap input = qop_test::makeHueWheel(32, 32);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto stroke = makeStroke({{0.5f, 0.5f}}, 6, QZColorSplashModeFree);
    struct Row {
        const char* name;
        QZBrushStrokeList strokes;
        CGSize mask;
    };
    const Row rows[] = {
        {"no strokes", {}, CGSizeMake(32, 32)},
        {"strokes without points", {QZBrushStroke::make(), QZBrushStroke::make()}, CGSizeMake(32, 32)},
        {"a NaN mask", {stroke}, CGSizeMake(nan, 32)},
        {"a mask under one pixel", {stroke}, CGSizeMake(32, 0.5f)},
        {"a mask too large to build", {stroke}, CGSizeMake(1e9f, 1e9f)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(run(*makeHires<QZColorSplashProcessor>(row.strokes, row.mask), input) == input);
        EXPECT_TRUE(run(*makeHires<QZSelectiveBlurProcessor>(row.strokes, row.mask), input) == input);
    }
    // A smart stroke left without an RGB colour (here a pattern) is logged and skipped.
    NSLogCapture log;
    auto smart = makeStroke({{0.5f, 0.5f}}, 6, QZColorSplashModeSmart);
    const std::uint8_t texel[4] = {10, 200, 10, 255};
    CGImageRef tile = CGImageCreateWithRGBABytes(1, 1, 4, texel);
    smart->setColor(UIColor::colorWithPatternImage(UIImage::imageWithCGImage(tile)));
    CGImageRelease(tile);
    EXPECT_TRUE(run(*makeHires<QZColorSplashProcessor>({smart}, CGSizeMake(32, 32)), input) == input);
    EXPECT_TRUE(log.contains("Stroke must have color if in smart mode"));
}

TEST(QZSelectiveBrushProcessorTest, PreviewRunsPaintEachPointOnceWhileTheMainThreadAppends)
{
    const TestBitmap input = qop_test::makeRamp(32, 32);
    auto stroke = makeStroke({{0.1f, 0.1f}}, 4, QZColorSplashModeSmart, false);
    stroke->setColor(nullptr);
    auto preview = QZColorSplashProcessor::make();
    preview->setBrushStrokes({stroke});
    preview->setMaskSize(CGSizeMake(32, 32));

    std::vector<QZQopBitmapBlock> blocks;
    std::atomic<bool> done{false};
    std::mutex queueLock;
    std::vector<QZQopBitmapBlock> queue;
    // The CPU queue: runs the preview blocks in order as they arrive.
    std::thread worker([&] {
        TestBitmap bitmap = input;
        const std::atomic<bool> stop{false};
        for (;;) {
            std::vector<QZQopBitmapBlock> batch;
            {
                std::lock_guard<std::mutex> guard(queueLock);
                batch.swap(queue);
            }
            for (auto& block : batch) block(bitmap.get(), &stop);
            if (batch.empty() && done.load()) break;
            std::this_thread::yield();
        }
    });
    // Another queue: a full-size run reading the picked colour.
    std::thread fullSize([&] {
        auto hires = makeHires<QZColorSplashProcessor>({stroke}, CGSizeMake(32, 32));
        for (int i = 0; i < 20; ++i) run(*hires, input);
    });
    for (int i = 1; i <= 200; ++i) {
        stroke->addPoint(CGPointMake(0.1f + 0.004f * float(i), 0.1f + 0.003f * float(i)));
        auto block = preview->qopBitmapBlock();
        std::lock_guard<std::mutex> guard(queueLock);
        queue.push_back(std::move(block));
    }
    done = true;
    worker.join();
    fullSize.join();
    EXPECT_EQ(stroke->nextRenderIndex(), 201);
    EXPECT_TRUE(stroke->color());
}

}  // namespace
