// The crop and orientation modules' processors (the corner table), the resize processor on a CPU
// bitmap, and the effect processors and recipe module: parameters kept per block, logs for what is
// missing, and a stop flag that calls nothing.
#include "TesselSDKImaging/Modules/QZCropModule.h"
#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Modules/QZOrientationModule.h"
#include "TesselSDKImaging/Processors/QZQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZQopJSONEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZResizeImageProcessor.h"

#include "Foundation/NSLogCapture.h"
#include "QopLite/QopBitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Corners {
    CGPoint lowerLeft, lowerRight, upperLeft, upperRight;
};

void expectCorners(const QZResizeImageProcessor& resize, const Corners& expected)
{
    auto near = [](CGPoint a, CGPoint b) { return std::fabs(a.x - b.x) < 1e-6f && std::fabs(a.y - b.y) < 1e-6f; };
    EXPECT_TRUE(near(resize.lowerLeft(), expected.lowerLeft));
    EXPECT_TRUE(near(resize.lowerRight(), expected.lowerRight));
    EXPECT_TRUE(near(resize.upperLeft(), expected.upperLeft));
    EXPECT_TRUE(near(resize.upperRight(), expected.upperRight));
}

std::shared_ptr<QZResizeImageProcessor> onlyResize(const QZProcessorList& processors)
{
    EXPECT_EQ(processors.size(), 1u);
    return processors.empty() ? nullptr : std::dynamic_pointer_cast<QZResizeImageProcessor>(processors[0]);
}

TEST(QZCropModule, AfterInitItKeepsTheWholeImageAndHiResAddsTheIdentityEffect)
{
    std::shared_ptr<QZCropModule> crop = QZCropModule::make();
    std::shared_ptr<QZResizeImageProcessor> resize = onlyResize(crop->processors());
    ASSERT_NE(resize, nullptr);
    expectCorners(*resize, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    EXPECT_EQ(resize->newImageSize().width, 1.0f);
    EXPECT_EQ(resize->newImageSize().height, 1.0f);

    crop->setRect(CGRectMake(0.1f, 0.2f, 0.5f, 0.25f));
    crop->setIsHiRes(true);
    QZProcessorList processors = crop->processors();
    ASSERT_EQ(processors.size(), 2u);
    resize = std::dynamic_pointer_cast<QZResizeImageProcessor>(processors[0]);
    expectCorners(*resize, {{0.1f, 0.2f}, {0.6f, 0.2f}, {0.1f, 0.45f}, {0.6f, 0.45f}});
    auto identity = std::dynamic_pointer_cast<QZQopEffectProcessor>(processors[1]);
    ASSERT_NE(identity, nullptr);
    EXPECT_EQ(identity->function(), &QopEffectOriginal);
    EXPECT_EQ(identity->params().intensity, 0.0);
    EXPECT_FALSE(identity->params().border);
}

TEST(QZOrientationModule, CornersFollowTheTableByOrientation)
{
    struct Case {
        const char* name;
        UIImageOrientation orientation;
        CGFloat scale;
        Corners corners;
        CGSize factors;
    };
    const Case cases[] = {
        {"Up", UIImageOrientationUp, 1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, {1, 1}},
        {"Right", UIImageOrientationRight, 1, {{0, 1}, {0, 0}, {1, 1}, {1, 0}}, {0.5f, 2}},
        {"UpMirrored", UIImageOrientationUpMirrored, 1, {{1, 0}, {0, 0}, {1, 1}, {0, 1}}, {1, 1}},
        // The kept region (25, 12.5, 50, 25) as it is: the resize rounds the pixels it makes, as
        // every other path does.
        {"scale 2",
         UIImageOrientationUp,
         2,
         {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.75f}},
         {0.5f, 0.5f}},
        // Turned, the factors carry the sides over: (H / (2 W), W / (2 H)).
        {"Right, scale 2",
         UIImageOrientationRight,
         2,
         {{0.25f, 0.75f}, {0.25f, 0.25f}, {0.75f, 0.75f}, {0.75f, 0.25f}},
         {0.25f, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<QZOrientationModule> module = QZOrientationModule::make();
        module->setOriginalSize(CGSizeMake(100, 50));
        module->setOrientation(c.orientation);
        module->setScale(c.scale);
        std::shared_ptr<QZResizeImageProcessor> resize = onlyResize(module->processors());
        ASSERT_NE(resize, nullptr);
        expectCorners(*resize, c.corners);
        EXPECT_NEAR(resize->newImageSize().width, c.factors.width, 1e-6f);
        EXPECT_NEAR(resize->newImageSize().height, c.factors.height, 1e-6f);
        EXPECT_TRUE(resize->isHires());
    }
}

TEST(QZOrientationModule, AnEmptyOriginalSizeOrAZoomBelowOneMakesNoBadCorners)
{
    NSLogCapture log;
    std::shared_ptr<QZOrientationModule> module = QZOrientationModule::make();
    EXPECT_TRUE(module->processors().empty());
    EXPECT_TRUE(log.contains("Original size is empty; no resize"));

    module->setOriginalSize(CGSizeMake(100, 50));
    for (CGFloat scale : {0.5f, CGFloat(NAN)}) {
        module->setScale(scale);
        std::shared_ptr<QZResizeImageProcessor> resize = onlyResize(module->processors());
        ASSERT_NE(resize, nullptr);
        expectCorners(*resize, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    }
}

TEST(QZResizeImageProcessor, OnACPUBitmapNeitherBlockChangesAnything)
{
    std::vector<QopColor_t> pixels(6, QopColor_t{10, 20, 30, 255});
    const std::vector<QopColor_t> before = pixels;
    QopBitmap_t bitmap{pixels.data(), 3, 2, nullptr};
    std::shared_ptr<QZResizeImageProcessor> resize = QZResizeImageProcessor::make();
    resize->setLowerRight(CGPointMake(1, 0));
    resize->setNewImageSize(CGSizeMake(2, 2));
    std::atomic<bool> stop{false};
    resize->qopBitmapBlock()(&bitmap, &stop);
    ASSERT_TRUE(resize->bitmapBlock());
    resize->bitmapBlock()(nullptr, &stop);
    EXPECT_EQ(bitmap.width, 3u);
    EXPECT_EQ(0, std::memcmp(pixels.data(), before.data(), pixels.size() * sizeof(QopColor_t)));
}

// The seeds an effect function saw, in order.
std::vector<std::uint32_t> g_seenSeeds;
void recordSeed(QopBitmap_t*, QopEffectParams_t* params)
{
    g_seenSeeds.push_back(params->seed);
}

TEST(QZQopEffectProcessor, ABlockKeepsTheParametersOfItsMakingAndHonoursTheStopFlag)
{
    g_seenSeeds.clear();
    QopEffectParams_t params{};
    params.seed = 5;
    std::shared_ptr<QZQopEffectProcessor> processor = QZQopEffectProcessor::make(recordSeed, params);
    QZQopBitmapBlock block = processor->qopBitmapBlock();
    params.seed = 6;
    processor->setParams(params);
    std::atomic<bool> stop{false};
    QopBitmap_t bitmap{nullptr, 0, 0, nullptr};
    block(&bitmap, &stop);
    processor->qopBitmapBlock()(&bitmap, &stop);
    stop.store(true);
    block(&bitmap, &stop);
    EXPECT_EQ(g_seenSeeds, (std::vector<std::uint32_t>{5, 6}));

    NSLogCapture log;
    QZQopBitmapBlock nothing = QZQopEffectProcessor::make()->qopBitmapBlock();
    EXPECT_TRUE(log.contains("-[QZQopEffectProcessor qopBitmapBlock] Expected non-nil effect function"));
    stop.store(false);
    nothing(&bitmap, &stop);
}

TEST(QZJSONEffectModule, ItsProcessorCarriesTheModulesSeedAndBorders)
{
    std::shared_ptr<QZJSONEffectModule> module = QZJSONEffectModule::make();
    module->setJsonString(std::string(R"({"identifier": "t", "processors": []})"));
    module->setParameterSeed(42);
    module->setBordersEnabled(false);
    QZProcessorList processors = module->processors();
    ASSERT_EQ(processors.size(), 1u);
    auto effect = std::dynamic_pointer_cast<QZQopJSONEffectProcessor>(processors[0]);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->params().seed, 42u);
    EXPECT_FALSE(effect->params().border);
    EXPECT_EQ(effect->params().intensity, 1.0);
    EXPECT_EQ(effect->json(), module->jsonString());
}

TEST(QZQopJSONEffectProcessor, AMissingOrBrokenRecipeIsLoggedAndChangesNothing)
{
    NSLogCapture log;
    std::shared_ptr<QZJSONEffectModule> module = QZJSONEffectModule::make();
    QZProcessorList processors = module->processors();
    ASSERT_EQ(processors.size(), 1u);
    processors[0]->qopBitmapBlock();
    EXPECT_TRUE(log.contains("-[QZQopJSONEffectProcessor qopBitmapBlock] Expected non-nil effect string"));

    std::vector<QopColor_t> pixels(4, QopColor_t{10, 20, 30, 255});
    QopBitmap_t bitmap{pixels.data(), 2, 2, nullptr};
    std::atomic<bool> stop{false};
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    QZQopBitmapBlock broken = QZQopJSONEffectProcessor::make(std::string("{not json"), params)->qopBitmapBlock();
    log.clear();
    broken(&bitmap, &stop);
    broken(&bitmap, &stop);
    int logged = 0;
    for (const std::string& line : log.lines())
        logged += line.find("Expected non-nil effect effect") != std::string::npos;
    EXPECT_EQ(logged, 2);
    EXPECT_EQ(pixels[3].g, 20);

    // A recipe's block keeps the text of its making.
    auto processor = QZQopJSONEffectProcessor::make(
        std::string(R"({"identifier": "t", "processors": [{"name": "gamma", "parameters": {"value": 2.0}}]})"), params);
    QZQopBitmapBlock gamma = processor->qopBitmapBlock();
    processor->setJson(std::string("{not json"));
    log.clear();
    gamma(&bitmap, &stop);
    EXPECT_FALSE(log.contains("Expected non-nil effect effect"));
    EXPECT_NE(pixels[0].g, 20);
}

}  // namespace
