// The tone processors, the effect brackets and the image blend processor on the GPU: run by a GPU
// server over a full-size (OverwriteOriginal) GL instance and read back, against the library's own
// calls on a GPU bitmap.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"
#include "TesselSDKImaging/tests/QZServerRunSupport.h"
#include "TesselSDKImaging/tests/QZToneProcessorRows.h"

#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZImageBlendProcessor.h"

#include "QopGpuComparison.h"
#include "QopLite/QopBitmap.h"

#include <limits>
#include <vector>

using qop_test::TestBitmap;
using qz_test::makeToneFixture;

namespace {

// Records the GPU record's effect depth each time its block runs.
class EffectDepthProbe : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<EffectDepthProbe> make()
    {
        return NSObject::create<EffectDepthProbe>(&EffectDepthProbe::init);
    }
    QZQopBitmapBlock qopBitmapBlock() const override
    {
        return [depths = depths_](QopBitmap_t* bitmap, const std::atomic<bool>*) {
            depths->push_back(bitmap->glData ? bitmap->glData->effectDepth : -1);
        };
    }
    std::shared_ptr<std::vector<int>> depths_ = std::make_shared<std::vector<int>>();
};

class QZToneProcessorsGpuTest : public GLBlocksTest {
protected:
    // The processors queued in order on a GPU server over an instance holding the input; with
    // `cancel`, all are queued before a cancelProcessing and only then let run.
    TestBitmap runOnGpuServer(const QZProcessorList& processors, const TestBitmap& input, bool cancel = false)
    {
        auto instance = load(input);
        if (!instance) return {};
        auto server = QZBitmapImageServer::makeWithGLInstance(instance);
        {
            qz_test::Gate gate;
            server->runBlock(gate.block());
            for (const std::shared_ptr<QZProcessor>& processor : processors) server->runProcessor(processor);
            if (cancel) server->cancelProcessing();
        }
        EXPECT_TRUE(qz_test::drainServer(server));
        return output(instance);
    }
    // The library's call on a GPU bitmap, in an effect of its own, read back.
    TestBitmap onGpuBitmap(const qop_test::BitmapOperation& operation, const TestBitmap& input)
    {
        const qop_test::GpuComparison comparison = qop_test::compareCpuAndGpu(input, operation);
        EXPECT_TRUE(comparison.ran) << comparison.skipReason;
        return comparison.gpu;
    }
};

TEST_F(QZToneProcessorsGpuTest, EachProcessorGivesTheBytesOfItsLibraryCall)
{
    const TestBitmap input = makeToneFixture();
    for (const qz_test::ToneRow& row : qz_test::toneRows()) {
        SCOPED_TRACE(row.name);
        const TestBitmap expected = onGpuBitmap(row.direct, input);
        EXPECT_FALSE(expected == input) << "the row does not tell processors apart";
        EXPECT_TRUE(runOnGpuServer({row.make()}, input) == expected);
    }
}

TEST_F(QZToneProcessorsGpuTest, BlocksQueuedBeforeACancelLeaveThePixels)
{
    const TestBitmap input = makeToneFixture();
    for (const qz_test::ToneRow& row : qz_test::toneRows()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(runOnGpuServer({row.make()}, input, true) == input);
    }
}

TEST_F(QZToneProcessorsGpuTest, TheBracketsMakeOneEffectOfWhatTheyHold)
{
    const TestBitmap input = makeToneFixture();
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(30);
    auto contrast = QZContrastCurveProcessor::make();
    contrast->setValue(20);
    auto probe = EffectDepthProbe::make();

    const TestBitmap apart = runOnGpuServer({brightness, contrast}, input);
    const TestBitmap bracketed = runOnGpuServer(
        {probe, QZBeginQopEffectProcessor::make(), brightness, probe, contrast, QZEndQopEffectProcessor::make(), probe},
        input);
    EXPECT_FALSE(apart == input);
    EXPECT_TRUE(qop_test::imagesAgree(*apart.get(), *bracketed.get(), {1, -1, -1}, "bracketed"));
    EXPECT_EQ(*probe->depths_, (std::vector<int>{0, 1, 0}));
}

// A half-transparent overlay: a disc of 50% red (premultiplied) on clear.
std::vector<std::uint8_t> makeOverlay(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> overlay(width * height * 4, 0);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            const double dx = double(x) - width / 2.0, dy = double(y) - height / 2.0;
            if (dx * dx + dy * dy > double(height * height) / 9) continue;
            std::uint8_t* pixel = &overlay[(y * width + x) * 4];
            pixel[0] = 128;
            pixel[3] = 128;
        }
    return overlay;
}

TEST_F(QZToneProcessorsGpuTest, TheBlendCompositesItsOwnCopyOfTheOverlayAtEveryRun)
{
    const TestBitmap input = makeToneFixture();
    std::vector<std::uint8_t> overlay = makeOverlay(input.width(), input.height());
    const std::vector<std::uint8_t> original = overlay;
    auto composite = [&](QopBitmap_t* bitmap) {
        QopBitmap_t source{reinterpret_cast<QopColor_t*>(const_cast<std::uint8_t*>(original.data())), input.width(),
                           input.height(), bitmap->glData};
        QopBitmapEffectBitmapComposite(bitmap, &source);
    };
    const TestBitmap once = onGpuBitmap(composite, input);
    const TestBitmap twice = onGpuBitmap(
        [&](QopBitmap_t* bitmap) {
            composite(bitmap);
            composite(bitmap);
        },
        input);
    ASSERT_FALSE(once == input);
    ASSERT_FALSE(twice == once);

    auto blend = QZImageBlendProcessor::make();
    blend->setImageData(overlay.data());
    blend->setImageSize(CGSizeMake(CGFloat(input.width()), CGFloat(input.height())));
    QZQopBitmapBlock block = blend->qopBitmapBlock();
    // Bytes changed after the block was made do not reach it; the processor goes before it runs.
    std::fill(overlay.begin(), overlay.end(), std::uint8_t(255));
    blend.reset();
    EXPECT_TRUE(runBlocks({block}, input) == once);
    EXPECT_TRUE(runBlocks({block, block}, input) == twice);
}

TEST_F(QZToneProcessorsGpuTest, TheBlendWithoutAnOverlayOrASizeDoesNothing)
{
    const TestBitmap input = makeToneFixture();
    const std::vector<std::uint8_t> overlay = makeOverlay(input.width(), input.height());
    const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();
    const CGFloat infinity = std::numeric_limits<CGFloat>::infinity();
    struct Case {
        const char* name;
        const std::uint8_t* data;
        CGSize size;
    };
    const Case cases[] = {
        {"no overlay", nullptr, CGSizeMake(CGFloat(input.width()), CGFloat(input.height()))},
        {"0 x 0", overlay.data(), CGSizeMake(0, 0)},
        {"0 wide", overlay.data(), CGSizeMake(0, 16)},
        {"under a pixel", overlay.data(), CGSizeMake(0.5f, 16)},
        {"negative", overlay.data(), CGSizeMake(-24, 16)},
        {"NaN", overlay.data(), CGSizeMake(nan, 16)},
        {"infinite", overlay.data(), CGSizeMake(24, infinity)},
        {"beyond any image", overlay.data(), CGSizeMake(3e9f, 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto blend = QZImageBlendProcessor::make();
        blend->setImageData(c.data);
        blend->setImageSize(c.size);
        EXPECT_TRUE(runOnGpuServer({blend}, input) == input);
    }
}

TEST_F(QZToneProcessorsGpuTest, TheOriginalModuleWithoutPreprocessingLeavesTheImage)
{
    const TestBitmap input = makeToneFixture();
    auto instance = load(input);
    ASSERT_TRUE(instance);
    auto server = QZBitmapImageServer::makeWithGLInstance(instance);
    auto module = QZOriginalModule::make();
    module->setWillRunOnCPU(false);
    server->runModule(module, false, nullptr);
    ASSERT_TRUE(qz_test::drainServer(server));
    EXPECT_TRUE(output(instance) == input);
}

}  // namespace
