#pragma once
// The mail composer: a screen showing the recipients, subject and body a caller composed, with
// Cancel and Send. Presented modally; it never dismisses itself: its delegate hears how it
// finished and dismisses it. Nothing leaves the machine: Send puts the message in the outbox,
// which tests read. Whether mail can be sent is the platform setting (NO unless set).

#include "Foundation/NSError.h"
#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIViewController.h"

#include <memory>
#include <string>
#include <vector>

class MFMailComposeViewController;

enum MFMailComposeResult : NSInteger {
    MFMailComposeResultCancelled = 0,
    MFMailComposeResultSaved = 1,
    MFMailComposeResultSent = 2,
    MFMailComposeResultFailed = 3,
};

class MFMailComposeViewControllerDelegate {
public:
    virtual ~MFMailComposeViewControllerDelegate() = default;
    // Optional; the error is null unless the result is Failed.
    virtual void mailComposeControllerDidFinishWithResultError(MFMailComposeViewController*, MFMailComposeResult,
                                                               const std::shared_ptr<NSError>& /*error*/)
    {
    }
};

// One composed message as it was sent.
struct MFMailMessage {
    std::string subject;
    std::vector<std::string> toRecipients;
    std::string body;
    bool isHTML = false;
};

class MFMailComposeViewController : public UIViewController {
public:
    using UIViewController::UIViewController;

    // The platform setting: whether a mail account is set up.
    static bool canSendMail();

    std::weak_ptr<MFMailComposeViewControllerDelegate> mailComposeDelegate() const { return mailComposeDelegate_; }
    void setMailComposeDelegate(std::weak_ptr<MFMailComposeViewControllerDelegate> delegate)
    {
        mailComposeDelegate_ = std::move(delegate);
    }

    void setSubject(std::string subject);
    void setToRecipients(std::vector<std::string> recipients);
    void setMessageBody(std::string body, bool isHTML);
    // The message as composed so far.
    const MFMailMessage& message() const { return message_; }

    // Messages sent since the process started (or the last clear), oldest first.
    static std::vector<MFMailMessage> outbox();
    static void clearOutbox();

    // The composer's screen: a bar with Cancel and Send over "To:", "Subject:" and the body as
    // text (an HTML body with its line breaks kept and its tags left out).
    void loadView() override;
    const std::shared_ptr<UILabel>& recipientsLabel() const { return recipientsLabel_; }
    const std::shared_ptr<UILabel>& subjectLabel() const { return subjectLabel_; }
    const std::shared_ptr<UILabel>& bodyLabel() const { return bodyLabel_; }

    // The body as the screen shows it.
    static std::string plainTextOfBody(const std::string& body, bool isHTML);

private:
    void cancelPressed();
    void sendPressed();
    void finish(MFMailComposeResult result);
    void showMessage();

    std::weak_ptr<MFMailComposeViewControllerDelegate> mailComposeDelegate_;
    MFMailMessage message_;
    std::shared_ptr<UILabel> recipientsLabel_;
    std::shared_ptr<UILabel> subjectLabel_;
    std::shared_ptr<UILabel> bodyLabel_;
};
