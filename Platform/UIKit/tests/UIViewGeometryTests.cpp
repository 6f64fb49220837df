#include "UIKit/UIView.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

void expectRect(CGRect r, CGFloat x, CGFloat y, CGFloat w, CGFloat h, CGFloat eps = 1e-4f)
{
    EXPECT_NEAR(r.origin.x, x, eps);
    EXPECT_NEAR(r.origin.y, y, eps);
    EXPECT_NEAR(r.size.width, w, eps);
    EXPECT_NEAR(r.size.height, h, eps);
}

TEST(UIViewGeometryTest, AutoresizingSharesTheChangeAmongFlexibleParts)
{
    struct Row {
        UIViewAutoresizing mask;
        CGRect expected;
    };
    const Row rows[] = {
        {1, {{70, 20}, {30, 40}}},          {2, {{10, 20}, {90, 40}}},   {4, {{10, 20}, {30, 40}}},
        {32, {{10, 20}, {30, 40}}},         {8, {{10, 140}, {30, 40}}},  {16, {{10, 20}, {30, 160}}},
        {45, {{18.571428f, 60}, {30, 40}}}, {18, {{10, 20}, {90, 160}}}, {63, {{16, 44}, {48, 88}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mask);
        auto parent = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
        auto child = UIView::viewWithFrame(CGRectMake(10, 20, 30, 40));
        child->setAutoresizingMask(row.mask);
        parent->addSubview(child);
        parent->setFrame(CGRectMake(0, 0, 160, 220));
        expectRect(child->frame(), row.expected.origin.x, row.expected.origin.y, row.expected.size.width,
                   row.expected.size.height);
    }
    // A quarter-turned child changes through its centre and bounds: its width follows the
    // parent's height.
    auto parent = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
    auto turned = UIView::viewWithFrame(CGRectMake(0, 0, 40, 100));
    turned->setTransform(CGAffineTransformMakeRotation(static_cast<CGFloat>(M_PI / 2)));
    turned->setCenter(CGPointMake(50, 20));
    turned->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    parent->addSubview(turned);
    parent->setFrame(CGRectMake(0, 0, 160, 100));
    EXPECT_NEAR(turned->bounds().size.width, 40, 1e-4);
    EXPECT_NEAR(turned->bounds().size.height, 160, 1e-4);
}

TEST(UIViewGeometryTest, ConversionAndHitTestingThroughOppositeRotations)
{
    auto window = UIWindow::window();
    ASSERT_NEAR(window->bounds().size.width, 320, 0);
    auto outer = UIView::viewWithFrame(CGRectMake(0, 0, 100, 50));
    outer->setCenter(CGPointMake(160, 240));
    outer->setTransform(CGAffineTransformMakeRotation(static_cast<CGFloat>(M_PI / 2)));
    window->addSubview(outer);
    CGPoint origin = outer->convertPointToView(CGPointMake(0, 0), nullptr);
    EXPECT_NEAR(origin.x, 185, 1e-4);
    EXPECT_NEAR(origin.y, 190, 1e-4);

    auto inner = UIView::viewWithFrame(CGRectMake(0, 0, 20, 10));
    inner->setCenter(CGPointMake(30, 25));
    inner->setTransform(CGAffineTransformMakeRotation(static_cast<CGFloat>(-M_PI / 2)));
    outer->addSubview(inner);
    for (CGPoint p : {CGPointMake(3, 4), CGPointMake(19, 9), CGPointMake(-5, 2)}) {
        CGPoint w = inner->convertPointToView(p, window.get());
        CGPoint back = inner->convertPointFromView(w, nullptr);
        EXPECT_NEAR(back.x, p.x, 1e-3);
        EXPECT_NEAR(back.y, p.y, 1e-3);
    }
    // Upright again in the window: the child shows as a 20 x 10 box around its converted centre.
    CGRect shown = inner->convertRectToView(inner->bounds(), nullptr);
    EXPECT_NEAR(shown.size.width, 20, 1e-3);
    EXPECT_NEAR(shown.size.height, 10, 1e-3);
    CGPoint middle = CGPointMake(CGRectGetMidX(shown), CGRectGetMidY(shown));
    EXPECT_EQ(window->hitTest(middle, nullptr), inner);
    EXPECT_EQ(window->hitTest(CGPointMake(shown.origin.x + 19, shown.origin.y + 1), nullptr), inner);
    EXPECT_EQ(window->hitTest(CGPointMake(shown.origin.x + 21, shown.origin.y + 1), nullptr), outer);
}

TEST(UIViewGeometryTest, HitTestingSkipsHiddenFadedAndDisabledViewsAndPointsOutside)
{
    enum Change { None, Hidden, Alpha0009, Alpha001, NoInteraction, OutsideParent };
    struct Row {
        const char* name;
        Change change;
        bool childHit;
    };
    const Row rows[] = {
        {"plain", None, true},
        {"hidden", Hidden, false},
        {"alpha 0.009", Alpha0009, false},
        {"alpha 0.01", Alpha001, true},
        {"interaction off", NoInteraction, false},
        {"outside its parent", OutsideParent, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto root = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
        auto parent = UIView::viewWithFrame(CGRectMake(10, 10, 50, 50));
        auto child = UIView::viewWithFrame(CGRectMake(10, 10, 20, 20));
        root->addSubview(parent);
        parent->addSubview(child);
        CGPoint probe = CGPointMake(25, 25);
        switch (row.change) {
        case Hidden: child->setHidden(true); break;
        case Alpha0009: child->setAlpha(0.009f); break;
        case Alpha001: child->setAlpha(0.01f); break;
        case NoInteraction: child->setUserInteractionEnabled(false); break;
        case OutsideParent:
            child->setFrame(CGRectMake(60, 60, 20, 20));
            probe = CGPointMake(80, 80);
            break;
        case None: break;
        }
        auto hit = root->hitTest(probe, nullptr);
        if (row.childHit)
            EXPECT_EQ(hit, child);
        else
            EXPECT_NE(hit, child);
    }
}

class CountingView : public UIView {
public:
    using UIView::UIView;
    int layouts = 0;
    int draws = 0;
    void layoutSubviews() override { ++layouts; }
    void drawRect(CGRect rect) override
    {
        ++draws;
        UIColor::redColor()->setFill();
        UIRectFill(rect);
    }
};

TEST(UIViewGeometryTest, OneLayoutForManyRequestsAndOneDrawUntilAskedAgain)
{
    auto view = UIView::viewWithFrame<CountingView>(CGRectMake(0, 0, 10, 10));
    for (int i = 0; i < 5; ++i) view->setNeedsLayout();
    view->layoutIfNeeded();
    view->layoutIfNeeded();
    EXPECT_EQ(view->layouts, 1);
    view->setFrame(CGRectMake(0, 0, 20, 10));  // a new size marks it again
    view->layoutIfNeeded();
    EXPECT_EQ(view->layouts, 2);

    UIViewSnapshot(*view);
    UIViewSnapshot(*view);
    EXPECT_EQ(view->draws, 1);
    view->setNeedsDisplay();
    auto image = UIViewSnapshot(*view);
    EXPECT_EQ(view->draws, 2);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size().width, 20);
    // sizeToFit keeps the frame's origin.
    view->setFrame(CGRectMake(5, 6, 7, 8));
    view->sizeToFit();
    expectRect(view->frame(), 5, 6, 7, 8);
}

// Records every change of place and size that reaches the overridable setters, as a view that
// keeps others in step with its geometry does.
class GeometryFollowingView : public UIView {
public:
    using UIView::UIView;
    void setFrame(CGRect frame) override
    {
        calls.push_back("frame");
        UIView::setFrame(frame);
    }
    void setBounds(CGRect bounds) override
    {
        calls.push_back("bounds");
        UIView::setBounds(bounds);
    }
    void setCenter(CGPoint center) override
    {
        calls.push_back("center");
        UIView::setCenter(center);
    }
    CGSize sizeThatFits(CGSize) const override { return CGSizeMake(12, 6); }
    std::vector<std::string> calls;
};

TEST(UIViewGeometryTest, TheBaseClassChangesGeometryThroughTheOverridableSetters)
{
    auto parent = UIView::viewWithFrame(CGRectMake(0, 0, 100, 100));
    auto child = UIView::viewWithFrame<GeometryFollowingView>(CGRectMake(10, 20, 30, 40));
    child->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    parent->addSubview(child);

    parent->setFrame(CGRectMake(0, 0, 160, 100));
    EXPECT_EQ(child->calls, std::vector<std::string>{"frame"});
    expectRect(child->frame(), 10, 20, 90, 40);

    child->calls.clear();
    child->sizeToFit();
    EXPECT_EQ(child->calls, (std::vector<std::string>{"bounds", "center"}));
    expectRect(child->frame(), 10, 20, 12, 6);
}

}  // namespace
