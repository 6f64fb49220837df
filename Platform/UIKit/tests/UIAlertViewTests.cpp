// Alerts as a person meets them: real buttons pressed by title, one alert at a time, the delegate
// told the index on the click and again after the fade-out.

#include "Foundation/NSLogCapture.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct RecordingDelegate : UIAlertViewDelegate {
    std::vector<std::string> heard;
    void alertViewClickedButtonAtIndex(UIAlertView* alert, NSInteger index) override
    {
        heard.push_back(alert->title() + " clicked " + std::to_string(index));
    }
    void alertViewDidDismissWithButtonIndex(UIAlertView* alert, NSInteger index) override
    {
        heard.push_back(alert->title() + " dismissed " + std::to_string(index));
    }
};

struct AlertTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(AlertTest, ButtonIndicesPutTheCancelTitleFirst)
{
    auto withCancel = UIAlertView::make("A", "", delegate, "Cancel", {"One", "Two"});
    EXPECT_EQ(withCancel->cancelButtonIndex(), 0);
    EXPECT_EQ(withCancel->numberOfButtons(), 3);
    EXPECT_EQ(withCancel->buttonTitleAtIndex(0), "Cancel");
    EXPECT_EQ(withCancel->buttonTitleAtIndex(2), "Two");
    EXPECT_EQ(withCancel->buttonTitleAtIndex(3), "");
    auto without = UIAlertView::make("B", "", delegate, std::nullopt, {"Only"});
    EXPECT_EQ(without->cancelButtonIndex(), -1);
    EXPECT_EQ(without->buttonTitleAtIndex(0), "Only");
}

TEST_F(AlertTest, TwoAlertsShowOneAfterTheOther)
{
    auto first = UIAlertView::make("First", "A message long enough to wrap over more than one line of the panel.",
                                   delegate, "Cancel", {"OK"});
    auto second = UIAlertView::make("Second", "", delegate, "Close");
    first->show();
    second->show();
    EXPECT_EQ(UIAlertView::visibleAlert(), first);
    EXPECT_EQ(first->superview(), window);
    EXPECT_FALSE(second->superview());
    EXPECT_FALSE(driver.pressAlertButton("Close"));  // not on the visible alert

    // The alert covers the window: a tap beside the panel reaches nothing behind it.
    EXPECT_EQ(window->hitTest(CGPointMake(5, 5), nullptr), first);

    ASSERT_TRUE(driver.pressAlertButton("OK"));
    EXPECT_EQ(delegate->heard, (std::vector<std::string>{"First clicked 1"}));
    driver.advance(0.1);
    EXPECT_EQ(UIAlertView::visibleAlert(), first);  // still fading
    driver.advance(0.15);
    EXPECT_FALSE(first->superview());
    EXPECT_EQ(UIAlertView::visibleAlert(), second);

    ASSERT_TRUE(driver.pressAlertButton("Close"));
    driver.advance(0.25);
    EXPECT_FALSE(UIAlertView::visibleAlert());
    EXPECT_EQ(delegate->heard, (std::vector<std::string>{"First clicked 1", "First dismissed 1", "Second clicked 0",
                                                         "Second dismissed 0"}));
    EXPECT_FALSE(driver.pressAlertButton("Close"));
}

TEST_F(AlertTest, TheMessageWrapsInsideThePanel)
{
    auto alert = UIAlertView::make("Title", "A message long enough to wrap over more than one line of the panel.",
                                   delegate, "OK");
    alert->show();
    auto button = alert->buttonWithTitle("OK");
    ASSERT_TRUE(button);
    CGRect panel = button->superview()->frame();
    EXPECT_EQ(panel.size.width, 270);
    EXPECT_GT(panel.size.height, 44 + 17 + 2 * 18);  // title, two lines of message, the button
    EXPECT_TRUE(CGRectContainsRect(window->bounds(), panel));
    driver.pressAlertButton("OK");
    driver.advance(0.25);
}

TEST_F(AlertTest, WithoutAKeyWindowNothingShows)
{
    auto alert = UIAlertView::make("Lost", "", delegate, "OK");
    window.reset();
    NSLogCapture capture;
    alert->show();
    EXPECT_FALSE(UIAlertView::visibleAlert());
    EXPECT_EQ(capture.lines().size(), 1u);
}

}  // namespace
