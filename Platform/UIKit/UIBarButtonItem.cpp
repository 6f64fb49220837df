#include "UIKit/UIBarButtonItem.h"

#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"

namespace {
constexpr CGFloat kButtonHeight = 30;
constexpr CGFloat kTitlePadding = 12;
constexpr CGFloat kDoneFontSize = 13;
constexpr CGFloat kTitledFontSize = 12;
constexpr CGFloat kBorderCornerRadius = 5;
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
    if (item == UIBarButtonSystemItemDone) makeTitledButton("Done", kDoneFontSize);
    applyEnabled();
    return true;
}

bool UIBarButtonItem::initWithTitle(std::string title, UIBarButtonItemStyle style)
{
    title_ = std::move(title);
    style_ = style;
    makeTitledButton(title_, kTitledFontSize);
    button_->setTitleColor(UIColor::colorWithWhite(1, 0.35f), UIControlStateDisabled);
    if (style == UIBarButtonItemStyleBordered) {
        // The platform's bordered item: a faint rounded plate with a light rim.
        const std::shared_ptr<CALayer>& layer = button_->layer();
        layer->setCornerRadius(kBorderCornerRadius);
        layer->setBorderWidth(1);
        layer->setBorderColor(UIColor::colorWithWhite(1, 0.45f)->CGColor());
        button_->setBackgroundColor(UIColor::colorWithWhite(1, 0.12f));
    }
    applyEnabled();
    return true;
}

void UIBarButtonItem::makeTitledButton(const std::string& title, CGFloat fontSize)
{
    button_ = UIButton::buttonWithType(UIButtonTypeCustom);
    button_->setTitle(title, UIControlStateNormal);
    button_->titleLabel()->setFont(UIFont::boldSystemFontOfSize(fontSize));
    CGSize size = button_->titleLabel()->sizeThatFits(CGSizeMake(1000, kButtonHeight));
    button_->setFrame(CGRectMake(0, 0, size.width + 2 * kTitlePadding, kButtonHeight));
    button_->addTarget(self<UIBarButtonItem>(), &UIBarButtonItem::buttonPressed, UIControlEventTouchUpInside);
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
