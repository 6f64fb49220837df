#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/testing/UITestDriver.h"
#include "UIKit/testing/UITestReach.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Presses {
    std::vector<std::string> pressed;
    void note(UIButton* button) { pressed.push_back(button->currentTitle().value_or("?")); }
};

std::shared_ptr<UILabel> labelAt(CGRect frame, const std::string& text)
{
    auto label = UIView::viewWithFrame<UILabel>(frame);
    label->setText(text);
    return label;
}

std::shared_ptr<UIButton> buttonAt(CGRect frame, const std::string& title, const std::shared_ptr<Presses>& presses)
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(frame);
    button->setTitle(title, UIControlStateNormal);
    button->addTarget(presses, &Presses::note, UIControlEventTouchUpInside);
    return button;
}

// A view a person can see is found by what it shows; views a person cannot see are not.
TEST(UITestDriverLabelTest, FindsOnlyWhatAPersonCanSee)
{
    UITestDriver driver;
    auto window = keyWindow();
    auto presses = std::make_shared<Presses>();

    auto hidden = labelAt(CGRectMake(0, 0, 100, 20), "Hidden");
    hidden->setHidden(true);
    auto faded = UIView::viewWithFrame(CGRectMake(0, 30, 100, 20));
    faded->setAlpha(0.005f);
    faded->addSubview(labelAt(CGRectMake(0, 0, 100, 20), "Faded"));
    auto offscreen = labelAt(CGRectMake(-200, 40, 100, 20), "Offscreen");
    // A clipping scroll view whose content is scrolled so that its label lies outside.
    auto scroller = UIView::viewWithFrame<UIScrollView>(CGRectMake(0, 100, 100, 40));
    scroller->setContentSize(CGSizeMake(400, 40));
    scroller->addSubview(labelAt(CGRectMake(0, 0, 80, 20), "Scrolled"));
    scroller->addSubview(labelAt(CGRectMake(200, 0, 80, 20), "Shown"));
    scroller->setContentOffset(CGPointMake(180, 0));
    auto drawn = UIView::viewWithFrame(CGRectMake(0, 200, 80, 20));
    drawn->setAccessibilityLabel("Powered by");
    for (const auto& view : std::vector<std::shared_ptr<UIView>>{hidden, faded, offscreen, scroller, drawn})
        window->addSubview(view);

    for (const char* unseen : {"Hidden", "Faded", "Offscreen", "Scrolled", "", "Nothing"})
        EXPECT_FALSE(UITestDriver::visibleViewWithLabel(unseen)) << unseen;
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Shown"));
    EXPECT_EQ(UITestDriver::visibleViewWithLabel("Powered by"), drawn);
    // The visible part of a label cut by its scroll view.
    auto partly = labelAt(CGRectMake(250, 20, 80, 20), "Partly");
    scroller->addSubview(partly);
    CGRect visible = UITestDriver::visibleRect(*partly);
    EXPECT_EQ(visible.origin.x, 70);
    EXPECT_EQ(visible.size.width, 30);
    EXPECT_FALSE(driver.tapViewWithLabel("Hidden"));
    EXPECT_TRUE(presses->pressed.empty());
}

// A button is found by the title it shows now, in place of its title label, and a tap on it
// reaches the frontmost of two buttons showing the same title; a tap on a label passes to the
// control under it.
TEST(UITestDriverLabelTest, TapsTheFrontmostViewShowingTheText)
{
    UITestDriver driver;
    auto window = keyWindow();
    auto presses = std::make_shared<Presses>();
    auto back = buttonAt(CGRectMake(10, 10, 100, 40), "Done", presses);
    back->setTitle("Back", UIControlStateSelected);
    auto front = buttonAt(CGRectMake(10, 60, 100, 40), "Done", presses);
    front->setTitle("Front", UIControlStateHighlighted);
    window->addSubview(back);
    window->addSubview(front);

    EXPECT_EQ(UITestDriver::visibleViewWithLabel("Done"), front);
    ASSERT_TRUE(driver.tapViewWithLabel("Done"));
    EXPECT_EQ(presses->pressed, std::vector<std::string>{"Done"}) << "the frontmost, not the other";

    back->setSelected(true);
    EXPECT_EQ(UITestDriver::visibleViewWithLabel("Back"), back) << "the title shown now";
    back->setAccessibilityLabel("Go back");
    EXPECT_EQ(UITestDriver::visibleViewWithLabel("Go back"), back);
    EXPECT_EQ(UITestDriver::visibleViewWithLabel("Back"), back) << "by its title too";
    front->setHidden(true);
    EXPECT_FALSE(UITestDriver::visibleViewWithLabel("Done")) << "a title no longer shown";

    // A label drawn over a button (as a cell's name over the cell) takes the tap to the button.
    auto under = buttonAt(CGRectMake(10, 120, 200, 60), "", presses);
    under->addSubview(labelAt(CGRectMake(0, 40, 200, 20), "Crop"));
    window->addSubview(under);
    ASSERT_TRUE(driver.tapViewWithLabel("Crop"));
    EXPECT_EQ(presses->pressed.size(), 2u);
}

// Reachable is where a touch at the view's middle goes: a view in front that takes touches covers
// it, one that takes none does not; a label takes its touch to what it lies in, unless covered.
TEST(UITestDriverLabelTest, AViewIsReachableOnlyWhereATouchWouldReachIt)
{
    UITestDriver driver;
    auto window = keyWindow();
    auto presses = std::make_shared<Presses>();
    auto button = buttonAt(CGRectMake(10, 10, 100, 40), "Done", presses);
    auto cell = buttonAt(CGRectMake(10, 100, 100, 60), "", presses);
    auto name = labelAt(CGRectMake(0, 40, 100, 20), "Crop");
    cell->addSubview(name);
    window->addSubview(button);
    window->addSubview(cell);
    EXPECT_TRUE(UITestIsReachable(*button));
    EXPECT_TRUE(UITestIsReachable(*name)) << "a label passes its touch to its cell";

    // A bar over both middles: it takes the touches.
    auto bar = UIView::viewWithFrame(CGRectMake(0, 20, 320, 160));
    window->addSubview(bar);
    EXPECT_FALSE(UITestIsReachable(*button));
    EXPECT_FALSE(UITestIsReachable(*name));
    // The same bar taking no touches lets them through.
    bar->setUserInteractionEnabled(false);
    EXPECT_TRUE(UITestIsReachable(*button));
    EXPECT_TRUE(UITestIsReachable(*name));
    // A button that takes no touches cannot be reached through what holds it.
    button->setUserInteractionEnabled(false);
    EXPECT_FALSE(UITestIsReachable(*button));
    EXPECT_TRUE(presses->pressed.empty());
}

}  // namespace
