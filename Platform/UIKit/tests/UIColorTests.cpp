#include <gtest/gtest.h>

#include "UIKitTestSupport.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

namespace {

TEST(UIColor, KeepsItsColourSpace)
{
    struct Case {
        std::shared_ptr<UIColor> color;
        CGColorSpaceModel model;
        size_t components;
    } cases[] = {
        {UIColor::whiteColor(), kCGColorSpaceModelMonochrome, 2},
        {UIColor::blackColor(), kCGColorSpaceModelMonochrome, 2},
        {UIColor::clearColor(), kCGColorSpaceModelMonochrome, 2},
        {UIColor::redColor(), kCGColorSpaceModelRGB, 4},
        {UIColor::colorWithWhite(0.5f, 0.25f)->colorWithAlphaComponent(1), kCGColorSpaceModelMonochrome, 2},
        {UIColor::colorWithRed(0.1f, 0.2f, 0.3f, 1)->colorWithAlphaComponent(0.5f), kCGColorSpaceModelRGB, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(c.color->CGColor())), c.model) << c.color->description();
        EXPECT_EQ(CGColorGetNumberOfComponents(c.color->CGColor()), c.components) << c.color->description();
        EXPECT_EQ(CGColorGetPattern(c.color->CGColor()), nullptr);
    }
    CGFloat r, g, b, a;
    ASSERT_TRUE(UIColor::colorWithWhite(0.5f, 0.25f)->getRed(&r, &g, &b, &a));
    EXPECT_FLOAT_EQ(r, 0.5f);
    EXPECT_FLOAT_EQ(b, 0.5f);
    EXPECT_FLOAT_EQ(a, 0.25f);
    EXPECT_FLOAT_EQ(CGColorGetAlpha(UIColor::redColor()->colorWithAlphaComponent(0.5f)->CGColor()), 0.5f);
    EXPECT_TRUE(UIColor::colorWithWhite(1, 1)->isEqual(*UIColor::whiteColor()));
    EXPECT_FALSE(UIColor::colorWithRed(1, 1, 1, 1)->isEqual(*UIColor::whiteColor()));
}

TEST(UIColor, PatternColoursTileTheirImageWhenFilled)
{
    CGImageRef tile = makeImage({{{255, 0, 0, 255}, {0, 0, 255, 255}}});
    auto pattern = UIColor::colorWithPatternImage(UIImage::imageWithCGImage(tile));
    CGImageRelease(tile);
    ASSERT_NE(pattern, nullptr);
    EXPECT_NE(CGColorGetPattern(pattern->CGColor()), nullptr);
    EXPECT_FALSE(pattern->getRed(nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(CGColorGetPattern(pattern->colorWithAlphaComponent(0.5f)->CGColor()), nullptr);

    UIGraphicsBeginImageContextWithOptions(CGSizeMake(5, 1), false, 1);
    pattern->setFill();
    UIRectFill(CGRectMake(0, 0, 5, 1));
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_NE(image, nullptr);
    for (size_t x = 0; x < 5; ++x)
        EXPECT_EQ(pixelOf(image->CGImage(), x, 0), (x % 2 ? RGBA{0, 0, 255, 255} : RGBA{255, 0, 0, 255})) << x;
}

}  // namespace
