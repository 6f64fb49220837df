// The mail composer presented over a screen and driven by taps: what it shows, what its delegate
// hears, and what reaches the outbox.
#include "Foundation/PlatformSettings.h"
#include "MessageUI/MFMailComposeViewController.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

namespace {

struct RecordingMailDelegate : MFMailComposeViewControllerDelegate {
    std::vector<MFMailComposeResult> results;
    bool dismisses = true;
    void mailComposeControllerDidFinishWithResultError(MFMailComposeViewController* composer,
                                                       MFMailComposeResult result,
                                                       const std::shared_ptr<NSError>& error) override
    {
        EXPECT_FALSE(error);
        results.push_back(result);
        if (dismisses) composer->dismissViewControllerAnimated(true);
    }
};

class MFMailComposeViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MFMailComposeViewController::clearOutbox();
        window_->setRootViewController(host_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override { PlatformSettings::reset(); }

    std::shared_ptr<MFMailComposeViewController> present()
    {
        auto composer = UIViewController::make<MFMailComposeViewController>();
        composer->setMailComposeDelegate(delegate_);
        composer->setSubject("Photo Editor Feedback");
        composer->setToRecipients({"feedback@example.com", "second@example.com"});
        composer->setMessageBody("<br/><br/>Please type above the line.<br/>SDK Version: 3.3.11", true);
        host_->presentViewController(composer, true);
        driver_.advance(0.4);
        return composer;
    }

    UITestDriver driver_;
    std::shared_ptr<UIWindow> window_ = UIWindow::window();
    std::shared_ptr<UIViewController> host_ = UIViewController::make();
    std::shared_ptr<RecordingMailDelegate> delegate_ = std::make_shared<RecordingMailDelegate>();
};

TEST_F(MFMailComposeViewControllerTest, MailCanBeSentOnlyWhereAnAccountIsSetUp)
{
    EXPECT_FALSE(MFMailComposeViewController::canSendMail());
    PlatformSettings::setCanSendMail(true);
    EXPECT_TRUE(MFMailComposeViewController::canSendMail());
    PlatformSettings::reset();
    EXPECT_FALSE(MFMailComposeViewController::canSendMail());
}

TEST_F(MFMailComposeViewControllerTest, ShowsTheComposedMessageAndSendsItToTheOutbox)
{
    auto composer = present();
    EXPECT_EQ(host_->presentedViewController(), composer);
    const MFMailMessage& message = composer->message();
    EXPECT_EQ(message.subject, "Photo Editor Feedback");
    EXPECT_EQ(message.toRecipients, (std::vector<std::string>{"feedback@example.com", "second@example.com"}));
    EXPECT_TRUE(message.isHTML);
    EXPECT_EQ(composer->bodyLabel()->text(), "\n\nPlease type above the line.\nSDK Version: 3.3.11");
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("To: feedback@example.com, second@example.com"));
    EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Subject: Photo Editor Feedback"));

    ASSERT_TRUE(driver_.tapViewWithLabel("Send"));
    EXPECT_EQ(delegate_->results, std::vector<MFMailComposeResult>{MFMailComposeResultSent});
    auto outbox = MFMailComposeViewController::outbox();
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_EQ(outbox[0].subject, "Photo Editor Feedback");
    EXPECT_EQ(outbox[0].body, message.body) << "as composed, not as shown";
    driver_.advance(0.4);
    EXPECT_FALSE(host_->presentedViewController()) << "dismissed by its delegate";
}

TEST_F(MFMailComposeViewControllerTest, CancelSendsNothingAndTheComposerWaitsForItsDelegate)
{
    delegate_->dismisses = false;
    auto composer = present();
    ASSERT_TRUE(driver_.tapViewWithLabel("Cancel"));
    EXPECT_EQ(delegate_->results, std::vector<MFMailComposeResult>{MFMailComposeResultCancelled});
    EXPECT_TRUE(MFMailComposeViewController::outbox().empty());
    driver_.advance(0.4);
    EXPECT_EQ(host_->presentedViewController(), composer) << "it never dismisses itself";

    // The delegate is held weakly: once it is gone, a tap tells nobody and fails nothing.
    delegate_.reset();
    ASSERT_TRUE(driver_.tapViewWithLabel("Cancel"));
    EXPECT_EQ(host_->presentedViewController(), composer);
}

TEST(MFMailComposeViewControllerBodyTest, AnHTMLBodyIsShownAsTextWithItsLineBreaks)
{
    struct Case {
        const char* body;
        bool html;
        const char* shown;
    };
    const Case cases[] = {{"a<br/>b<BR>c<p>d</p>", true, "a\nb\nc\nd\n"},
                          {"<b>bold</b> & plain", true, "bold & plain"},
                          {"a <br/> b", false, "a <br/> b"},
                          {"2 < 3", true, "2 < 3"}};
    for (const auto& c : cases)
        EXPECT_EQ(MFMailComposeViewController::plainTextOfBody(c.body, c.html), c.shown) << c.body;
}

}  // namespace
