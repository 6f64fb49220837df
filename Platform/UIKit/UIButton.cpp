#include "UIKit/UIButton.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType)
{
    return UIView::viewWithFrame<UIButton>(CGRectZero);
}

bool UIButton::initWithFrame(CGRect frame)
{
    if (!UIControl::initWithFrame(frame)) return false;
    backgroundView_ = UIView::viewWithFrame<UIImageView>();
    addSubview(backgroundView_);
    imageView_ = UIView::viewWithFrame<UIImageView>();
    imageView_->setContentMode(UIViewContentModeCenter);
    addSubview(imageView_);
    titleLabel_ = UIView::viewWithFrame<UILabel>();
    titleLabel_->setBackgroundColor(UIColor::clearColor());
    titleLabel_->setFont(UIFont::boldSystemFontOfSize(15));
    titleLabel_->setTextAlignment(NSTextAlignmentCenter);
    addSubview(titleLabel_);
    looks_[UIControlStateNormal].titleColor = UIColor::whiteColor();
    show();
    return true;
}

template <class T>
T UIButton::lookup(UIControlState state, T Look::*member) const
{
    auto it = looks_.find(state);
    if (it != looks_.end() && it->second.*member) return it->second.*member;
    it = looks_.find(UIControlStateNormal);
    return it != looks_.end() ? it->second.*member : T{};
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state)
{
    looks_[state].image = std::move(image);
    show();
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const
{
    return lookup(state, &Look::image);
}

void UIButton::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state)
{
    looks_[state].backgroundImage = std::move(image);
    show();
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const
{
    return lookup(state, &Look::backgroundImage);
}

void UIButton::setTitle(std::optional<std::string> title, UIControlState state)
{
    looks_[state].title = std::move(title);
    show();
}

std::optional<std::string> UIButton::titleForState(UIControlState state) const
{
    return lookup(state, &Look::title);
}

void UIButton::setTitleColor(std::shared_ptr<UIColor> color, UIControlState state)
{
    looks_[state].titleColor = std::move(color);
    show();
}

std::shared_ptr<UIColor> UIButton::titleColorForState(UIControlState state) const
{
    return lookup(state, &Look::titleColor);
}

void UIButton::setTitleShadowColor(std::shared_ptr<UIColor> color, UIControlState state)
{
    looks_[state].titleShadowColor = std::move(color);
    show();
}

std::shared_ptr<UIColor> UIButton::titleShadowColorForState(UIControlState state) const
{
    return lookup(state, &Look::titleShadowColor);
}

void UIButton::setEnabled(bool enabled)
{
    UIControl::setEnabled(enabled);
    show();
}

void UIButton::setHighlighted(bool highlighted)
{
    UIControl::setHighlighted(highlighted);
    show();
}

void UIButton::setSelected(bool selected)
{
    UIControl::setSelected(selected);
    show();
}

void UIButton::show()
{
    backgroundView_->setImage(currentBackgroundImage());
    backgroundView_->setHidden(!backgroundView_->image());
    imageView_->setImage(currentImage());
    imageView_->setHidden(!imageView_->image());
    auto title = currentTitle();
    titleLabel_->setText(title.value_or(""));
    titleLabel_->setHidden(!title || title->empty());
    if (auto color = currentTitleColor()) titleLabel_->setTextColor(color);
    // A button given no title shadow leaves the label's own alone (owners may style it directly).
    const bool hasShadows = std::any_of(looks_.begin(), looks_.end(),
                                        [](const auto& look) { return look.second.titleShadowColor != nullptr; });
    if (hasShadows) titleLabel_->setShadowColor(currentTitleShadowColor());
    setNeedsLayout();
}

CGSize UIButton::sizeThatFits(CGSize size) const
{
    CGSize image = imageView_->image() ? imageView_->image()->size() : CGSizeZero;
    CGSize title = titleLabel_->isHidden() ? CGSizeZero : titleLabel_->sizeThatFits(size);
    CGSize content = CGSizeMake(image.width + title.width, std::max(image.height, title.height));
    if (auto background = currentBackgroundImage()) {
        content.width = std::max(content.width, background->size().width);
        content.height = std::max(content.height, background->size().height);
    }
    return content;
}

void UIButton::layoutSubviews()
{
    CGRect b = bounds();
    backgroundView_->setFrame(b);
    CGSize image = imageView_->image() ? imageView_->image()->size() : CGSizeZero;
    CGSize title = titleLabel_->isHidden() ? CGSizeZero : titleLabel_->sizeThatFits(b.size);
    title.width = std::min(title.width, std::max(CGFloat(0), b.size.width - image.width));
    CGFloat x = std::round((b.size.width - image.width - title.width) / 2);
    imageView_->setFrame(CGRectMake(x, std::round((b.size.height - image.height) / 2), image.width, image.height));
    titleLabel_->setFrame(
        CGRectMake(x + image.width, std::round((b.size.height - title.height) / 2), title.width, title.height));
}
