// The tone processors on a CPU server: each amounts to its library call with its values, captures
// them when its block is made, honours a cancel; the adjust processor's values by name.
#include "TesselSDKImaging/tests/QZServerRunSupport.h"
#include "TesselSDKImaging/tests/QZToneProcessorRows.h"

#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZImageBlendProcessor.h"

#include "Foundation/NSLogCapture.h"

#include <gtest/gtest.h>

using qop_test::TestBitmap;
using qz_test::makeToneFixture;
using qz_test::toneRows;

namespace {

// The processors queued in order on a CPU server holding the input, as a replay runs them; with
// `cancel`, all are queued before a cancelProcessing and only then let run.
TestBitmap runOnCpuServer(const QZProcessorList& processors, const TestBitmap& input, bool cancel = false)
{
    auto server = qz_test::makeDrawnCpuServer(input);
    EXPECT_TRUE(server && qz_test::drainServer(server));
    if (!server) return {};
    {
        qz_test::Gate gate;
        server->runBlock(gate.block());
        for (const std::shared_ptr<QZProcessor>& processor : processors) server->runProcessor(processor);
        if (cancel) server->cancelProcessing();
    }
    return qz_test::readCpuServer(server);
}

TestBitmap direct(const std::function<void(QopBitmap_t*)>& call, const TestBitmap& input)
{
    TestBitmap bitmap = input;
    call(bitmap.get());
    return bitmap;
}

TEST(QZToneProcessorsTest, EachProcessorMakesItsLibraryCallWithItsValues)
{
    const TestBitmap input = makeToneFixture();
    ASSERT_TRUE(runOnCpuServer({}, input) == input) << "the server does not hold the fixture's bytes";
    for (const qz_test::ToneRow& row : toneRows()) {
        SCOPED_TRACE(row.name);
        auto processor = row.make();
        EXPECT_EQ(processor->scaleFactor(), 1.0f);
        EXPECT_FALSE(processor->bitmapBlock()) << "a tone processor has only the library block";
        const TestBitmap expected = direct(row.direct, input);
        EXPECT_FALSE(expected == input) << "the row does not tell processors apart";
        EXPECT_TRUE(runOnCpuServer({processor}, input) == expected);
    }
}

TEST(QZToneProcessorsTest, BlocksQueuedBeforeACancelLeaveThePixels)
{
    const TestBitmap input = makeToneFixture();
    for (const qz_test::ToneRow& row : toneRows()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(runOnCpuServer({row.make()}, input, true) == input);
    }
}

TEST(QZToneProcessorsTest, BlocksKeepTheValuesOfTheMomentTheyWereMade)
{
    const TestBitmap input = makeToneFixture();
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(-30);
    auto server = qz_test::makeDrawnCpuServer(input);
    ASSERT_TRUE(server && qz_test::drainServer(server));
    {
        // Both queued before either runs; they run in the order queued, each with its own value.
        qz_test::Gate gate;
        server->runBlock(gate.block());
        server->runProcessor(brightness);
        brightness->setValue(45);
        server->runProcessor(brightness);
        brightness->setValue(0);
    }
    const TestBitmap expected = direct(
        [](QopBitmap_t* b) {
            QopToolBrightness(b, -30);
            QopToolBrightness(b, 45);
        },
        input);
    EXPECT_TRUE(qz_test::readCpuServer(server) == expected);

    auto adjust = QZAdjustProcessor::make();
    adjust->setContrastValue(50);
    const QZQopBitmapBlock block = adjust->qopBitmapBlock();
    adjust->setContrastValue(-50);
    adjust->setWarmthValue(70);
    TestBitmap ran = input;
    block(ran.get(), nullptr);
    EXPECT_TRUE(ran ==
                direct([](QopBitmap_t* b) { QopToolAdjustBrightnessContrastWarmthSaturation(b, 0, 50, 0, 0); }, input));
}

TEST(QZToneProcessorsTest, TheAdjustValuesSetByNameAreThoseOfTheSetters)
{
    auto byName = QZAdjustProcessor::make();
    {
        NSLogCapture log;
        byName->setValue(Value(30), "brightnessValue");
        byName->setValue(Value(20.5), "contrastValue");
        byName->setValue(Value(-40), "warmthValue");
        byName->setValue(Value(25.25f), "saturationValue");
        EXPECT_TRUE(log.lines().empty());
    }
    auto bySetter = QZAdjustProcessor::make();
    bySetter->setBrightnessValue(30);
    bySetter->setContrastValue(20.5f);
    bySetter->setWarmthValue(-40);
    bySetter->setSaturationValue(25.25f);
    const TestBitmap input = makeToneFixture();
    EXPECT_TRUE(runOnCpuServer({byName}, input) == runOnCpuServer({bySetter}, input));

    struct Refused {
        const char* key;
        Value value;
        const char* line;
    };
    const Refused refused[] = {
        {"exposureValue", Value(10), "-[QZAdjustProcessor setValue:forKey:] Unknown key: exposureValue"},
        {"brightness", Value(10), "-[QZAdjustProcessor setValue:forKey:] Unknown key: brightness"},
        {"warmthValue", Value("10"), "-[QZAdjustProcessor setValue:forKey:] Expected a number for warmthValue"},
        {"contrastValue", Value(), "-[QZAdjustProcessor setValue:forKey:] Expected a number for contrastValue"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.key);
        NSLogCapture log;
        byName->setValue(r.value, r.key);
        EXPECT_EQ(log.lines(), std::vector<std::string>{r.line});
    }
    EXPECT_EQ(byName->brightnessValue(), 30);
    EXPECT_EQ(byName->contrastValue(), 20.5f);
    EXPECT_EQ(byName->warmthValue(), -40);
    EXPECT_EQ(byName->saturationValue(), 25.25f);
}

TEST(QZToneProcessorsTest, GPUOnlyProcessorsLeaveACPUImageAsItWas)
{
    const TestBitmap input = makeToneFixture();
    std::vector<std::uint8_t> overlay(input.pixelCount() * 4, 200);
    auto blend = QZImageBlendProcessor::make();
    blend->setImageData(overlay.data());
    blend->setImageSize(CGSizeMake(CGFloat(input.width()), CGFloat(input.height())));
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(30);
    // The brackets around a processor leave it to act as it does alone; the blend does nothing.
    EXPECT_TRUE(runOnCpuServer({QZBeginQopEffectProcessor::make(), brightness, QZEndQopEffectProcessor::make(), blend},
                               input) == direct([](QopBitmap_t* b) { QopToolBrightness(b, 30); }, input));
}

}  // namespace
