// The draw processor on a Core Graphics context: line widths, where the corners land, the eraser
// inside one run, a stop before the run, and colours of every kind.
#include "TesselSDKImaging/tests/QZPlacingTestSupport.h"

#include "TesselSDKImaging/Processors/QZDrawProcessor.h"

#include "UIKit/UIColor.h"

#include <gtest/gtest.h>

using qop_test::TestBitmap;

namespace {

std::shared_ptr<QZBrushStroke> makeLine(std::vector<CGPoint> points, float size, std::shared_ptr<UIColor> color,
                                        CGBlendMode mode = kCGBlendModeNormal)
{
    auto stroke = QZBrushStroke::make();
    stroke->setPoints(std::move(points));
    stroke->setBrushSize(size);
    stroke->setColor(std::move(color));
    stroke->setBlendMode(mode);
    return stroke;
}

TestBitmap white(std::size_t side)
{
    TestBitmap bitmap(side, side);
    bitmap.fill({255, 255, 255, 255});
    return bitmap;
}

bool isRed(const QopColor_t& c)
{
    return c.r > 200 && c.g < 60 && c.b < 60;
}

TEST(QZDrawProcessorTest, LineWidthIsTheBrushSizeTimesTheScaleFactor)
{
    auto processor = QZDrawProcessor::make();
    processor->setStrokes({makeLine({{0.5f, 0.5f}}, 10, UIColor::redColor())});
    processor->setScaleFactor(2.5f);
    const TestBitmap dot = qz_test::runCG(processor->bitmapBlock(), white(100));
    int across = 0, down = 0;
    for (std::size_t i = 0; i < 100; ++i) {
        across += dot.at(i, 50).g < 128;
        down += dot.at(50, i).g < 128;
    }
    EXPECT_NEAR(across, 25, 1);
    EXPECT_NEAR(down, 25, 1);

    processor->setStrokes({makeLine({{0.1f, 0.2f}, {0.9f, 0.2f}}, 10, UIColor::redColor())});
    const TestBitmap line = qz_test::runCG(processor->bitmapBlock(), white(100));
    int thickness = 0;
    for (std::size_t y = 0; y < 100; ++y) thickness += line.at(50, y).g < 128;
    EXPECT_NEAR(thickness, 25, 1);
    EXPECT_TRUE(isRed(line.at(50, 20))) << "y counts from the top";
}

TEST(QZDrawProcessorTest, CornersEraserAndColours)
{
    auto processor = QZDrawProcessor::make();
    processor->setStrokes({makeLine({{0, 0}}, 4, UIColor::redColor()), makeLine({{1, 1}}, 4, UIColor::redColor())});
    const TestBitmap corners = qz_test::runCG(processor->bitmapBlock(), white(40));
    EXPECT_TRUE(isRed(corners.at(0, 0)));
    EXPECT_TRUE(isRed(corners.at(39, 39)));
    EXPECT_FALSE(isRed(corners.at(39, 0)));

    // The eraser removes this run's paint and leaves the photo under it.
    const TestBitmap photo = qop_test::makeRamp(60, 60);
    processor->setStrokes({makeLine({{0.2f, 0.5f}, {0.8f, 0.5f}}, 8, UIColor::redColor()),
                           makeLine({{0.1f, 0.5f}, {0.9f, 0.5f}}, 14, UIColor::blueColor(), kCGBlendModeClear)});
    EXPECT_TRUE(qz_test::runCG(processor->bitmapBlock(), photo) == photo);

    // Grey colours, pattern-free, draw on the CPU as any colour; a stop before the run draws nothing.
    processor->setStrokes({makeLine({{0.5f, 0.5f}}, 10, UIColor::blackColor())});
    EXPECT_LT(qz_test::runCG(processor->bitmapBlock(), white(40)).at(20, 20).r, 10);
    EXPECT_TRUE(qz_test::runCG(processor->bitmapBlock(), white(40), true) == white(40));
}

TEST(QZDrawProcessorTest, BlocksKeepTheStrokesAsTheyWereWhenMade)
{
    auto stroke = makeLine({{0.5f, 0.5f}}, 6, UIColor::redColor());
    auto processor = QZDrawProcessor::make();
    processor->setStrokes({stroke});
    const QZBitmapBlock block = processor->bitmapBlock();
    stroke->addPoint(CGPointMake(0.9f, 0.9f));
    processor->setScaleFactor(3);
    const TestBitmap drawn = qz_test::runCG(block, white(40));
    EXPECT_TRUE(isRed(drawn.at(20, 20)));
    EXPECT_FALSE(isRed(drawn.at(35, 35)));
    EXPECT_FALSE(isRed(drawn.at(20, 25)));
}

}  // namespace
