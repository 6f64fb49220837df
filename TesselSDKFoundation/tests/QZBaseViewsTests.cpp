#include "TesselSDKFoundation/QZContainerView.h"
#include "TesselSDKFoundation/QZDrawingUtils.h"
#include "TesselSDKFoundation/QZHUDView.h"
#include "TesselSDKFoundation/QZOverlayView.h"
#include "TesselSDKFoundation/QZProgressHUDView.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "UIKit/UIActivityIndicatorView.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct OverlayScene {
    std::shared_ptr<UIView> root = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
    std::shared_ptr<UIView> behind = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
    std::shared_ptr<QZOverlayView> overlay = UIView::viewWithFrame<QZOverlayView>(CGRectMake(0, 0, 100, 100));
    std::shared_ptr<UIView> back = UIView::viewWithFrame(CGRectMake(10, 10, 40, 40));
    std::shared_ptr<UIView> front = UIView::viewWithFrame(CGRectMake(30, 30, 40, 40));
    OverlayScene()
    {
        root->addSubview(behind);
        root->addSubview(overlay);
        overlay->addSubview(back);
        overlay->addSubview(front);
    }
};

TEST(QZOverlayViewTest, TouchesFallThroughExceptOnInteractiveSubviews)
{
    struct Row {
        const char* name;
        CGPoint point;
        std::function<void(OverlayScene&)> change;
        std::function<std::shared_ptr<UIView>(OverlayScene&)> expected;
    };
    const Row rows[] = {
        {"on the back button", {15, 15}, nullptr, [](auto& s) { return s.back; }},
        {"where both overlap: the front wins", {40, 40}, nullptr, [](auto& s) { return s.front; }},
        {"elsewhere: the view behind", {90, 5}, nullptr, [](auto& s) { return s.behind; }},
        {"front with interaction off is skipped",
         {40, 40},
         [](auto& s) { s.front->setUserInteractionEnabled(false); },
         [](auto& s) { return s.back; }},
        // The first qualifying subview answers, even with null: no later subview is tried.
        {"front whose own hit test is null",
         {40, 40},
         [](auto& s) { s.front->setAlpha(0); },
         [](auto& s) { return s.behind; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OverlayScene s;
        if (row.change) row.change(s);
        EXPECT_EQ(s.root->hitTest(row.point, nullptr), row.expected(s));
    }
}

TEST(QZOverlayViewTest, PointInsideOnlyOnVisibleSubviewsUnlessTouchesAreNotLimited)
{
    OverlayScene s;
    EXPECT_TRUE(s.overlay->allowsTouchesOnlyInSubviews());
    EXPECT_FALSE(s.overlay->isUserInteractionEnabled());
    EXPECT_TRUE(s.overlay->pointInside(CGPointMake(15, 15), nullptr));
    EXPECT_FALSE(s.overlay->pointInside(CGPointMake(90, 5), nullptr));
    s.back->setHidden(true);
    EXPECT_FALSE(s.overlay->pointInside(CGPointMake(15, 15), nullptr));
    s.overlay->setAllowsTouchesOnlyInSubviews(false);
    EXPECT_TRUE(s.overlay->pointInside(CGPointMake(90, 5), nullptr));
    EXPECT_TRUE(s.overlay->pointInside(CGPointMake(-50, 500), nullptr));
    // With interaction on, it answers as a plain view does.
    s.overlay->setUserInteractionEnabled(true);
    EXPECT_EQ(s.root->hitTest(CGPointMake(90, 5), nullptr), s.overlay);
}

TEST(QZContainerViewTest, NeverTakesATouchItself)
{
    auto container = UIView::viewWithFrame<QZContainerView>(CGRectMake(0, 0, 100, 100));
    auto button = UIView::viewWithFrame(CGRectMake(0, 0, 20, 20));
    container->addSubview(button);
    EXPECT_EQ(container->hitTest(CGPointMake(5, 5), nullptr), button);
    EXPECT_EQ(container->hitTest(CGPointMake(50, 50), nullptr), nullptr);
}

TEST(QZViewTest, AddedSubviewFillsTheReceiverThroughItsResizes)
{
    auto parent = UIView::viewWithFrame<QZView>(CGRectMake(0, 0, 100, 50));
    auto child = parent->addSubviewOfClass<QZOverlayView>();
    EXPECT_EQ(child->superview(), parent);
    parent->setFrame(CGRectMake(0, 0, 300, 200));
    EXPECT_FLOAT_EQ(child->frame().size.width, 300);
    EXPECT_FLOAT_EQ(child->frame().size.height, 200);
    auto fixed = parent->addSubviewOfClass<UIView>(UIViewAutoresizingNone, CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(fixed->autoresizingMask(), UIViewAutoresizingNone);
    EXPECT_FLOAT_EQ(fixed->frame().origin.y, 2);
}

TEST(QZHUDViewTest, ShowingHidingAndTheirCompletions)
{
    UITestDriver driver;
    auto hud = UIView::viewWithFrame<QZHUDView>(CGRectMake(0, 0, 100, 100));
    EXPECT_TRUE(hud->isVisible());
    EXPECT_EQ(hud->layer()->cornerRadius(), 8);
    EXPECT_FALSE(hud->isUserInteractionEnabled());

    int calls = 0;
    hud->setVisible(true, true, [&] { ++calls; });  // no change: nothing at all
    driver.advance(0.5);
    EXPECT_EQ(calls, 0);

    hud->setVisible(false, false, [&] {
        ++calls;
        EXPECT_EQ(hud->alpha(), 0);
        EXPECT_FLOAT_EQ(hud->transform().a, 1.1f);
    });
    EXPECT_EQ(calls, 1);

    hud->setVisible(true, true, [&] { ++calls; });
    EXPECT_EQ(hud->alpha(), 1);
    driver.advance(0.19);
    EXPECT_EQ(calls, 1);
    driver.advance(0.02);
    EXPECT_EQ(calls, 2);
    driver.advance(1);
    EXPECT_EQ(calls, 2);

    auto progress = UIView::viewWithFrame<QZProgressHUDView>(CGRectMake(0, 0, 100, 80));
    ASSERT_EQ(progress->subviews().size(), 1u);
    auto indicator = std::dynamic_pointer_cast<UIActivityIndicatorView>(progress->subviews()[0]);
    ASSERT_TRUE(indicator);
    EXPECT_TRUE(indicator->isAnimating());
    EXPECT_FLOAT_EQ(indicator->center().x, 50);
    EXPECT_FLOAT_EQ(indicator->center().y, 40);
    EXPECT_FLOAT_EQ(indicator->bounds().size.width, 37);
}

TEST(QZViewAnimationTest, FinalValuesAtOnceOneCompletionAfterTheDurationNullCompletionAllowed)
{
    UITestDriver driver;
    auto view = UIView::viewWithFrame(CGRectMake(0, 0, 10, 10));
    int completions = 0;
    QZPerformUIViewAnimation(
        0.3, [&] { view->setCenter(CGPointMake(50, 60)); },
        [&](bool finished) {
            EXPECT_TRUE(finished);
            ++completions;
        });
    EXPECT_FLOAT_EQ(view->center().x, 50);
    driver.advance(0.29);
    EXPECT_EQ(completions, 0);
    driver.advance(0.5);
    EXPECT_EQ(completions, 1);
    QZPerformUIViewAnimation(
        0.3, [&] { view->setAlpha(0.5f); }, nullptr);
    driver.advance(0.5);
    EXPECT_EQ(view->alpha(), 0.5f);
}

TEST(QZDrawingUtilsTest, InnerGlowLightsJustInsideItsPathAndNothingOutside)
{
    auto view = UIView::viewWithFrame(CGRectMake(0, 0, 60, 60));
    auto path = UIBezierPath::bezierPathWithRect(CGRectMake(10, 10, 40, 40));
    view->layer()->addSublayer(QZDrawingUtils::innerGlowLayerForLayer(*view->layer(), *path, UIColor::redColor(), 4));
    auto image = UIViewSnapshot(*view);
    ASSERT_TRUE(image);
    CGImageRef pixels = image->CGImage();
    size_t scale = static_cast<size_t>(image->scale());
    auto alphaAt = [&](size_t x, size_t y) {
        return CGImageGetBytes(pixels)[(y * scale) * CGImageGetBytesPerRow(pixels) + (x * scale) * 4 + 3];
    };
    auto redAt = [&](size_t x, size_t y) {
        return CGImageGetBytes(pixels)[(y * scale) * CGImageGetBytesPerRow(pixels) + (x * scale) * 4];
    };
    EXPECT_GT(alphaAt(10, 30), 60);               // at the edge, inside: lit
    EXPECT_GT(alphaAt(10, 30), alphaAt(13, 30));  // fading inwards
    EXPECT_GT(redAt(10, 30), 60);                 // in the glow's colour
    EXPECT_LT(alphaAt(30, 30), 5);                // the middle stays dark
    EXPECT_EQ(alphaAt(8, 30), 0);                 // outside the path: nothing, not even the blue fill
    EXPECT_EQ(alphaAt(55, 55), 0);
}

}  // namespace
