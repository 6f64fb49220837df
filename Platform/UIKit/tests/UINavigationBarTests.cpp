// The navigation bar through touches: the top item's views and where they sit, the cross-fade of
// push and pop, the delegate's say on popping, and bar button items that are disabled.

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIButton.h"
#include "UIKit/UINavigationBar.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Taps {
    int count = 0;
    void tapped() { ++count; }
};

struct PopGate : UINavigationBarDelegate {
    bool allow = true;
    int asked = 0;
    std::optional<bool> navigationBarShouldPopItem(UINavigationBar*, UINavigationItem*) override
    {
        ++asked;
        return allow;
    }
};

struct NavigationBarTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<UINavigationBar> bar = UIView::viewWithFrame<UINavigationBar>(CGRectMake(0, 20, 320, 44));
    NavigationBarTest() { window->addSubview(bar); }
    void TearDown() override { PlatformSettings::reset(); }

    static std::shared_ptr<UIButton> button(CGFloat width)
    {
        auto b = UIView::viewWithFrame<UIButton>(CGRectMake(0, 0, width, 30));
        b->setTitle("B", UIControlStateNormal);
        return b;
    }
};

TEST_F(NavigationBarTest, TheTopItemsViewsSitAtTheEdgesAndTheTitleInTheMiddle)
{
    struct Case {
        const char* systemVersion;
        CGFloat margin;
    };
    for (auto [version, margin] : {Case{"6.1", 5}, Case{"7.0", 16}}) {
        SCOPED_TRACE(version);
        PlatformSettings::setSystemVersion(version);
        auto item = UINavigationItem::makeWithTitle("Edit");
        auto left = button(60), right = button(50);
        item->setLeftBarButtonItem(UIBarButtonItem::makeWithCustomView(left));
        item->setRightBarButtonItem(UIBarButtonItem::makeWithCustomView(right));
        bar->pushNavigationItem(item, false);
        bar->layoutIfNeeded();
        EXPECT_TRUE(CGRectEqualToRect(left->frame(), CGRectMake(margin, 7, 60, 30)));
        EXPECT_TRUE(CGRectEqualToRect(right->frame(), CGRectMake(320 - margin - 50, 7, 50, 30)));
        // The title label, centred.
        auto label = std::find_if(bar->subviews().begin(), bar->subviews().end(),
                                  [](const auto& v) { return dynamic_cast<UILabel*>(v.get()); });
        ASSERT_NE(label, bar->subviews().end());
        EXPECT_EQ(static_cast<UILabel&>(**label).text(), "Edit");
        EXPECT_TRUE(CGPointEqualToPoint((*label)->center(), CGPointMake(160, 22)));
        EXPECT_EQ(bar->subviews().size(), 3u);

        // A title view replaces the label, on the bar at once.
        auto titleView = UIView::viewWithFrame(CGRectMake(0, 0, 100, 30));
        item->setTitleView(titleView);
        bar->layoutIfNeeded();
        EXPECT_EQ(bar->subviews().size(), 3u);
        EXPECT_EQ(titleView->superview(), bar);
        EXPECT_TRUE(CGPointEqualToPoint(titleView->center(), CGPointMake(160, 22)));
        bar->popNavigationItemAnimated(false);
        EXPECT_TRUE(bar->subviews().empty());
    }
}

TEST_F(NavigationBarTest, PushAndPopCrossFadeAndLeaveOnlyTheTopItem)
{
    auto first = UINavigationItem::make(), second = UINavigationItem::make();
    auto firstView = UIView::viewWithFrame(CGRectMake(0, 0, 80, 30));
    auto secondView = UIView::viewWithFrame(CGRectMake(0, 0, 80, 30));
    first->setTitleView(firstView);
    second->setTitleView(secondView);
    bar->pushNavigationItem(first, false);
    bar->pushNavigationItem(second, true);
    EXPECT_EQ(bar->topItem(), second);
    EXPECT_EQ(bar->backItem(), first);
    driver.advance(0.15);
    EXPECT_EQ(bar->subviews().size(), 2u);  // both while they cross-fade
    driver.advance(0.2);
    EXPECT_EQ(bar->subviews(), (std::vector<std::shared_ptr<UIView>>{secondView}));
    EXPECT_EQ(secondView->alpha(), 1);

    auto gate = std::make_shared<PopGate>();
    bar->setDelegate(gate);
    gate->allow = false;
    EXPECT_FALSE(bar->popNavigationItemAnimated(true));
    EXPECT_EQ(bar->topItem(), second);
    gate->allow = true;
    EXPECT_EQ(bar->popNavigationItemAnimated(true), second);
    EXPECT_EQ(gate->asked, 2);
    driver.advance(0.35);
    EXPECT_EQ(bar->subviews(), (std::vector<std::shared_ptr<UIView>>{firstView}));
    EXPECT_EQ(firstView->alpha(), 1);
}

// A screen that hands its place on the bar to another takes its own item out from under the top
// one: the delegate is not asked, the top item's views stay, and popping then shows the item below.
TEST_F(NavigationBarTest, SetItemsReplacesTheStackWithoutAskingTheDelegate)
{
    auto first = UINavigationItem::make(), second = UINavigationItem::make(), third = UINavigationItem::make();
    auto firstView = UIView::viewWithFrame(CGRectMake(0, 0, 80, 30));
    auto thirdView = UIView::viewWithFrame(CGRectMake(0, 0, 80, 30));
    first->setTitleView(firstView);
    third->setTitleView(thirdView);
    bar->pushNavigationItem(first, false);
    bar->pushNavigationItem(second, false);
    bar->pushNavigationItem(third, false);
    auto gate = std::make_shared<PopGate>();
    gate->allow = false;
    bar->setDelegate(gate);

    bar->setItems({first, third}, false);
    EXPECT_EQ(gate->asked, 0);
    EXPECT_EQ(bar->items(), (std::vector<std::shared_ptr<UINavigationItem>>{first, third}));
    EXPECT_EQ(bar->subviews(), (std::vector<std::shared_ptr<UIView>>{thirdView}));
    EXPECT_EQ(second->navigationBar(), nullptr);
    EXPECT_EQ(third->navigationBar(), bar);
    // The item taken out may go on a bar again.
    auto other = UIView::viewWithFrame<UINavigationBar>(CGRectMake(0, 100, 320, 44));
    other->pushNavigationItem(second, false);
    EXPECT_EQ(other->topItem(), second);

    // Repeats, nulls and another bar's items are left out.
    bar->setItems({first, nullptr, first, second, third}, true);
    EXPECT_EQ(bar->items(), (std::vector<std::shared_ptr<UINavigationItem>>{first, third}));

    gate->allow = true;
    EXPECT_EQ(bar->popNavigationItemAnimated(false), third);
    EXPECT_EQ(bar->subviews(), (std::vector<std::shared_ptr<UIView>>{firstView}));

    bar->setItems({}, false);
    EXPECT_TRUE(bar->items().empty());
    EXPECT_TRUE(bar->subviews().empty());
    EXPECT_EQ(first->navigationBar(), nullptr);
}

TEST_F(NavigationBarTest, ADisabledItemTakesNoTap)
{
    auto taps = std::make_shared<Taps>();
    auto control = button(60);
    control->addTarget(taps, &Taps::tapped, UIControlEventTouchUpInside);
    auto plain = UIView::viewWithFrame(CGRectMake(0, 0, 50, 30));
    auto item = UINavigationItem::make();
    auto leftItem = UIBarButtonItem::makeWithCustomView(control);
    auto rightItem = UIBarButtonItem::makeWithCustomView(plain);
    item->setLeftBarButtonItem(leftItem);
    item->setRightBarButtonItem(rightItem);
    bar->pushNavigationItem(item, false);
    bar->layoutIfNeeded();

    driver.tap(*control);
    EXPECT_EQ(taps->count, 1);
    leftItem->setEnabled(false);
    rightItem->setEnabled(false);
    EXPECT_FALSE(control->isEnabled());
    EXPECT_FALSE(plain->isUserInteractionEnabled());
    driver.tap(*control);
    EXPECT_EQ(taps->count, 1);
    leftItem->setEnabled(true);
    driver.tap(*control);
    EXPECT_EQ(taps->count, 2);
}

}  // namespace
