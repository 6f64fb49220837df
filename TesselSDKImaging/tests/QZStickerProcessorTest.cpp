// The sticker processor on a Core Graphics context: frame cells snapped to whole pixels, a sticker
// fitted and centred in its cell, the turning direction, and blocks that keep their tiling.
#include "TesselSDKImaging/tests/QZPlacingTestSupport.h"

#include "TesselSDKImaging/Processors/QZStickerProcessor.h"

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIImage.h"

#include <gtest/gtest.h>

using qop_test::TestBitmap;

namespace {

// width x height pixels: the left half blue, the right half red.
std::shared_ptr<UIImage> halves(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> bytes(width * height * 4);
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            std::uint8_t* p = &bytes[(y * width + x) * 4];
            const bool left = x < width / 2;
            p[0] = left ? 0 : 255;
            p[2] = left ? 255 : 0;
            p[3] = 255;
        }
    }
    CGImageRef image = CGImageCreateWithRGBABytes(width, height, width * 4, bytes.data());
    auto picture = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    return picture;
}

TestBitmap blank(std::size_t width, std::size_t height)
{
    TestBitmap bitmap(width, height);
    bitmap.fill({0, 255, 0, 255});
    return bitmap;
}

bool isBlue(const QopColor_t& c)
{
    return c.b > 200 && c.r < 60 && c.g < 60;
}
bool isRed(const QopColor_t& c)
{
    return c.r > 200 && c.b < 60 && c.g < 60;
}
bool isUntouched(const QopColor_t& c)
{
    return c.g == 255 && c.r == 0 && c.b == 0;
}

TEST(QZStickerProcessorTest, FramePiecesFillCellsSnappedToWholePixels)
{
    auto processor = QZStickerProcessor::make();
    EXPECT_EQ(processor->tileX(), 1);
    EXPECT_EQ(processor->tileY(), 1);
    processor->setStickerImage(halves(2, 1));
    processor->setRelativeStickerRect(CGRectMake(10.5f / 200, 0, 100.7f / 200, 1));
    processor->setFrameType(true);
    processor->setTileX(3);
    const TestBitmap framed = qz_test::runCG(processor->bitmapBlock(), blank(200, 20));
    // Cells 10..43, 43..77, 77..111: each starts blue and ends red.
    EXPECT_TRUE(isUntouched(framed.at(9, 10)));
    for (std::size_t start : {10, 43, 77}) {
        SCOPED_TRACE(start);
        EXPECT_TRUE(isBlue(framed.at(start, 10)));
    }
    for (std::size_t end : {42, 76, 110}) {
        SCOPED_TRACE(end);
        EXPECT_TRUE(isRed(framed.at(end, 10)));
    }
    EXPECT_TRUE(isUntouched(framed.at(111, 10)));
}

TEST(QZStickerProcessorTest, AStickerIsFittedCentredAndTurnedClockwise)
{
    auto processor = QZStickerProcessor::make();
    processor->setStickerImage(halves(4, 4));
    processor->setRelativeStickerRect(CGRectMake(0, 0, 1, 1));
    const TestBitmap fitted = qz_test::runCG(processor->bitmapBlock(), blank(200, 100));
    EXPECT_TRUE(isUntouched(fitted.at(49, 50)));
    EXPECT_TRUE(isBlue(fitted.at(51, 50)));
    EXPECT_TRUE(isRed(fitted.at(148, 50)));
    EXPECT_TRUE(isUntouched(fitted.at(150, 50)));

    // A quarter turn clockwise brings the left (blue) half to the top.
    processor->setStickerImage(halves(2, 2));
    processor->setRotation(1.5707964f);
    const TestBitmap turned = qz_test::runCG(processor->bitmapBlock(), blank(100, 100));
    EXPECT_TRUE(isBlue(turned.at(50, 20)));
    EXPECT_TRUE(isRed(turned.at(50, 80)));
}

TEST(QZStickerProcessorTest, ABlockKeepsTheTilingAndFrameFlagItWasMadeWith)
{
    auto processor = QZStickerProcessor::make();
    processor->setStickerImage(halves(2, 2));
    processor->setRelativeStickerRect(CGRectMake(0, 0, 1, 1));
    const TestBitmap expected = qz_test::runCG(processor->bitmapBlock(), blank(90, 30));
    const QZBitmapBlock block = processor->bitmapBlock();
    processor->setTileX(3);
    processor->setFrameType(true);
    processor->setRotation(1);
    EXPECT_TRUE(qz_test::runCG(block, blank(90, 30)) == expected);
    EXPECT_FALSE(qz_test::runCG(processor->bitmapBlock(), blank(90, 30)) == expected);
    // No tiles draw nothing.
    processor->setTileX(0);
    EXPECT_TRUE(qz_test::runCG(processor->bitmapBlock(), blank(90, 30)) == blank(90, 30));
}

}  // namespace
