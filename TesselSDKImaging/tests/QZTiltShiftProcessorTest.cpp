// The tilt-shift processor on the CPU: a sharp disc or band and a blur away from it, whatever the
// hi-res flag says, and sizes that leave the image as it was.
#include "TesselSDKImaging/tests/QZPlacingTestSupport.h"

#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include <gtest/gtest.h>

#include <limits>

using qop_test::TestBitmap;
using qz_test::maxDifference;

namespace {

std::shared_ptr<QZTiltShiftProcessor> makeFocus(int style, float angle = 0)
{
    auto processor = QZTiltShiftProcessor::make();
    processor->setMaskSize(CGSizeMake(32, 32));
    processor->setCenterPoint(CGPointMake(16, 16));
    processor->setSigmaR(4);
    processor->setAngle(angle);
    processor->setStyle(QZTiltShiftStyle(style));
    return processor;
}

TEST(QZTiltShiftProcessorTest, RadialKeepsADiscAndLinearABand)
{
    const TestBitmap input = qz_test::makeChecks(64, 64);
    struct Row {
        const char* name;
        int style;
        bool sharpLeft;  // (4, 32): on the band through the centre, off the disc
    };
    for (const Row& row : {Row{"radial", 0, false}, Row{"style 5 is radial", 5, false}, Row{"linear", 1, true}}) {
        SCOPED_TRACE(row.name);
        int calls = 0;
        auto processor = makeFocus(row.style);
        processor->setPostMaskAdjustBlock([&](const auto&) { ++calls; });
        const TestBitmap output = qz_test::runQop(processor->qopBitmapBlock(), input);
        EXPECT_LE(maxDifference(output.at(32, 32), input.at(32, 32)), 1) << "the focus stays sharp";
        EXPECT_GT(maxDifference(output.at(32, 2), input.at(32, 2)), 15) << "far from the focus is blurred";
        EXPECT_EQ(maxDifference(output.at(4, 32), input.at(4, 32)) <= 1, row.sharpLeft);
        EXPECT_EQ(calls, 0) << "the adjust block belongs to the GPU preview";
        processor->setIsHires(true);
        EXPECT_TRUE(qz_test::runQop(processor->qopBitmapBlock(), input) == output) << "the CPU ignores isHires";
    }
    // The linear angle is in radians: a quarter turn makes the band vertical.
    const TestBitmap turned = qz_test::runQop(makeFocus(1, 1.5707964f)->qopBitmapBlock(), input);
    EXPECT_LE(maxDifference(turned.at(32, 2), input.at(32, 2)), 1);
    EXPECT_GT(maxDifference(turned.at(4, 32), input.at(4, 32)), 15);
}

TEST(QZTiltShiftProcessorTest, ValuesCapturedWhenTheBlockIsMadeAndUnusableMasksLeaveTheImage)
{
    const TestBitmap input = qz_test::makeChecks(64, 64);
    auto processor = makeFocus(0);
    const QZQopBitmapBlock block = processor->qopBitmapBlock();
    processor->setCenterPoint(CGPointMake(2, 2));
    processor->setStyle(QZTiltShiftStyleLinear);
    EXPECT_TRUE(qz_test::runQop(block, input) == qz_test::runQop(makeFocus(0)->qopBitmapBlock(), input));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const CGSize size : {CGSizeMake(nan, 32), CGSizeMake(32, 0), CGSizeMake(-4, 32), CGSizeMake(1e10f, 32)}) {
        processor->setMaskSize(size);
        EXPECT_TRUE(qz_test::runQop(processor->qopBitmapBlock(), input) == input);
    }
}

}  // namespace
