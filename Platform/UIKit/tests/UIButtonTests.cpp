#include "UIKit/UIButton.h"
#include "UIKit/testing/UITestDriver.h"
#include "UIKitTestSupport.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<UIImage> solidImage(size_t width, size_t height, RGBA colour)
{
    CGImageRef cg = makeImage(std::vector<std::vector<RGBA>>(height, std::vector<RGBA>(width, colour)));
    auto image = UIImage::imageWithCGImage(cg);
    CGImageRelease(cg);
    return image;
}

struct Presses {
    int count = 0;
    void pressed(UIButton*) { ++count; }
};

TEST(UIButtonTest, EachStateFallsBackToTheNormalLookAndTouchesShowTheHighlightedOne)
{
    UITestDriver driver;
    auto window = keyWindow();
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(40, 40, 200, 60));
    window->addSubview(button);
    auto normal = solidImage(20, 20, {255, 0, 0, 255}), pressed = solidImage(20, 20, {0, 0, 255, 255});
    auto backing = solidImage(10, 10, {0, 255, 0, 255});
    button->setImage(normal, UIControlStateNormal);
    button->setImage(pressed, UIControlStateHighlighted);
    button->setBackgroundImage(backing, UIControlStateNormal);
    button->setTitle("Done", UIControlStateNormal);
    button->setTitle("Off", UIControlStateDisabled);
    button->setTitleColor(UIColor::redColor(), UIControlStateHighlighted);
    auto presses = std::make_shared<Presses>();
    button->addTarget(presses, &Presses::pressed, UIControlEventTouchUpInside);

    EXPECT_EQ(button->currentImage(), normal);
    EXPECT_EQ(button->titleLabel()->text(), "Done");
    EXPECT_TRUE(button->titleLabel()->textColor()->isEqual(*UIColor::whiteColor()));
    button->setSelected(true);
    EXPECT_EQ(button->currentImage(), normal) << "no selected image: the normal one";
    EXPECT_EQ(button->currentBackgroundImage(), backing);
    button->setSelected(false);

    driver.touchDown(0, UITestDriver::windowPoint(*button));
    EXPECT_EQ(button->imageView()->image(), pressed);
    EXPECT_TRUE(button->titleLabel()->textColor()->isEqual(*UIColor::redColor()));
    EXPECT_EQ(button->titleLabel()->text(), "Done");
    driver.touchUp(0, UITestDriver::windowPoint(*button));
    EXPECT_EQ(button->imageView()->image(), normal);
    EXPECT_EQ(presses->count, 1);

    button->setEnabled(false);
    EXPECT_EQ(button->titleLabel()->text(), "Off");
    driver.tap(*button);
    EXPECT_EQ(presses->count, 1);
}

TEST(UIButtonTest, TheBackgroundFillsAndTheContentIsCentred)
{
    UITestDriver driver;
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, 200, 60));
    button->setImage(solidImage(20, 30, {255, 0, 0, 255}), UIControlStateNormal);
    button->setBackgroundImage(solidImage(4, 4, {0, 255, 0, 255}), UIControlStateNormal);
    button->setTitle("Title", UIControlStateNormal);
    button->layoutIfNeeded();
    CGRect image = button->imageView()->frame(), title = button->titleLabel()->frame();
    EXPECT_EQ(image.size.width, 20);
    EXPECT_EQ(image.origin.y, 15);
    EXPECT_EQ(title.origin.x, CGRectGetMaxX(image)) << "side by side";
    EXPECT_NEAR(image.origin.x, 200 - CGRectGetMaxX(title), 1) << "centred as one";
    EXPECT_GT(title.size.width, 0);

    // Drawn: the background stretched over the bounds, the red image over it.
    auto snapshot = UITestDriver::snapshot(*button);
    CGImageRef pixels = snapshot->CGImage();
    CGFloat scale = snapshot->scale();
    EXPECT_EQ(pixelOf(pixels, size_t(2 * scale), size_t(2 * scale)), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(pixelOf(pixels, size_t((image.origin.x + 10) * scale), size_t(30 * scale)), (RGBA{255, 0, 0, 255}));
    CGSize fits = button->sizeThatFits(CGSizeMake(1000, 1000));
    EXPECT_EQ(fits.width, 20 + title.size.width);
}

TEST(UIButtonTest, TheTitleShadowTakesTheStatesColourAndTheLabelsOffset)
{
    UITestDriver driver;
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    EXPECT_FALSE(button->titleLabel()->shadowColor());  // none until set
    auto soft = UIColor::colorWithWhite(0, 0.5f), strong = UIColor::blackColor();
    button->setTitleShadowColor(soft, UIControlStateNormal);
    button->setTitleShadowColor(strong, UIControlStateHighlighted);
    button->titleLabel()->setShadowOffset(CGSizeMake(0, 1));
    button->setTitle("Download", UIControlStateNormal);
    EXPECT_EQ(button->titleLabel()->shadowColor(), soft);
    button->setHighlighted(true);
    EXPECT_EQ(button->titleLabel()->shadowColor(), strong);
    button->setHighlighted(false);
    button->setEnabled(false);
    EXPECT_EQ(button->titleShadowColorForState(UIControlStateDisabled), soft);  // falls back to normal
    EXPECT_EQ(button->titleLabel()->shadowColor(), soft);
    EXPECT_TRUE(CGSizeEqualToSize(button->titleLabel()->shadowOffset(), CGSizeMake(0, 1)));
}

}  // namespace
