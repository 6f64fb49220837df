// The tone processors on the CPU: each amounts to its library call with its values, captures them
// when its block is made, honours the stop flag; the adjust processor's values by name.
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

// Runs the blocks in order on a copy of the input, as a CPU server does, with the stop flag given.
TestBitmap runOnCpu(const std::vector<QZQopBitmapBlock>& blocks, const TestBitmap& input, bool stopped = false)
{
    TestBitmap bitmap = input;
    const std::atomic<bool> stop{stopped};
    for (const QZQopBitmapBlock& block : blocks) block(bitmap.get(), &stop);
    return bitmap;
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
    for (const qz_test::ToneRow& row : toneRows()) {
        SCOPED_TRACE(row.name);
        auto processor = row.make();
        EXPECT_EQ(processor->scaleFactor(), 1.0f);
        EXPECT_FALSE(processor->bitmapBlock()) << "a tone processor has only the library block";
        const QZQopBitmapBlock block = processor->qopBitmapBlock();
        ASSERT_TRUE(block);
        const TestBitmap expected = direct(row.direct, input);
        EXPECT_FALSE(expected == input) << "the row does not tell processors apart";
        EXPECT_TRUE(runOnCpu({block}, input) == expected);
    }
}

TEST(QZToneProcessorsTest, AStoppedBlockLeavesThePixels)
{
    const TestBitmap input = makeToneFixture();
    for (const qz_test::ToneRow& row : toneRows()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(runOnCpu({row.make()->qopBitmapBlock()}, input, true) == input);
    }
}

TEST(QZToneProcessorsTest, BlocksKeepTheValuesOfTheMomentTheyWereMade)
{
    const TestBitmap input = makeToneFixture();
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(-30);
    const QZQopBitmapBlock darker = brightness->qopBitmapBlock();
    brightness->setValue(45);
    const QZQopBitmapBlock lighter = brightness->qopBitmapBlock();
    brightness->setValue(0);

    // Both made before either runs, run in the order they were made.
    const TestBitmap expected = direct(
        [](QopBitmap_t* b) {
            QopToolBrightness(b, -30);
            QopToolBrightness(b, 45);
        },
        input);
    EXPECT_TRUE(runOnCpu({darker, lighter}, input) == expected);
    EXPECT_TRUE(runOnCpu({darker}, input) == direct([](QopBitmap_t* b) { QopToolBrightness(b, -30); }, input));

    auto adjust = QZAdjustProcessor::make();
    adjust->setContrastValue(50);
    const QZQopBitmapBlock block = adjust->qopBitmapBlock();
    adjust->setContrastValue(-50);
    adjust->setWarmthValue(70);
    EXPECT_TRUE(runOnCpu({block}, input) ==
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
    EXPECT_TRUE(runOnCpu({byName->qopBitmapBlock()}, input) == runOnCpu({bySetter->qopBitmapBlock()}, input));

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
    std::vector<std::uint8_t> overlay(24 * 16 * 4, 200);
    auto blend = QZImageBlendProcessor::make();
    blend->setImageData(overlay.data());
    blend->setImageSize(CGSizeMake(24, 16));
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(30);
    // The brackets around a processor leave it to act as it does alone.
    const TestBitmap bracketed =
        runOnCpu({QZBeginQopEffectProcessor::make()->qopBitmapBlock(), brightness->qopBitmapBlock(),
                  QZEndQopEffectProcessor::make()->qopBitmapBlock(), blend->qopBitmapBlock()},
                 input);
    EXPECT_TRUE(bracketed == direct([](QopBitmap_t* b) { QopToolBrightness(b, 30); }, input));
}

}  // namespace
