#include "UIKit/UIControl.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Heard = std::vector<std::string>;

struct Listener {
    Heard heard;
    void down() { heard.push_back("down"); }
    void upInside(UIControl* sender) { heard.push_back(sender ? "up inside" : "up inside, no sender"); }
    void upOutside(UIControl*, UIEvent* event) { heard.push_back(event ? "up outside" : "up outside, no event"); }
    void cancel() { heard.push_back("cancel"); }
    void changed(UIControl* sender, UIEvent* event)
    {
        heard.push_back(std::string("changed") + (sender ? "" : " no sender") + (event ? " with event" : ""));
    }
};

struct ControlTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<UIControl> control = UIView::viewWithFrame<UIControl>(CGRectMake(50, 50, 100, 100));
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
    ControlTest()
    {
        window->addSubview(control);
        control->addTarget(listener, &Listener::down, UIControlEventTouchDown);
        control->addTarget(listener, &Listener::upInside, UIControlEventTouchUpInside);
        control->addTarget(listener, &Listener::upOutside, UIControlEventTouchUpOutside);
        control->addTarget(listener, &Listener::cancel, UIControlEventTouchCancel);
        control->addTarget(listener, &Listener::changed, UIControlEventValueChanged);
    }
};

TEST_F(ControlTest, TrackingHighlightsWhileInsideAndEndsInsideOrOutside)
{
    std::vector<bool> highlights;
    driver.touchDown(0, {100, 100});
    highlights.push_back(control->isHighlighted());
    driver.touchMove(0, {200, 100});
    highlights.push_back(control->isHighlighted());
    driver.touchMove(0, {140, 100});
    highlights.push_back(control->isHighlighted());
    EXPECT_TRUE(control->isTracking());
    driver.touchUp(0, {140, 100});
    highlights.push_back(control->isHighlighted());
    EXPECT_EQ(highlights, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(listener->heard, (Heard{"down", "up inside"}));
    EXPECT_FALSE(control->isTracking());

    listener->heard.clear();
    driver.drag({{100, 100}, {300, 300}}, 0.2);
    EXPECT_EQ(listener->heard, (Heard{"down", "up outside"}));

    listener->heard.clear();
    driver.touchDown(0, {100, 100});
    driver.touchCancel(0, {100, 100});
    EXPECT_EQ(listener->heard, (Heard{"down", "cancel"}));
    EXPECT_FALSE(control->isHighlighted());
}

TEST_F(ControlTest, DisabledControlsSendNothing)
{
    control->setEnabled(false);
    EXPECT_EQ(control->state(), UIControlStateDisabled);
    driver.tap(*control);
    EXPECT_TRUE(listener->heard.empty());
    EXPECT_FALSE(control->isHighlighted());
}

TEST_F(ControlTest, RemovalByTargetAndActionAndTheNullWildcards)
{
    control->sendActionsForControlEvents(UIControlEventValueChanged | UIControlEventTouchUpInside);
    EXPECT_EQ(listener->heard, (Heard{"up inside", "changed"}));

    listener->heard.clear();
    control->removeTarget(listener, &Listener::upInside, UIControlEventTouchUpInside);
    control->removeTarget(listener, &Listener::down, UIControlEventTouchUpInside);  // not its event
    driver.tap(*control);
    EXPECT_EQ(listener->heard, (Heard{"down"}));

    auto other = std::make_shared<Listener>();
    control->addTarget(other, &Listener::down, UIControlEventTouchDown);
    control->removeTarget(nullptr, &Listener::down, UIControlEventAllEvents);
    listener->heard.clear();
    driver.tap(*control);
    EXPECT_TRUE(listener->heard.empty());
    EXPECT_TRUE(other->heard.empty());

    control->removeTarget(nullptr, nullptr, UIControlEventAllEvents);
    control->sendActionsForControlEvents(UIControlEventAllEvents);
    EXPECT_TRUE(listener->heard.empty());
}

TEST_F(ControlTest, TargetsAreHeldWeakly)
{
    std::weak_ptr<Listener> weak = listener;
    listener.reset();
    EXPECT_TRUE(weak.expired());
    driver.tap(*control);  // nothing to call, nothing breaks
}

}  // namespace
