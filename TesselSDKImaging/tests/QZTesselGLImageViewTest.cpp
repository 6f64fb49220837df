// The zoomable image view without GL: zoom limits, locking, laying out an image, and pinches.
#include "TesselSDKImaging/QZTesselGLImageView.h"

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::shared_ptr<UIImage> blankImage(CGFloat width, CGFloat height)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), false, 1);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<QZTesselGLImageView> imageView(CGRect frame)
{
    return UIView::viewWithFrame<QZTesselGLImageView>(frame);
}

TEST(QZTesselGLImageViewTest, ZoomLimitsFitTheImageAndAnEmptySpaceGivesOne)
{
    struct Case {
        const char* name;
        CGSize image, view;
        UIEdgeInsets insets;
        CGRect minimumImageRect;
        float min, max;
    };
    const Case cases[] = {
        {"an image of no width", {0, 100}, {320, 480}, {}, CGRectZero, 1, 1},
        {"a wide photo", {2000, 1000}, {320, 480}, {}, CGRectZero, 0.16f, 2},
        {"a minimum image rectangle", {2000, 1000}, {320, 480}, {}, CGRectMake(0, 0, 480, 480), 0.48f, 2},
        {"a tiny image", {10, 10}, {320, 480}, {}, CGRectZero, 32, 32},
        {"insets", {1000, 1000}, {320, 480}, {40, 10, 40, 10}, CGRectZero, 0.3f, 2},
        // The fault mended: no room gave a minimum of 0 or less.
        {"no frame yet", {2000, 1000}, {0, 0}, {}, CGRectZero, 1, 1},
        {"insets past the bounds", {2000, 1000}, {320, 480}, {0, 200, 0, 200}, CGRectZero, 1, 1},
        {"a minimum image rectangle of no size", {2000, 1000}, {320, 480}, {}, CGRectMake(5, 5, 0, 0), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto view = imageView(CGRectMake(0, 0, c.view.width, c.view.height));
        view->setContentInset(c.insets);
        view->setMinimumImageRect(c.minimumImageRect);
        float min = 0, max = 0;
        view->calculateZoomBoundariesForImageSize(c.image, &min, &max);
        EXPECT_FLOAT_EQ(min, c.min);
        EXPECT_FLOAT_EQ(max, c.max);
    }

    // Zoomed out with no room: the transform stays invertible and conversions stay finite.
    auto view = imageView(CGRectZero);
    view->setImage(blankImage(200, 100));
    EXPECT_EQ(view->zoomScale(), 1);
    CGPoint p = view->imageView()->convertPointFromView(CGPointMake(10, 10), view.get());
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));

    auto tiny = imageView(CGRectMake(0, 0, 320, 480));
    tiny->setImage(blankImage(10, 10));
    EXPECT_EQ(tiny->calculatedRelativeZoomScale(), 1) << "the limits are equal";
}

TEST(QZTesselGLImageViewTest, SettingAnImageLaysItOutZoomedOutAndCentred)
{
    UITestDriver driver;
    auto view = imageView(CGRectMake(0, 0, 320, 480));
    auto photo = blankImage(640, 640);
    view->setImage(photo);
    EXPECT_EQ(view->image(), photo);
    EXPECT_TRUE(view->openGLView()->isHidden());
    EXPECT_FALSE(view->imageView()->isHidden());
    EXPECT_FLOAT_EQ(view->calculatedMinimumZoomScale(), 0.5f);
    EXPECT_FLOAT_EQ(view->zoomScale(), 0.5f);
    EXPECT_EQ(view->minimumZoomScale(), 0.5f);
    EXPECT_EQ(view->maximumZoomScale(), 2);
    EXPECT_EQ(view->contentSize().width, 320);
    EXPECT_EQ(view->contentSize().height, 320);
    EXPECT_TRUE(CGRectEqualToRect(view->openGLView()->frame(), CGRectMake(0, 0, 640, 640)));
    view->layoutIfNeeded();
    CGRect shown = view->imageView()->frame();
    EXPECT_EQ(shown.origin.x, 0);
    EXPECT_EQ(shown.origin.y, 80) << "centred where it is smaller than the view";
    EXPECT_EQ(view->calculatedRelativeZoomScale(), 0);

    // A new frame zooms out again.
    view->setZoomScale(1.25f);
    EXPECT_FLOAT_EQ(view->calculatedRelativeZoomScale(), 0.5f);
    view->setFrame(CGRectMake(0, 0, 160, 480));
    EXPECT_FLOAT_EQ(view->zoomScale(), 0.25f);

    // An image view of another class is left alone.
    auto other = imageView(CGRectMake(0, 0, 320, 480));
    struct Special : UIImageView {
        using UIImageView::UIImageView;
    };
    auto special = UIView::viewWithFrame<Special>();
    other->setImageView(special);
    other->setImage(photo);
    EXPECT_FALSE(special->image());
    EXPECT_FALSE(other->image());
}

TEST(QZTesselGLImageViewTest, ANilImageKeepsTheLayoutAndOnlyTheInternalSwitchShowsTheGLView)
{
    auto view = imageView(CGRectMake(0, 0, 320, 480));
    auto photo = blankImage(640, 640);
    view->setImage(photo);
    view->showOpenGLView(true);
    EXPECT_TRUE(view->openGLView()->isHidden());
    EXPECT_EQ(view->image(), photo);
    view->showOpenGLViewInternal(true);
    EXPECT_FALSE(view->openGLView()->isHidden());
    EXPECT_FALSE(view->image());

    view->setImage(photo);
    view->setImage(nullptr);
    EXPECT_FALSE(view->image());
    EXPECT_TRUE(view->openGLView()->isHidden());
    EXPECT_EQ(view->contentSize().width, 320);
    EXPECT_FLOAT_EQ(view->calculatedMinimumZoomScale(), 0.5f);
    EXPECT_FLOAT_EQ(view->zoomScale(), 0.5f);
}

TEST(QZTesselGLImageViewTest, LockingPinsTheZoomAndUnlockingRestoresTheLimits)
{
    auto view = imageView(CGRectMake(0, 0, 320, 480));
    view->setImage(blankImage(640, 640));
    view->setZoomScale(1.3f);
    view->setPositionLocked(true);
    EXPECT_TRUE(view->isPositionLocked());
    EXPECT_FLOAT_EQ(view->minimumZoomScale(), 1.3f);
    EXPECT_FLOAT_EQ(view->maximumZoomScale(), 1.3f);
    EXPECT_FALSE(view->bouncesZoom());
    EXPECT_FALSE(view->isScrollEnabled());
    view->layoutIfNeeded();
    view->setNeedsLayout();
    view->layoutIfNeeded();
    EXPECT_FLOAT_EQ(view->maximumZoomScale(), 1.3f) << "layout keeps a locked position";
    view->setPositionLocked(false);
    EXPECT_FLOAT_EQ(view->minimumZoomScale(), 0.5f);
    EXPECT_FLOAT_EQ(view->maximumZoomScale(), 2);
    EXPECT_TRUE(view->bouncesZoom());
    EXPECT_TRUE(view->isScrollEnabled());
}

TEST(QZTesselGLImageViewTest, PinchesZoomWithinTheLimitsOnceInteractionIsOn)
{
    UITestDriver driver;
    auto window = UIWindow::window();
    window->makeKeyAndVisible();
    auto view = imageView(window->bounds());
    window->addSubview(view);
    view->setImage(blankImage(640, 960));
    ASSERT_FLOAT_EQ(view->zoomScale(), 0.5f);
    CGPoint centre = CGPointMake(160, 240);

    driver.pinch(centre, 100, 300, 0.3);
    driver.advance(0.5);
    EXPECT_FLOAT_EQ(view->zoomScale(), 0.5f) << "as set up, no touch reaches it";

    view->setUserInteractionEnabled(true);
    driver.pinch(centre, 100, 300, 0.3);
    EXPECT_FLOAT_EQ(view->zoomScale(), 1.5f);
    driver.pinch(centre, 100, 400, 0.3);
    EXPECT_GT(view->zoomScale(), 2) << "past the maximum while pinching";
    driver.advance(0.5);
    EXPECT_EQ(view->zoomScale(), 2) << "and back once released";
    driver.pinch(centre, 300, 20, 0.3);
    driver.advance(0.5);
    EXPECT_FLOAT_EQ(view->zoomScale(), 0.5f);
    view->layoutIfNeeded();
    EXPECT_EQ(view->imageView()->frame().origin.x, 0);
    EXPECT_EQ(view->imageView()->frame().origin.y, 0);

    view->setZoomScale(1.3f);
    view->setPositionLocked(true);
    driver.pinch(centre, 100, 200, 0.3);
    driver.advance(0.5);
    EXPECT_FLOAT_EQ(view->zoomScale(), 1.3f) << "locked";
}

}  // namespace
