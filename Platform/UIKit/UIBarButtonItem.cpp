#include "UIKit/UIBarButtonItem.h"

#include "UIKit/UIButton.h"
#include "UIKit/UIFont.h"

namespace {
constexpr CGFloat kButtonHeight = 30;
constexpr CGFloat kTitlePadding = 12;
}  // namespace

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::makeWithCustomView(std::shared_ptr<UIView> view)
{
    return NSObject::create<UIBarButtonItem>(&UIBarButtonItem::initWithCustomView, std::move(view));
}

bool UIBarButtonItem::initWithCustomView(std::shared_ptr<UIView> view)
{
    setCustomView(std::move(view));
    return true;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItem item)
{
    return NSObject::create<UIBarButtonItem>(&UIBarButtonItem::initWithBarButtonSystemItem, item);
}

bool UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItem item)
{
    if (item != UIBarButtonSystemItemDone && item != UIBarButtonSystemItemFlexibleSpace) return false;
    systemItem_ = item;
    if (item == UIBarButtonSystemItemDone) {
        button_ = UIButton::buttonWithType(UIButtonTypeCustom);
        button_->setTitle("Done", UIControlStateNormal);
        button_->titleLabel()->setFont(UIFont::boldSystemFontOfSize(13));
        CGSize title = button_->titleLabel()->sizeThatFits(CGSizeMake(1000, kButtonHeight));
        button_->setFrame(CGRectMake(0, 0, title.width + 2 * kTitlePadding, kButtonHeight));
        button_->addTarget(self<UIBarButtonItem>(), &UIBarButtonItem::buttonPressed, UIControlEventTouchUpInside);
    }
    applyEnabled();
    return true;
}

std::shared_ptr<UIView> UIBarButtonItem::itemView() const
{
    if (customView_) return customView_;
    return button_;
}

void UIBarButtonItem::setCustomView(std::shared_ptr<UIView> view)
{
    customView_ = std::move(view);
    applyEnabled();
}

void UIBarButtonItem::setEnabled(bool enabled)
{
    enabled_ = enabled;
    applyEnabled();
}

void UIBarButtonItem::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state, UIBarMetrics)
{
    backgroundImages_[state] = image;
    if (button_) button_->setBackgroundImage(std::move(image), state);
}

std::shared_ptr<UIImage> UIBarButtonItem::backgroundImageForState(UIControlState state, UIBarMetrics) const
{
    auto found = backgroundImages_.find(state);
    return found == backgroundImages_.end() ? nullptr : found->second;
}

void UIBarButtonItem::buttonPressed(UIButton*)
{
    if (action_) action_->send(this, nullptr);
}

void UIBarButtonItem::applyEnabled()
{
    auto view = itemView();
    if (!view) return;
    if (auto* control = dynamic_cast<UIControl*>(view.get()))
        control->setEnabled(enabled_);
    else
        view->setUserInteractionEnabled(enabled_);
}
