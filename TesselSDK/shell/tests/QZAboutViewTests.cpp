// The side panels and the logo button driven by taps: the panel's fixed layout, the texts per
// class, Done and the action buttons with what their delegates hear, the developer panel's
// leaving alert and the page it opens, and the panels as drawn against a reviewed golden image
// (regenerate with TESSEL_UPDATE_GOLDEN=1 and look at it).
#include "QZShellTestSupport.h"

#include "TesselSDK/shell/QZAboutView.h"
#include "TesselSDK/shell/QZDeveloperInfoView.h"
#include "TesselSDK/shell/QZFeedbackView.h"
#include "TesselSDK/shell/QZLogoButton.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/testing/UIGoldenImage.h"

#include <string>

namespace {

struct RecordingPanelDelegate : QZAboutViewDelegate, QZFeedbackViewDelegate {
    int dismissed = 0;
    int feedbackRequests = 0;
    void aboutViewDismissed(QZAboutView*) override { ++dismissed; }
    void feedbackViewRequestedSendFeedback(QZFeedbackView*) override { ++feedbackRequests; }
};

std::string describe(CGRect r)
{
    return std::to_string(r.origin.x) + "," + std::to_string(r.origin.y) + " " + std::to_string(r.size.width) + "x" +
           std::to_string(r.size.height);
}

class QZAboutViewTest : public QZShellTest {
protected:
    // Shown as the root screen shows it: sized to fit, centred in the window.
    template <class T>
    std::shared_ptr<T> show()
    {
        auto panel = UIView::viewWithFrame<T>(CGRectMake(0, 0, 10, 10));
        panel->setDelegate(delegate_);
        panel->sizeToFit();
        panel->setCenter(QZCGRectGetCenter(window_->bounds()));
        window_->addSubview(panel);
        driver_.turn();
        return panel;
    }

    std::shared_ptr<RecordingPanelDelegate> delegate_ = std::make_shared<RecordingPanelDelegate>();
};

TEST_F(QZAboutViewTest, EveryPanelLaysOutTheSameFixedFrames)
{
    struct Case {
        std::shared_ptr<QZAboutView> panel;
        const char* about;
        const char* action;
    };
    const Case cases[] = {
        {UIView::viewWithFrame<QZAboutView>(CGRectMake(3, 4, 500, 10)), "", ""},
        {UIView::viewWithFrame<QZFeedbackView>(CGRectZero),
         "Have a suggestion to improve this photo editor? Let us know.", "Send Feedback"},
        {UIView::viewWithFrame<QZDeveloperInfoView>(CGRectZero),
         "Tessel is the world's leading photo editing platform. Developers: learn how to add it to your app in "
         "minutes.",
         "Visit the Developer Site"},
    };
    for (const auto& c : cases) {
        auto& panel = *c.panel;
        EXPECT_TRUE(CGSizeEqualToSize(panel.sizeThatFits(CGSizeMake(1000, 1000)), CGSizeMake(284, 282)));
        panel.sizeToFit();
        panel.layoutIfNeeded();
        EXPECT_EQ(panel.aboutLabel()->text(), c.about);
        EXPECT_EQ(panel.actionButton()->currentTitle().value_or(""), c.action);
        EXPECT_EQ(panel.doneButton()->currentTitle().value_or(""), "Done");
        EXPECT_EQ(panel.versionLabel()->text(), "Version 3.3.11");

        const std::pair<CGRect, CGRect> frames[] = {
            {panel.shadowView()->frame(), CGRectMake(-25, -25, 334, 332)},
            {panel.backgroundView()->frame(), CGRectMake(0, 0, 284, 282)},
            {panel.aboutLabel()->frame(), CGRectMake(25, 92, 234, 76)},
            // 9.5 points either side of a button: rounded to 10.
            {panel.actionButton()->frame(), CGRectMake(10, 172, 265, 42)},
            {panel.doneButton()->frame(), CGRectMake(10, 231, 265, 42)},
        };
        for (const auto& [actual, expected] : frames)
            EXPECT_TRUE(CGRectEqualToRect(actual, expected)) << c.action << ": " << describe(actual);

        // Logo and version share the 88-point header, centred together.
        CGRect logo = panel.logoView()->frame(), version = panel.versionLabel()->frame();
        ASSERT_GT(logo.size.height, 0);
        CGFloat top = (88 - (logo.size.height + version.size.height)) / 2;
        EXPECT_EQ(CGRectGetMidY(logo), top + logo.size.height / 2 + 4);
        EXPECT_EQ(CGRectGetMidY(version), top + logo.size.height + version.size.height / 2);
        EXPECT_EQ(CGRectGetMidX(logo), 142);
        EXPECT_EQ(CGRectGetMidX(version), 142);
    }
}

TEST_F(QZAboutViewTest, TheLongestTextWrapsInsideItsAreaAndTheButtonsKeepTheirPlaces)
{
    auto panel = show<QZDeveloperInfoView>();
    auto label = panel->aboutLabel();
    CGFloat oneLine = label->font()->lineHeight();
    CGFloat needed = label->sizeThatFits(CGSizeMake(234, 0)).height;
    EXPECT_GT(needed, 2 * oneLine) << "wraps";
    EXPECT_LE(needed, 76) << "inside the label area";
    EXPECT_EQ(label->frame().size.height, 76);
    EXPECT_EQ(panel->actionButton()->frame().origin.y, 172);
}

TEST_F(QZAboutViewTest, DoneTellsTheDelegateAndNothingWithoutOne)
{
    auto panel = show<QZAboutView>();
    ASSERT_TRUE(driver_.tapViewWithLabel("Done"));
    EXPECT_EQ(delegate_->dismissed, 1);
    // The base panel's action button does nothing.
    driver_.tap(*panel->actionButton());
    EXPECT_EQ(delegate_->dismissed, 1);
    panel->setDelegate({});
    ASSERT_TRUE(driver_.tapViewWithLabel("Done"));
    EXPECT_EQ(delegate_->dismissed, 1);
}

TEST_F(QZAboutViewTest, SendFeedbackAsksTheFeedbackDelegate)
{
    auto panel = show<QZFeedbackView>();
    ASSERT_TRUE(driver_.tapViewWithLabel("Send Feedback"));
    EXPECT_EQ(delegate_->feedbackRequests, 0) << "no feedback delegate yet";
    panel->setFeedbackDelegate(delegate_);
    ASSERT_TRUE(driver_.tapViewWithLabel("Send Feedback"));
    EXPECT_EQ(delegate_->feedbackRequests, 1);
    EXPECT_EQ(delegate_->dismissed, 0);
}

TEST_F(QZAboutViewTest, TheDeveloperPageOpensOnlyAfterTheLeavingAlertsOpen)
{
    show<QZDeveloperInfoView>();
    auto app = UIApplication::sharedApplication();
    size_t opened = app->openedURLs().size();

    ASSERT_TRUE(driver_.tapViewWithLabel("Visit the Developer Site"));
    auto alert = UIAlertView::visibleAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Leave the App?");
    EXPECT_EQ(alert->message(), "You will now be taken to Safari. Would you like to continue?");
    ASSERT_TRUE(driver_.pressAlertButton("Cancel"));
    driver_.advance(0.3);
    EXPECT_FALSE(UIAlertView::visibleAlert());
    EXPECT_EQ(app->openedURLs().size(), opened) << "cancelled: nothing opened";

    ASSERT_TRUE(driver_.tapViewWithLabel("Visit the Developer Site"));
    ASSERT_TRUE(driver_.pressAlertButton("Open"));
    driver_.advance(0.3);
    ASSERT_EQ(app->openedURLs().size(), opened + 1);
    EXPECT_EQ(app->openedURLs().back(), "https://developers.example.com/tessel");
}

struct Presses {
    int count = 0;
    void pressed() { ++count; }
};

TEST_F(QZAboutViewTest, TheLogoButtonIsFoundByItsWordsAndShowsItsPressedMark)
{
    auto button = UIView::viewWithFrame<QZLogoButton>(CGRectMake(220, 400, 100, 20));
    auto presses = std::make_shared<Presses>();
    button->addTarget(presses, &Presses::pressed, UIControlEventTouchUpInside);
    window_->addSubview(button);
    driver_.turn();
    ASSERT_TRUE(button->logoView()->image());
    ASSERT_TRUE(button->logoView()->highlightedImage());
    EXPECT_TRUE(CGPointEqualToPoint(button->logoView()->center(), CGPointMake(50, 10))) << "centred";

    EXPECT_EQ(UITestDriver::visibleViewWithLabel("Powered by Tessel"), button);
    driver_.touchDown(0, UITestDriver::windowPoint(*button));
    EXPECT_TRUE(button->logoView()->isHighlighted());
    driver_.touchUp(0, UITestDriver::windowPoint(*button));
    EXPECT_FALSE(button->logoView()->isHighlighted());
    ASSERT_TRUE(driver_.tapViewWithLabel("Powered by Tessel"));
    EXPECT_EQ(presses->count, 2);
}

TEST_F(QZAboutViewTest, PanelsAsDrawn)
{
    PlatformSettings::setScreenScale(2);
    auto backdrop = UIView::viewWithFrame(CGRectMake(0, 0, 680, 340));
    backdrop->setBackgroundColor(UIColor::colorWithRed(0.35f, 0.4f, 0.45f, 1));
    auto feedback = UIView::viewWithFrame<QZFeedbackView>(CGRectMake(30, 29, 284, 282));
    auto developer = UIView::viewWithFrame<QZDeveloperInfoView>(CGRectMake(366, 29, 284, 282));
    backdrop->addSubview(feedback);
    backdrop->addSubview(developer);
    auto image = UIViewSnapshot(*backdrop);
    ASSERT_TRUE(image);
    UIGoldenOutcome outcome =
        UICompareWithGolden(image->CGImage(), TESSEL_SHELL_GOLDEN_DIR "/about_panels.png", ::testing::TempDir());
    if (outcome.updated) GTEST_SKIP() << outcome.message;
    EXPECT_TRUE(outcome.matches) << outcome.message;
}

}  // namespace
