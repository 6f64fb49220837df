#include <gtest/gtest.h>

#include "TesselSDKFoundation/QZDrawing.h"
#include "TesselSDKFoundation/tests/QZDrawingTestSupport.h"
#include "TesselSDKFoundation/QZDrawingUtils.h"

namespace {

TEST(QZDrawing, RoundedMaskRoundsEachCornerWhereItsNameSays)
{
    // The image's first row is its top; radius_bl is built at the bitmap's y-up origin, which is
    // the bottom-left of the picture.
    struct Case {
        const char* corner;
        CGFloat tl, tr, bl, br;
        size_t x, y;
    } cases[] = {{"top left", 10, 0, 0, 0, 0, 0},
                 {"top right", 0, 10, 0, 0, 39, 0},
                 {"bottom left", 0, 0, 10, 0, 0, 29},
                 {"bottom right", 0, 0, 0, 10, 39, 29}};
    const size_t corners[4][2] = {{0, 0}, {39, 0}, {0, 29}, {39, 29}};
    for (const Case& c : cases) {
        auto mask = QZContextCreateRoundedMask(CGRectMake(0, 0, 40, 30), c.tl, c.tr, c.bl, c.br);
        ASSERT_NE(mask, nullptr);
        CGImageRef image = mask->CGImage();
        ASSERT_EQ(CGImageGetWidth(image), 40u);
        EXPECT_EQ(pixelOf(image, 20, 15), (RGBA{255, 255, 255, 255})) << c.corner;
        for (const auto& corner : corners) {
            bool rounded = corner[0] == c.x && corner[1] == c.y;
            EXPECT_EQ(pixelOf(image, corner[0], corner[1])[3], rounded ? 0 : 255) << c.corner << " at " << corner[0] << "," << corner[1];
        }
    }
    // Different radii round by different amounts.
    auto mixed = QZContextCreateRoundedMask(CGRectMake(0, 0, 40, 30), 12, 3, 0, 0);
    EXPECT_EQ(pixelOf(mixed->CGImage(), 2, 2)[3], 0);
    EXPECT_EQ(pixelOf(mixed->CGImage(), 37, 2)[3], 255);
    EXPECT_EQ(QZContextCreateRoundedMask(CGRectMake(0, 0, 0, 10), 1, 1, 1, 1), nullptr);
}

TEST(QZDrawing, LinearGradientsRunAlongTheirDirection)
{
    const RGBA red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    CGGradientRef gradient = QZCreateGradientWithColors({UIColor::redColor(), UIColor::blueColor()});
    auto horizontal = drawImage(CGSizeMake(10, 10), 1, [&](CGContextRef) {
        QZDrawLinearGradientInRect(gradient, CGRectMake(2, 2, 6, 6), QZLinearGradientDirectionHorizontal);
    });
    auto vertical = drawImage(CGSizeMake(10, 10), 1, [&](CGContextRef) {
        QZDrawLinearGradientInRect(gradient, CGRectMake(2, 2, 6, 6), QZLinearGradientDirectionVertical);
    });
    // Extended beyond both ends (options 3): the end colours fill the rest of the clip.
    EXPECT_EQ(pixelOf(horizontal->CGImage(), 0, 5), red);
    EXPECT_EQ(pixelOf(horizontal->CGImage(), 9, 5), blue);
    EXPECT_EQ(pixelOf(horizontal->CGImage(), 5, 0), pixelOf(horizontal->CGImage(), 5, 9));
    EXPECT_EQ(pixelOf(vertical->CGImage(), 5, 0), red);
    EXPECT_EQ(pixelOf(vertical->CGImage(), 5, 9), blue);
    CGGradientRelease(gradient);

    // Clipped to a path, and a single colour is one flat stop.
    CGGradientRef flat = QZCreateGradientWithColors({UIColor::greenColor()});
    ASSERT_NE(flat, nullptr);
    CGPathRef path = CGPathCreateWithRect(CGRectMake(2, 2, 4, 4), nullptr);
    auto clipped = drawImage(CGSizeMake(10, 10), 1, [&](CGContextRef) {
        QZDrawLinearGradientInPath(flat, path, false, QZLinearGradientDirectionHorizontal);
    });
    EXPECT_EQ(pixelOf(clipped->CGImage(), 3, 3), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(pixelOf(clipped->CGImage(), 8, 8)[3], 0);
    CGPathRelease(path);
    CGGradientRelease(flat);
}

TEST(QZDrawing, InnerShadowDarkensJustInsideTheEdge)
{
    CGPathRef path = CGPathCreateWithRect(CGRectMake(10, 10, 20, 20), nullptr);
    auto image = drawImage(CGSizeMake(40, 40), 1, [&](CGContextRef context) {
        CGContextSetRGBFillColor(context, 1, 1, 1, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 40, 40));
        QZDrawInnerShadowInPathWithColor(path, UIColor::blackColor(), CGSizeMake(0, 3), 4);
    });
    CGImageRef out = image->CGImage();
    EXPECT_EQ(pixelOf(out, 5, 20), (RGBA{255, 255, 255, 255}));   // outside: untouched
    EXPECT_EQ(pixelOf(out, 20, 20), (RGBA{255, 255, 255, 255}));  // centre: beyond the blur
    EXPECT_LT(pixelOf(out, 10, 20)[0], 160);                       // just inside the left edge
    // The offset pushes the shadow down (UIKit space): the top edge is darker than the bottom.
    EXPECT_LT(pixelOf(out, 20, 11)[0], pixelOf(out, 20, 28)[0]);
    EXPECT_EQ(pixelOf(out, 20, 11)[3], 255);
    CGPathRelease(path);
}

TEST(QZDrawing, InnerGlowLightensInsideTheShapeOnly)
{
    auto shape = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(8, 8, 24, 24));
    auto image = drawImage(CGSizeMake(40, 40), 1, [&](CGContextRef context) {
        CGContextSetRGBFillColor(context, 0, 0, 0, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 40, 40));
        QZDrawingUtils::drawInnerGlowWithShape(*shape, UIColor::yellowColor(), 4);
    });
    CGImageRef out = image->CGImage();
    EXPECT_EQ(pixelOf(out, 2, 20), (RGBA{0, 0, 0, 255}));
    EXPECT_GT(pixelOf(out, 8, 20)[0], pixelOf(out, 10, 20)[0]);  // strongest at the edge
    EXPECT_GT(pixelOf(out, 10, 20)[0], 30);
    EXPECT_EQ(pixelOf(out, 20, 20), (RGBA{0, 0, 0, 255}));       // centre: beyond the blur
    EXPECT_EQ(pixelOf(out, 8, 20)[2], 0);  // yellow: no blue
}

TEST(QZDrawing, StateAndLayerHelpersRestoreWhatTheBlockChanged)
{
    auto image = drawImage(CGSizeMake(4, 4), 1, [](CGContextRef context) {
        CGContextSetRGBFillColor(context, 1, 0, 0, 1);
        QZCGContextDoWithTempState(context, [&] { CGContextSetRGBFillColor(context, 0, 1, 0, 1); });
        CGContextFillRect(context, CGRectMake(0, 0, 4, 2));
        CGContextSetAlpha(context, 0.5f);
        QZCGContextDoWithTransparencyLayer(context, [&] {
            CGContextSetRGBFillColor(context, 0, 0, 1, 1);
            CGContextFillRect(context, CGRectMake(0, 2, 4, 2));
            CGContextFillRect(context, CGRectMake(0, 2, 4, 2));  // overlaps inside the layer stay opaque
        });
    });
    EXPECT_EQ(pixelOf(image->CGImage(), 1, 0), (RGBA{255, 0, 0, 255}));
    RGBA layered = pixelOf(image->CGImage(), 1, 3);
    EXPECT_NEAR(layered[2], 128, 1);
    EXPECT_NEAR(layered[3], 128, 1);
}

}  // namespace
