// The painting and placing processors at full size on astronaut.png through a CPU and a GPU image
// server, as the tools' output modules make them (hi-res, no GL instance, a 256 x 256 mask stretched
// over the 512 x 512 photo): within the bounds agreed for each, outside and inside what they paint.
// Many stickers as one layer equal the same stickers drawn one by one.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"
#include "TesselSDKImaging/tests/QZServerRunSupport.h"

#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZBrushDabPath.h"
#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"
#include "TesselSDKImaging/Processors/QZDrawProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveRedeyeProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"
#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZStickerLayerProcessor.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include "CoreGraphics/CGImage.h"
#include "QopImageCompare.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

#include <cmath>
#include <functional>

using qop_test::TestBitmap;

namespace {

constexpr float kMask = 256;
constexpr float kScale = 2;  // photo pixels per mask pixel

// Where a case's statistics are taken: the pixels of the photo for which the predicate holds.
using Region = std::function<bool(float x, float y)>;

struct Stats {
    int max = 0;
    int p999 = 0;
    double mean = 0;
    std::size_t pixels = 0;
};

Stats compare(const TestBitmap& a, const TestBitmap& b, const Region& region)
{
    std::vector<int> diffs;
    double sum = 0;
    for (std::size_t y = 0; y < a.height(); ++y) {
        for (std::size_t x = 0; x < a.width(); ++x) {
            if (region && !region(float(x) + 0.5f, float(y) + 0.5f)) continue;
            const QopColor_t &p = a.at(x, y), &q = b.at(x, y);
            for (int d : {std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)}) {
                diffs.push_back(d);
                sum += d;
            }
        }
    }
    Stats stats;
    stats.pixels = diffs.size() / 3;
    if (diffs.empty()) return stats;
    std::sort(diffs.begin(), diffs.end());
    stats.max = diffs.back();
    stats.p999 = diffs[std::size_t(double(diffs.size() - 1) * 0.999)];
    stats.mean = sum / double(diffs.size());
    return stats;
}

// Photo pixels from a stroke's path: the distance to the nearest of its dabs.
float distanceToPath(const std::vector<CGPoint>& path, float x, float y, float side)
{
    float best = 1e9f;
    for (const CGPoint& p : path) best = std::min(best, std::hypot(float(p.x) * side - x, float(p.y) * side - y));
    return best;
}

std::shared_ptr<QZBrushStroke> makeStroke(std::vector<CGPoint> points, float size, QZColorSplashMode mode)
{
    auto stroke = QZBrushStroke::make();
    stroke->setPoints(std::move(points));
    stroke->setBrushSize(size);
    stroke->setColorSplashMode(mode);
    stroke->setIsComplete(true);
    return stroke;
}

// Dense points along the stroke's painted path (a brush's two-point stroke stops at its midpoint),
// relative.
std::vector<CGPoint> pathOf(const QZBrushStroke& stroke)
{
    return QZBrushStrokeDabPoints(stroke.points(), 0, true, 0.5f, CGSizeMake(kMask, kMask));
}

// The whole drawn line: the last point repeated carries the path on to it.
std::vector<CGPoint> linePathOf(const QZBrushStroke& stroke)
{
    std::vector<CGPoint> points = stroke.points();
    points.push_back(points.back());
    return QZBrushStrokeDabPoints(points, 0, true, 0.5f, CGSizeMake(kMask, kMask));
}

template <class Processor>
std::shared_ptr<Processor> brush(QZBrushStrokeList strokes)
{
    auto processor = Processor::make();
    processor->setBrushStrokes(std::move(strokes));
    processor->setMaskSize(CGSizeMake(kMask, kMask));
    processor->setIsHires(true);
    return processor;
}

class QZPaintingAgreementTest : public GLManagerTest {
protected:
    void SetUp() override
    {
        GLManagerTest::SetUp();
        if (IsSkipped()) return;
        QOP_LOAD_PHOTO_OR_SKIP("astronaut.png", photo_);
    }
    TestBitmap onCpu(const QZProcessorList& processors)
    {
        auto server = qz_test::makeDrawnCpuServer(photo_);
        for (const auto& processor : processors) server->runProcessor(processor);
        return qz_test::readCpuServer(server);
    }
    TestBitmap onGpu(const QZProcessorList& processors)
    {
        auto instance = QZOpenGLInstance::make(CGSizeMake(CGFloat(photo_.width()), CGFloat(photo_.height())),
                                               QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires);
        if (!instance || !qz_test::loadImage(instance, photo_)) return {};
        auto server = QZBitmapImageServer::makeWithGLInstance(instance);
        for (const auto& processor : processors) server->runProcessor(processor);
        EXPECT_TRUE(qz_test::drainServer(server));
        return qz_test::bitmapOf(qz_test::readBack(instance, false).value_or(nullptr));
    }
    // The bounds of one region: max, p999 and mean ceilings (negative: not checked).
    void expectWithin(const char* what, const TestBitmap& a, const TestBitmap& b, const Region& region, int max,
                      int p999, double mean)
    {
        const Stats s = compare(a, b, region);
        std::printf("  %-40s pixels %7zu  max %3d  p999 %3d  mean %.3f\n", what, s.pixels, s.max, s.p999, s.mean);
        ASSERT_GT(s.pixels, 0u) << what;
        if (max >= 0) {
            EXPECT_LE(s.max, max) << what;
        }
        if (p999 >= 0) {
            EXPECT_LE(s.p999, p999) << what;
        }
        if (mean >= 0) {
            EXPECT_LE(s.mean, mean) << what;
        }
    }
    // Outside: farther than 1.5 brush sizes (photo pixels) from every stroke's path; inside: more
    // than 2 pixels within a dab's radius.
    static Region outsideStrokes(const QZBrushStrokeList& strokes)
    {
        return [strokes](float x, float y) {
            for (const auto& s : strokes) {
                if (distanceToPath(pathOf(*s), x, y, 512) <= 1.5f * s->brushSize() * kScale) return false;
            }
            return true;
        };
    }
    static Region insideStroke(const std::shared_ptr<QZBrushStroke>& stroke, float radius)
    {
        const std::vector<CGPoint> path = pathOf(*stroke);
        return [path, radius](float x, float y) { return distanceToPath(path, x, y, 512) < radius - 2; };
    }

    TestBitmap photo_;
};

TEST_F(QZPaintingAgreementTest, ColourSplashFreeStrokesThenAnErase)
{
    auto a = makeStroke({{0.3f, 0.3f}, {0.45f, 0.35f}, {0.6f, 0.3f}}, 20, QZColorSplashModeFree);
    auto b = makeStroke({{0.3f, 0.7f}, {0.5f, 0.72f}}, 16, QZColorSplashModeFree);
    auto erase = makeStroke({{0.55f, 0.3f}, {0.62f, 0.31f}}, 24, QZColorSplashModeErase);
    const QZBrushStrokeList strokes{a, b, erase};
    const TestBitmap cpu = onCpu({brush<QZColorSplashProcessor>(strokes)});
    const TestBitmap gpu = onGpu({brush<QZColorSplashProcessor>(strokes)});
    ASSERT_EQ(gpu.width(), cpu.width());
    expectWithin("splash outside", cpu, gpu, outsideStrokes(strokes), 1, -1, -1);
    expectWithin(
        "splash inside (first free stroke's start)", cpu, gpu,
        [a](float x, float y) { return std::hypot(x - 0.3f * 512, y - 0.3f * 512) < 20 - 2; }, 1, -1, -1);
    expectWithin("splash whole image", cpu, gpu, nullptr, -1, -1, 1.0);
}

TEST_F(QZPaintingAgreementTest, ColourSplashOneSmartStroke)
{
    const auto make = [] {
        auto s = makeStroke({{0.5f, 0.4f}, {0.55f, 0.42f}}, 30, QZColorSplashModeSmart);
        s->setColor(nullptr);
        return s;
    };
    auto onCpuStroke = make(), onGpuStroke = make();
    const TestBitmap cpu = onCpu({brush<QZColorSplashProcessor>({onCpuStroke})});
    const TestBitmap gpu = onGpu({brush<QZColorSplashProcessor>({onGpuStroke})});
    ASSERT_TRUE(onCpuStroke->color() && onGpuStroke->color());
    EXPECT_EQ(onCpuStroke->color()->description(), onGpuStroke->color()->description());
    expectWithin("smart outside", cpu, gpu, outsideStrokes({onCpuStroke}), 1, -1, -1);
    expectWithin("smart whole image", cpu, gpu, nullptr, -1, -1, 2.0);
}

TEST_F(QZPaintingAgreementTest, BlurRedeyeAndWhitenChangeOnlyWhereTheyPaint)
{
    using Make = std::function<std::shared_ptr<QZSelectiveBrushProcessor>(QZBrushStrokeList)>;
    const std::pair<const char*, Make> rows[] = {
        {"blur", [](QZBrushStrokeList s) { return brush<QZSelectiveBlurProcessor>(std::move(s)); }},
        {"redeye", [](QZBrushStrokeList s) { return brush<QZSelectiveRedeyeProcessor>(std::move(s)); }},
        {"whiten", [](QZBrushStrokeList s) { return brush<QZSelectiveWhitenProcessor>(std::move(s)); }},
    };
    for (const auto& [name, make] : rows) {
        SCOPED_TRACE(name);
        // Over the suit's red patch and the face: each brush finds something to change there.
        auto stroke = makeStroke({{0.35f, 0.25f}, {0.45f, 0.3f}, {0.55f, 0.25f}}, 24, QZColorSplashModeNone);
        const TestBitmap cpu = onCpu({make({stroke})});
        const TestBitmap gpu = onGpu({make({stroke})});
        ASSERT_EQ(gpu.width(), cpu.width());
        for (const auto& [path, result] : {std::pair<const char*, const TestBitmap*>{"cpu", &cpu}, {"gpu", &gpu}}) {
            const std::string what = std::string(name) + " " + path;
            expectWithin((what + " outside, against the photo").c_str(), photo_, *result, outsideStrokes({stroke}), 1,
                         -1, -1);
            EXPECT_GT(compare(photo_, *result, insideStroke(stroke, 24)).max, 0) << what << " changed nothing";
        }
    }
}

TEST_F(QZPaintingAgreementTest, TiltShiftRadialAndLinear)
{
    for (const int style : {0, 1}) {
        SCOPED_TRACE(style);
        const auto make = [style] {
            auto p = QZTiltShiftProcessor::make();
            p->setStyle(QZTiltShiftStyle(style));
            p->setCenterPoint(CGPointMake(128, 110));
            p->setSigmaR(20);
            p->setAngle(0.4f);
            p->setMaskSize(CGSizeMake(kMask, kMask));
            p->setIsHires(true);
            return p;
        };
        const TestBitmap cpu = onCpu({make()});
        const TestBitmap gpu = onGpu({make()});
        ASSERT_EQ(gpu.width(), cpu.width());
        // Mask-pixel distance from the focus (the disc's centre, or the band's line).
        const auto distance = [style](float x, float y) {
            const float mx = x / kScale - 128, my = y / kScale - 110;
            return style == 1 ? std::fabs(-std::sin(0.4f) * mx + std::cos(0.4f) * my) : std::hypot(mx, my);
        };
        // The mask reaches 255 where 1 - exp(-d^2 / (2 sigma^2)) rounds to 1: d > 3.6 sigma.
        expectWithin(
            "tilt-shift where the mask is 255", cpu, gpu, [&](float x, float y) { return distance(x, y) > 72; }, 3, -1,
            0.5);
        // The CPU's linear mask truncates the distance to whole pixels and the GPU's does not: near
        // the line the GPU mask already holds 1 or 2 levels where the CPU's is 0, which lets up to
        // 2 levels of the blur through.
        expectWithin(
            "tilt-shift where it is 0", cpu, gpu, [&](float x, float y) { return distance(x, y) < 2; },
            style == 1 ? 2 : 1, -1, -1);
        expectWithin("tilt-shift whole image", cpu, gpu, nullptr, -1, 16, 1.0);
    }
}

TEST_F(QZPaintingAgreementTest, DrawRedEraserWhiteAndBlack)
{
    const auto line = [](std::vector<CGPoint> points, std::shared_ptr<UIColor> color, CGBlendMode mode) {
        auto s = makeStroke(std::move(points), 14, QZColorSplashModeNone);
        s->setColor(std::move(color));
        s->setBlendMode(mode);
        return s;
    };
    const QZBrushStrokeList strokes{
        line({{0.1f, 0.2f}, {0.5f, 0.25f}, {0.9f, 0.2f}}, UIColor::redColor(), kCGBlendModeNormal),
        line({{0.5f, 0.1f}, {0.5f, 0.35f}}, UIColor::redColor(), kCGBlendModeClear),
        line({{0.1f, 0.6f}, {0.9f, 0.62f}}, UIColor::whiteColor(), kCGBlendModeNormal),
        line({{0.1f, 0.8f}, {0.9f, 0.8f}}, UIColor::blackColor(), kCGBlendModeNormal)};
    const auto make = [&] {
        auto p = QZDrawProcessor::make();
        p->setStrokes(strokes);
        p->setScaleFactor(kScale);
        return p;
    };
    const TestBitmap cpu = onCpu({make()});
    const TestBitmap gpu = onGpu({make()});
    ASSERT_EQ(gpu.width(), cpu.width());
    const float half = 14 * kScale / 2;
    expectWithin(
        "draw outside", cpu, gpu,
        [&](float x, float y) {
            for (const auto& s : strokes)
                if (distanceToPath(linePathOf(*s), x, y, 512) <= half + 2) return false;
            return true;
        },
        1, -1, -1);
    expectWithin(
        "draw inside the white and black strokes", cpu, gpu,
        [&](float x, float y) {
            return distanceToPath(linePathOf(*strokes[2]), x, y, 512) < half - 2 ||
                   distanceToPath(linePathOf(*strokes[3]), x, y, 512) < half - 2;
        },
        2, -1, -1);
    expectWithin("draw whole image", cpu, gpu, nullptr, -1, -1, 1.0);
}

TEST_F(QZPaintingAgreementTest, StickerTurnedAndFramePieceTiled)
{
    std::vector<std::uint8_t> bytes(64 * 32 * 4);
    for (std::size_t y = 0; y < 32; ++y) {
        for (std::size_t x = 0; x < 64; ++x) {
            std::uint8_t* p = &bytes[(y * 64 + x) * 4];
            p[0] = std::uint8_t(x * 4);
            p[1] = std::uint8_t(y * 8);
            p[2] = std::uint8_t(255 - x * 4);
            p[3] = 255;
        }
    }
    CGImageRef image = CGImageCreateWithRGBABytes(64, 32, 64 * 4, bytes.data());
    auto picture = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    const auto make = [&] {
        auto sticker = QZStickerProcessor::make();
        sticker->setStickerImage(picture);
        sticker->setRelativeStickerRect(CGRectMake(0.25f, 0.3f, 0.5f, 0.25f));
        sticker->setRotation(0.3f);
        auto frame = QZStickerProcessor::make();
        frame->setStickerImage(picture);
        frame->setRelativeStickerRect(CGRectMake(0, 0.875f, 1, 0.125f));
        frame->setFrameType(true);
        frame->setTileX(3);
        return QZProcessorList{sticker, QZBeginQopEffectProcessor::make(), frame, QZEndQopEffectProcessor::make()};
    };
    const TestBitmap cpu = onCpu(make());
    const TestBitmap gpu = onGpu(make());
    ASSERT_EQ(gpu.width(), cpu.width());
    // The sticker's rectangle in photo pixels (128, 153.6, 256 x 128), turned 0.3 about its centre;
    // the frame covers rows from 448.
    const auto stickerDepth = [](float x, float y) {
        const float cx = 256, cy = 153.6f + 64, c = std::cos(-0.3f), s = std::sin(-0.3f);
        const float dx = (x - cx) * c - (y - cy) * s, dy = (x - cx) * s + (y - cy) * c;
        return std::min(128 - std::fabs(dx), 64 - std::fabs(dy));  // positive inside
    };
    expectWithin(
        "sticker inside", cpu, gpu, [&](float x, float y) { return stickerDepth(x, y) > 2; }, -1, -1, -1);
    expectWithin(
        "frame inside", cpu, gpu, [&](float, float y) { return y > 448 + 2; }, -1, -1, -1);
    expectWithin(
        "sticker and frame outside", cpu, gpu, [&](float x, float y) { return stickerDepth(x, y) < -2 && y < 448 - 2; },
        1, -1, -1);
    expectWithin(
        "sticker and frame inside", cpu, gpu, [&](float x, float y) { return stickerDepth(x, y) > 2 || y > 448 + 2; },
        -1, 24, 2.0);
    expectWithin("sticker and frame whole image", cpu, gpu, nullptr, -1, -1, 1.0);
}

// 48 x 32 pixels, its alpha falling from opaque at the top to a quarter at the bottom: where
// stickers overlap, the order and the blending of their edges show.
std::shared_ptr<UIImage> fadingPicture()
{
    std::vector<std::uint8_t> bytes(48 * 32 * 4);
    for (std::size_t y = 0; y < 32; ++y)
        for (std::size_t x = 0; x < 48; ++x) {
            std::uint8_t* p = &bytes[(y * 48 + x) * 4];
            const unsigned alpha = 255 - unsigned(y) * 6;
            // Premultiplied, as the image's bytes are.
            p[0] = std::uint8_t(x * 5 * alpha / 255);
            p[1] = std::uint8_t((255 - x * 5) * alpha / 255);
            p[2] = std::uint8_t(y * 8 * alpha / 255);
            p[3] = std::uint8_t(alpha);
        }
    CGImageRef image = CGImageCreateWithRGBABytes(48, 32, 48 * 4, bytes.data());
    auto picture = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    return picture;
}

// Fifty stickers, overlapping, of many sizes and turns, some reaching past the image's edges.
std::vector<std::shared_ptr<QZStickerProcessor>> fiftyStickers()
{
    const auto picture = fadingPicture();
    std::vector<std::shared_ptr<QZStickerProcessor>> stickers;
    for (int i = 0; i < 50; ++i) {
        auto sticker = QZStickerProcessor::make();
        sticker->setStickerImage(picture);
        const float side = 0.05f + 0.01f * float(i % 13);
        sticker->setRelativeStickerRect(
            CGRectMake(-0.05f + 0.021f * float(i), 0.9f - 0.019f * float((i * 7) % 50), side * 1.5f, side));
        sticker->setRotation(0.13f * float(i % 9) - 0.5f);
        stickers.push_back(sticker);
    }
    return stickers;
}

TEST_F(QZPaintingAgreementTest, FiftyStickersInOneLayerEqualFiftySingleStickerPasses)
{
    const auto stickers = fiftyStickers();
    const QZProcessorList singly(stickers.begin(), stickers.end());
    const TestBitmap oneByOne = onCpu(singly);
    ASSERT_GT(oneByOne.width(), 0u);
    ASSERT_GT(compare(oneByOne, photo_, nullptr).max, 100) << "the stickers drew nothing";
    const TestBitmap layerOnCpu = onCpu({QZStickerLayerProcessor::make(stickers)});
    const TestBitmap layerOnGpu = onGpu({QZStickerLayerProcessor::make(stickers)});
    ASSERT_EQ(layerOnGpu.width(), oneByOne.width());
    expectWithin("one layer on the CPU", oneByOne, layerOnCpu, nullptr, 1, -1, -1);
    // Composited once in floating point: translucent pixels round a level apart now and then.
    expectWithin("one layer on the GPU", oneByOne, layerOnGpu, nullptr, 2, 1, 0.1);

    // A module of stickers runs as one layer on either server (sticker by sticker, the GPU
    // rasterises and resamples each on its own, well off the CPU at the edges).
    auto module = QZBlockModule::moduleWithBlock(
        [&](QZProcessorList& list) { list.insert(list.end(), stickers.begin(), stickers.end()); });
    auto cpu = qz_test::makeDrawnCpuServer(photo_);
    cpu->runModule(module);
    expectWithin("the module on the CPU", oneByOne, qz_test::readCpuServer(cpu), nullptr, 1, -1, -1);
    auto instance = QZOpenGLInstance::make(CGSizeMake(CGFloat(photo_.width()), CGFloat(photo_.height())),
                                           QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires);
    ASSERT_TRUE(instance && qz_test::loadImage(instance, photo_));
    auto gpu = QZBitmapImageServer::makeWithGLInstance(instance);
    gpu->runModule(module);
    ASSERT_TRUE(qz_test::drainServer(gpu));
    expectWithin("the module on the GPU", oneByOne, qz_test::bitmapOf(qz_test::readBack(instance, false).value_or(nullptr)),
                 nullptr, 2, 1, 0.1);
}

// Only runs of stickers are gathered, in their place; frame pieces and single stickers stay.
TEST(QZStickerLayerProcessorTest, GathersEachRunOfStickersInPlace)
{
    const auto sticker = [] { return QZStickerProcessor::make(); };
    auto frame = QZStickerProcessor::make();
    frame->setFrameType(true);
    auto begin = QZBeginQopEffectProcessor::make();
    auto end = QZEndQopEffectProcessor::make();
    auto a = sticker(), b = sticker(), c = sticker(), d = sticker();
    const QZProcessorList gathered = QZStickerLayerProcessor::gatheringStickers({a, b, c, begin, frame, end, d});
    ASSERT_EQ(gathered.size(), 5u);
    auto layer = std::dynamic_pointer_cast<QZStickerLayerProcessor>(gathered[0]);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->stickers(), (std::vector<std::shared_ptr<QZStickerProcessor>>{a, b, c}));
    EXPECT_EQ(gathered[1], begin);
    EXPECT_EQ(gathered[2], frame);
    EXPECT_EQ(gathered[3], end);
    EXPECT_EQ(gathered[4], d);
    EXPECT_TRUE(QZStickerLayerProcessor::gatheringStickers({}).empty());
}

}  // namespace
