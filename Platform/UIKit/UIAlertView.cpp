#include "UIKit/UIAlertView.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIWindow.h"

#include <cmath>
#include <deque>

namespace {
constexpr double kFadeOut = 0.2;
constexpr CGFloat kPanelWidth = 270;
constexpr CGFloat kPadding = 16;
constexpr CGFloat kButtonHeight = 44;

struct AlertQueue {
    std::shared_ptr<UIAlertView> visible;
    std::deque<std::shared_ptr<UIAlertView>> waiting;
};

AlertQueue& alerts()
{
    static auto* queue = new AlertQueue;  // alerts die on the main queue, never at exit
    return *queue;
}

CGFloat wrappedHeight(const UILabel& label, CGFloat width)
{
    return label.text().empty() ? 0 : label.sizeThatFits(CGSizeMake(width, 10000)).height;
}
}  // namespace

UIAlertView::~UIAlertView() = default;

std::shared_ptr<UIAlertView> UIAlertView::make(std::string title, std::string message,
                                               std::weak_ptr<UIAlertViewDelegate> delegate,
                                               std::optional<std::string> cancelButtonTitle,
                                               std::vector<std::string> otherButtonTitles)
{
    return NSObject::create<UIAlertView>([&](UIAlertView& alert) {
        return alert.initWithTitle(std::move(title), std::move(message), std::move(delegate),
                                   std::move(cancelButtonTitle), std::move(otherButtonTitles));
    });
}

bool UIAlertView::initWithTitle(std::string title, std::string message, std::weak_ptr<UIAlertViewDelegate> delegate,
                                std::optional<std::string> cancelButtonTitle,
                                std::vector<std::string> otherButtonTitles)
{
    if (!UIView::initWithFrame(CGRectZero)) return false;
    title_ = std::move(title);
    message_ = std::move(message);
    delegate_ = std::move(delegate);
    hasCancel_ = cancelButtonTitle.has_value();
    if (cancelButtonTitle) buttonTitles_.push_back(std::move(*cancelButtonTitle));
    for (auto& other : otherButtonTitles) buttonTitles_.push_back(std::move(other));
    buildPanel();
    return true;
}

void UIAlertView::buildPanel()
{
    setBackgroundColor(UIColor::colorWithWhite(0, 0.4f));
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    panel_ = UIView::viewWithFrame(CGRectMake(0, 0, kPanelWidth, 0));
    panel_->setBackgroundColor(UIColor::colorWithWhite(0.97f, 1));
    panel_->layer()->setCornerRadius(8);
    panel_->setClipsToBounds(true);
    addSubview(panel_);

    auto label = [&](const std::string& text, std::shared_ptr<UIFont> font) {
        auto l = UIView::viewWithFrame<UILabel>();
        l->setText(text);
        l->setFont(std::move(font));
        l->setNumberOfLines(0);
        l->setLineBreakMode(NSLineBreakByWordWrapping);
        l->setTextAlignment(NSTextAlignmentCenter);
        l->setTextColor(UIColor::blackColor());
        l->setBackgroundColor(UIColor::clearColor());
        panel_->addSubview(l);
        return l;
    };
    titleLabel_ = label(title_, UIFont::boldSystemFontOfSize(17));
    messageLabel_ = label(message_, UIFont::systemFontOfSize(15));

    for (size_t i = 0; i < buttonTitles_.size(); ++i) {
        auto button = UIButton::buttonWithType(UIButtonTypeCustom);
        button->setTitle(buttonTitles_[i], UIControlStateNormal);
        button->setTitleColor(UIColor::colorWithRed(0, 0.48f, 1, 1), UIControlStateNormal);
        button->setTitleColor(UIColor::colorWithRed(0, 0.3f, 0.6f, 1), UIControlStateHighlighted);
        button->titleLabel()->setFont(hasCancel_ && i == 0 ? UIFont::boldSystemFontOfSize(17)
                                                           : UIFont::systemFontOfSize(17));
        button->setBackgroundColor(UIColor::colorWithWhite(0.93f, 1));
        button->setTag(NSInteger(i));
        button->addTarget(self<UIAlertView>(), &UIAlertView::buttonPressed, UIControlEventTouchUpInside);
        panel_->addSubview(button);
        buttons_.push_back(button);
    }
}

std::string UIAlertView::buttonTitleAtIndex(NSInteger index) const
{
    return index >= 0 && size_t(index) < buttonTitles_.size() ? buttonTitles_[size_t(index)] : std::string();
}

std::shared_ptr<UIButton> UIAlertView::buttonWithTitle(const std::string& title) const
{
    for (const auto& button : buttons_)
        if (button->titleForState(UIControlStateNormal) == title) return button;
    return nullptr;
}

std::shared_ptr<UIAlertView> UIAlertView::visibleAlert()
{
    return alerts().visible;
}

bool UIAlertView::isVisible() const
{
    return alerts().visible.get() == this;
}

void UIAlertView::show()
{
    DispatchMainQueue::requireMainThread("-[UIAlertView show]");
    AlertQueue& queue = alerts();
    auto me = self<UIAlertView>();
    if (queue.visible == me) return;
    for (const auto& waiting : queue.waiting)
        if (waiting == me) return;
    if (queue.visible) {
        queue.waiting.push_back(me);
        return;
    }
    present();
}

void UIAlertView::present()
{
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (!window) {
        NSLog("%s %@", "-[UIAlertView show]", "there is no key window to show the alert over");
        return;
    }
    alerts().visible = self<UIAlertView>();
    dismissing_ = false;
    setAlpha(1);
    setUserInteractionEnabled(true);
    setFrame(window->bounds());
    window->addSubview(self<UIAlertView>());
    setNeedsLayout();
    layoutIfNeeded();
}

void UIAlertView::layoutSubviews()
{
    UIView::layoutSubviews();
    const CGFloat textWidth = kPanelWidth - 2 * kPadding;
    CGFloat y = kPadding;
    CGFloat titleHeight = wrappedHeight(*titleLabel_, textWidth);
    titleLabel_->setFrame(CGRectMake(kPadding, y, textWidth, titleHeight));
    y += titleHeight;
    CGFloat messageHeight = wrappedHeight(*messageLabel_, textWidth);
    if (messageHeight > 0) y += 6;
    messageLabel_->setFrame(CGRectMake(kPadding, y, textWidth, messageHeight));
    y += messageHeight + kPadding;
    for (const auto& button : buttons_) {
        y += 1;  // a hairline between the text and each button
        button->setFrame(CGRectMake(0, y, kPanelWidth, kButtonHeight));
        y += kButtonHeight;
    }
    CGRect b = bounds();
    panel_->setFrame(CGRectMake(std::round(b.origin.x + (b.size.width - kPanelWidth) / 2),
                                std::round(b.origin.y + (b.size.height - y) / 2), kPanelWidth, y));
}

void UIAlertView::buttonPressed(UIButton* button)
{
    if (!isVisible() || dismissing_) return;
    const NSInteger index = button->tag();
    auto keep = self<UIAlertView>();
    if (auto delegate = delegate_.lock()) delegate->alertViewClickedButtonAtIndex(this, index);
    dismissWithClickedButtonIndex(index, true);
}

void UIAlertView::dismissWithClickedButtonIndex(NSInteger index, bool animated)
{
    DispatchMainQueue::requireMainThread("-[UIAlertView dismissWithClickedButtonIndex:animated:]");
    AlertQueue& queue = alerts();
    auto me = self<UIAlertView>();
    if (!isVisible()) {
        // A queued alert leaves the queue without ever showing.
        std::erase(queue.waiting, me);
        return;
    }
    if (dismissing_) return;
    dismissing_ = true;
    setUserInteractionEnabled(false);
    auto finish = [me, index](bool) {
        AlertQueue& q = alerts();
        me->removeFromSuperview();
        if (q.visible == me) q.visible.reset();
        if (auto delegate = me->delegate_.lock()) delegate->alertViewDidDismissWithButtonIndex(me.get(), index);
        // The delegate may have shown another alert already.
        while (!q.visible && !q.waiting.empty()) {
            auto next = q.waiting.front();
            q.waiting.pop_front();
            next->present();
        }
    };
    if (!animated) {
        finish(true);
        return;
    }
    UIView::animateWithDuration(
        kFadeOut, [&] { setAlpha(0); }, std::move(finish));
}
