// The contract image operations are written against: the bitmap contexts over the editor's RGBA
// buffers, the per-pixel walk and its stop flag, processors and modules.
#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZBlockProcessor.h"
#include "TesselSDKImaging/QZBitmap.h"

#include "Foundation/NSLogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr const char* kNullContextLine =
    "CGContextRef QZCGContextCreateWithData(void *, CGSize) NULL context encountered";

struct ContextDeleter {
    void operator()(CGContext* context) const { CGContextRelease(context); }
};
using Context = std::unique_ptr<CGContext, ContextDeleter>;

TEST(QZBitmapTest, ThePixelWalkGoesInMemoryOrderAndStopsOnlyAtMultiplesOfAThousand)
{
    struct Case {
        const char* name;
        int width, height;
        bool stopBefore;
        long stopAtCall;  // the call (from 0) that sets the flag; -1: none
        long calls;
    };
    const Case cases[] = {
        {"3 x 2, whole", 3, 2, false, -1, 6},
        {"preset stop", 3, 2, true, -1, 0},
        {"stop at pixel 10", 50, 50, false, 10, 1000},
        {"stop at pixel 999", 50, 50, false, 999, 1000},
        {"stop at pixel 1000 is seen at 2000", 50, 50, false, 1000, 2000},
        {"no stop", 50, 50, false, -1, 2500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Context context(QZCGContextCreate(CGSizeMake(CGFloat(c.width), CGFloat(c.height))));
        ASSERT_TRUE(context);
        auto* bytes = static_cast<std::uint8_t*>(CGBitmapContextGetData(context.get()));
        for (int i = 0; i < c.width * c.height; ++i) bytes[i * 4] = std::uint8_t(i);
        std::atomic<bool> stop{c.stopBefore};
        std::vector<std::pair<std::size_t, std::size_t>> positions;
        long calls = 0;
        QZBitmapRunPixelBlock(context.get(), &stop, [&](QZPixel* pixel, QZPixelContext* position) {
            EXPECT_EQ(pixel->r, std::uint8_t(calls)) << "not memory order";
            EXPECT_EQ(position->w, std::size_t(c.width));
            EXPECT_EQ(position->h, std::size_t(c.height));
            EXPECT_EQ(position->data, nullptr);
            positions.emplace_back(position->x, position->y);
            if (calls++ == c.stopAtCall) stop = true;
        });
        EXPECT_EQ(calls, c.calls);
        if (c.calls == 6) {
            const std::vector<std::pair<std::size_t, std::size_t>> expected = {{0, 0}, {1, 0}, {2, 0},
                                                                               {0, 1}, {1, 1}, {2, 1}};
            EXPECT_EQ(positions, expected);
        }
    }

    // Without a context, a stop flag or a block, nothing runs and nothing breaks.
    long calls = 0;
    QZBitmapRunPixelBlock(nullptr, nullptr, [&](QZPixel*, QZPixelContext*) { ++calls; });
    Context small(QZCGContextCreate(CGSizeMake(2, 2)));
    QZBitmapRunPixelBlock(small.get(), nullptr, [&](QZPixel*, QZPixelContext*) { ++calls; });
    QZBitmapRunPixelBlock(small.get(), nullptr, nullptr);
    EXPECT_EQ(calls, 4);
    EXPECT_FALSE(QZBitmapBlockCreateWithPixelBlock(nullptr));
}

TEST(QZBitmapTest, ContextsKeepTheCallersBufferInRGBAOrder)
{
    EXPECT_EQ(kQZBitmapInfo, 0x4001u);
    std::vector<std::uint8_t> buffer(4 * 3 * 4, 0);
    Context context(QZCGContextCreateWithData(buffer.data(), CGSizeMake(4, 3)));
    ASSERT_TRUE(context);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(context.get()), 16u);
    CGContextSetRGBFillColor(context.get(), 1, 0, 0, 1);
    CGContextFillRect(context.get(), CGRectMake(0, 0, 4, 3));
    for (std::size_t i = 0; i < buffer.size(); i += 4) {
        ASSERT_EQ(buffer[i], 0xFF) << i;
        ASSERT_EQ(buffer[i + 1], 0x00) << i;
        ASSERT_EQ(buffer[i + 2], 0x00) << i;
        ASSERT_EQ(buffer[i + 3], 0xFF) << i;
    }

    // A pixel block sees the same bytes, and what it writes lands in the caller's buffer.
    int red = 0;
    QZBitmapBlock block = QZBitmapBlockCreateWithPixelBlock([&](QZPixel* pixel, QZPixelContext*) {
        red += pixel->r == 255;
        pixel->b = 0x80;
    });
    ASSERT_TRUE(block);
    block(context.get(), nullptr);
    EXPECT_EQ(red, 12);
    EXPECT_EQ(buffer[2], 0x80);
    EXPECT_EQ(buffer[buffer.size() - 2], 0x80);
}

TEST(QZBitmapTest, UnusableSizesGiveNoContextAndTheLogLine)
{
    const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();
    const CGSize refused[] = {{0, 10}, {10, 0}, {-1, 10}, {10, -0.5f}, {nan, 10}, {10, 1e10f}, {40000, 1}};
    for (const CGSize size : refused) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        NSLogCapture log;
        Context context(QZCGContextCreateWithData(nullptr, size));
        EXPECT_FALSE(context);
        EXPECT_EQ(log.lines(), std::vector<std::string>{kNullContextLine});
    }
    // Fractions are dropped.
    Context context(QZCGContextCreate(CGSizeMake(2.9f, 3.2f)));
    ASSERT_TRUE(context);
    EXPECT_EQ(CGBitmapContextGetWidth(context.get()), 2u);
    EXPECT_EQ(CGBitmapContextGetHeight(context.get()), 3u);
}

TEST(QZBitmapTest, ACopiedContextHasItsOwnBufferWithTheSamePixels)
{
    EXPECT_EQ(QZCGContextCreateWithContext(nullptr), nullptr);
    std::vector<std::uint8_t> buffer(5 * 2 * 4);
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = std::uint8_t(i * 7);
    Context original(QZCGContextCreateWithData(buffer.data(), CGSizeMake(5, 2)));
    Context copy(QZCGContextCreateWithContext(original.get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(CGBitmapContextGetWidth(copy.get()), 5u);
    EXPECT_EQ(CGBitmapContextGetHeight(copy.get()), 2u);
    auto* copied = static_cast<std::uint8_t*>(CGBitmapContextGetData(copy.get()));
    ASSERT_NE(copied, buffer.data());
    EXPECT_EQ(std::vector<std::uint8_t>(copied, copied + buffer.size()), buffer);
    copied[0] = 1;
    EXPECT_EQ(buffer[0], 0) << "the copy writes into the original";
}

// A processor subclass as the later ones are written: its own initialiser calls the base's first.
class CountingProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<CountingProcessor> make()
    {
        return NSObject::create<CountingProcessor>(&CountingProcessor::initCounting);
    }
    int defaultsSet = 0;
    CGFloat scaleWhenDefaultsSet = 0;

protected:
    void setDefaults() override
    {
        ++defaultsSet;
        scaleWhenDefaultsSet = scaleFactor();
    }

private:
    void initCounting() { init(); }
};

TEST(QZProcessorTest, InitSetsTheScaleThenTheDefaultsOnceAndTheBaseHasNoBlocks)
{
    auto processor = CountingProcessor::make();
    EXPECT_EQ(processor->scaleFactor(), 1.0f);
    EXPECT_EQ(processor->defaultsSet, 1);
    EXPECT_EQ(processor->scaleWhenDefaultsSet, 1.0f) << "setDefaults ran before the scale was set";
    EXPECT_FALSE(processor->bitmapBlock());
    EXPECT_FALSE(processor->qopBitmapBlock());
    const CGSize size = processor->outputSizeForInputSize(CGSizeMake(123.5f, 7));
    EXPECT_EQ(size.width, 123.5f);
    EXPECT_EQ(size.height, 7);

    // A block processor hands out the block it was given, and no QopLite block.
    int ran = 0;
    auto wrapped = QZProcessor::processorWithBitmapBlock([&](CGContextRef, const std::atomic<bool>*) { ++ran; });
    ASSERT_TRUE(std::dynamic_pointer_cast<QZBlockProcessor>(wrapped));
    EXPECT_EQ(wrapped->scaleFactor(), 1.0f);
    EXPECT_FALSE(wrapped->qopBitmapBlock());
    QZBitmapBlock block = wrapped->bitmapBlock();
    ASSERT_TRUE(block);
    block(nullptr, nullptr);
    EXPECT_EQ(ran, 1);
}

TEST(QZModuleTest, ProcessorsAreBuiltAtEveryAskAndCarryTheModulesScale)
{
    int built = 0;
    auto module = QZBlockModule::moduleWithBlock([&](QZProcessorList& processors) {
        ++built;
        processors.push_back(CountingProcessor::make());
        processors.push_back(QZProcessor::processorWithBitmapBlock(nullptr));
    });
    module->setScaleFactor(2.5f);
    const QZProcessorList first = module->processors();
    module->setScaleFactor(0.5f);
    const QZProcessorList second = module->processors();
    EXPECT_EQ(built, 2);
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NE(first[i], second[i]) << "a list was handed out twice";
        EXPECT_EQ(first[i]->scaleFactor(), 2.5f);
        EXPECT_EQ(second[i]->scaleFactor(), 0.5f);
    }

    EXPECT_TRUE(QZModule::make()->processors().empty());
    // The class's name, read through a module.
    const std::shared_ptr<QZModule> modules[] = {QZModule::make(), module};
    EXPECT_EQ(modules[0]->instanceName(), QZModule::name());
    EXPECT_EQ(modules[1]->instanceName(), QZBlockModule::name());
}

}  // namespace
