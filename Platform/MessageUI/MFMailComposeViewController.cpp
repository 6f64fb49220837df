#include "MessageUI/MFMailComposeViewController.h"

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIScreen.h"

#include <mutex>

namespace {

constexpr CGFloat kBarHeight = 64;  // the status band and a 44-point bar
constexpr CGFloat kMargin = 10;

std::mutex& outboxMutex()
{
    static std::mutex m;
    return m;
}

std::vector<MFMailMessage>& sentMessages()
{
    static std::vector<MFMailMessage> messages;
    return messages;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string out;
    for (const auto& part : parts) out += (out.empty() ? "" : ", ") + part;
    return out;
}

std::shared_ptr<UILabel> rowLabel(CGFloat width)
{
    auto label = UIView::viewWithFrame<UILabel>(CGRectMake(kMargin, 0, width - 2 * kMargin, 0));
    label->setFont(UIFont::systemFontOfSize(15));
    label->setTextColor(UIColor::blackColor());
    label->setBackgroundColor(UIColor::clearColor());
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    return label;
}

std::shared_ptr<UIButton> barButton(const std::string& title, CGRect frame)
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(frame);
    button->setTitle(title, UIControlStateNormal);
    button->setTitleColor(UIColor::colorWithRed(0, 0.48f, 1, 1), UIControlStateNormal);
    button->setTitleColor(UIColor::colorWithRed(0.6f, 0.78f, 1, 1), UIControlStateHighlighted);
    return button;
}

}  // namespace

bool MFMailComposeViewController::canSendMail()
{
    return PlatformSettings::canSendMail();
}

void MFMailComposeViewController::setSubject(std::string subject)
{
    message_.subject = std::move(subject);
    showMessage();
}

void MFMailComposeViewController::setToRecipients(std::vector<std::string> recipients)
{
    message_.toRecipients = std::move(recipients);
    showMessage();
}

void MFMailComposeViewController::setMessageBody(std::string body, bool isHTML)
{
    message_.body = std::move(body);
    message_.isHTML = isHTML;
    showMessage();
}

std::vector<MFMailMessage> MFMailComposeViewController::outbox()
{
    std::lock_guard lock(outboxMutex());
    return sentMessages();
}

void MFMailComposeViewController::clearOutbox()
{
    std::lock_guard lock(outboxMutex());
    sentMessages().clear();
}

std::string MFMailComposeViewController::plainTextOfBody(const std::string& body, bool isHTML)
{
    if (!isHTML) return body;
    std::string out;
    for (size_t i = 0; i < body.size();) {
        if (body[i] != '<') {
            out += body[i++];
            continue;
        }
        size_t end = body.find('>', i);
        if (end == std::string::npos) {  // not a tag: shown as it is
            out += body.substr(i);
            break;
        }
        std::string tag = body.substr(i + 1, end - i - 1);
        for (auto& c : tag) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (tag.rfind("br", 0) == 0 || tag == "p" || tag == "/p") out += '\n';
        i = end + 1;
    }
    return out;
}

void MFMailComposeViewController::loadView()
{
    CGRect screen = UIScreen::mainScreen()->bounds();
    auto view = UIView::viewWithFrame(screen);
    view->setBackgroundColor(UIColor::whiteColor());
    CGFloat width = screen.size.width;

    auto bar = UIView::viewWithFrame(CGRectMake(0, 0, width, kBarHeight));
    bar->setBackgroundColor(UIColor::colorWithRed(0.97f, 0.97f, 0.97f, 1));
    bar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view->addSubview(bar);
    auto me = self<MFMailComposeViewController>();
    auto cancel = barButton("Cancel", CGRectMake(0, 20, 80, 44));
    cancel->addTarget(me, &MFMailComposeViewController::cancelPressed, UIControlEventTouchUpInside);
    bar->addSubview(cancel);
    auto send = barButton("Send", CGRectMake(width - 80, 20, 80, 44));
    send->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    send->addTarget(me, &MFMailComposeViewController::sendPressed, UIControlEventTouchUpInside);
    bar->addSubview(send);

    recipientsLabel_ = rowLabel(width);
    subjectLabel_ = rowLabel(width);
    bodyLabel_ = rowLabel(width);
    bodyLabel_->setNumberOfLines(0);
    bodyLabel_->setLineBreakMode(NSLineBreakByWordWrapping);
    for (const auto& label : {recipientsLabel_, subjectLabel_, bodyLabel_}) view->addSubview(label);
    setView(view);
    showMessage();
}

void MFMailComposeViewController::showMessage()
{
    if (!isViewLoaded() || !bodyLabel_) return;
    CGFloat width = view()->bounds().size.width - 2 * kMargin;
    recipientsLabel_->setText("To: " + joined(message_.toRecipients));
    subjectLabel_->setText("Subject: " + message_.subject);
    bodyLabel_->setText(plainTextOfBody(message_.body, message_.isHTML));
    CGFloat y = kBarHeight + kMargin;
    for (const auto& label : {recipientsLabel_, subjectLabel_, bodyLabel_}) {
        CGSize size = label->sizeThatFits(CGSizeMake(width, 0));
        label->setFrame(CGRectMake(kMargin, y, width, size.height));
        y += size.height + kMargin;
    }
}

void MFMailComposeViewController::cancelPressed()
{
    finish(MFMailComposeResultCancelled);
}

void MFMailComposeViewController::sendPressed()
{
    {
        std::lock_guard lock(outboxMutex());
        sentMessages().push_back(message_);
    }
    finish(MFMailComposeResultSent);
}

void MFMailComposeViewController::finish(MFMailComposeResult result)
{
    if (auto delegate = mailComposeDelegate_.lock())
        delegate->mailComposeControllerDidFinishWithResultError(this, result, nullptr);
}
