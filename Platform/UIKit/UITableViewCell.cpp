#include "UIKit/UITableViewCell.h"

#include "UIKit/UIControl.h"

#include <algorithm>

namespace {

constexpr CGFloat kMargin = 10;

// Highlights what has a highlighted state: image views, labels, controls.
void highlightTree(UIView& view, bool highlighted)
{
    for (const auto& sub : view.subviews()) {
        if (auto image = std::dynamic_pointer_cast<UIImageView>(sub))
            image->setHighlighted(highlighted);
        else if (auto label = std::dynamic_pointer_cast<UILabel>(sub))
            label->setHighlighted(highlighted);
        else if (auto control = std::dynamic_pointer_cast<UIControl>(sub))
            control->setHighlighted(highlighted);
        highlightTree(*sub, highlighted);
    }
}

}  // namespace

bool UITableViewCell::initWithFrame(CGRect frame)
{
    if (!initWithStyle(UITableViewCellStyleDefault, "")) return false;
    setFrame(frame);
    return true;
}

bool UITableViewCell::initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier)
{
    if (!UIView::initWithFrame(CGRectMake(0, 0, 320, 44))) return false;
    style_ = style;
    reuseIdentifier_ = reuseIdentifier;
    setBackgroundColor(UIColor::whiteColor());
    contentView_ = UIView::viewWithFrame(bounds());
    contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(contentView_);
    imageView_ = UIView::viewWithFrame<UIImageView>();
    contentView_->addSubview(imageView_);
    textLabel_ = UIView::viewWithFrame<UILabel>();
    textLabel_->setBackgroundColor(UIColor::clearColor());
    textLabel_->setFont(UIFont::boldSystemFontOfSize(18));
    textLabel_->setHighlightedTextColor(UIColor::whiteColor());
    contentView_->addSubview(textLabel_);
    if (style == UITableViewCellStyleSubtitle) {
        detailTextLabel_ = UIView::viewWithFrame<UILabel>();
        detailTextLabel_->setBackgroundColor(UIColor::clearColor());
        detailTextLabel_->setFont(UIFont::systemFontOfSize(14));
        detailTextLabel_->setTextColor(UIColor::grayColor());
        detailTextLabel_->setHighlightedTextColor(UIColor::whiteColor());
        contentView_->addSubview(detailTextLabel_);
    }
    return true;
}

// Back to front: background, selected background, content (and accessory).
void UITableViewCell::stackBackgrounds()
{
    NSInteger index = 0;
    for (const auto& view : {backgroundView_, selectedBackgroundView_}) {
        if (!view) continue;
        view->setFrame(bounds());
        view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        insertSubviewAtIndex(view, index++);
    }
}

void UITableViewCell::setBackgroundView(std::shared_ptr<UIView> view)
{
    if (backgroundView_ && backgroundView_ != view) backgroundView_->removeFromSuperview();
    backgroundView_ = std::move(view);
    stackBackgrounds();
}

void UITableViewCell::setSelectedBackgroundView(std::shared_ptr<UIView> view)
{
    if (selectedBackgroundView_ && selectedBackgroundView_ != view) selectedBackgroundView_->removeFromSuperview();
    selectedBackgroundView_ = std::move(view);
    stackBackgrounds();
    showSelection();
}

void UITableViewCell::setAccessoryView(std::shared_ptr<UIView> view)
{
    if (accessoryView_ && accessoryView_ != view) accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(view);
    if (accessoryView_) addSubview(accessoryView_);
    setNeedsLayout();
}

void UITableViewCell::setSelectionStyle(UITableViewCellSelectionStyle style)
{
    selectionStyle_ = style;
    showSelection();
}

void UITableViewCell::setHighlighted(bool highlighted, bool)
{
    highlighted_ = highlighted;
    showSelection();
}

void UITableViewCell::setSelected(bool selected, bool)
{
    selected_ = selected;
    showSelection();
}

void UITableViewCell::showSelection()
{
    // A cell that shows no selection leaves its content's highlights to its owner, which may light
    // them for reasons of its own (a conveyor cell while it is the strip's chosen one).
    if (selectionStyle_ == UITableViewCellSelectionStyleNone) {
        if (selectedBackgroundView_) selectedBackgroundView_->setHidden(true);
        return;
    }
    bool shown = highlighted_ || selected_;
    if (selectedBackgroundView_) selectedBackgroundView_->setHidden(!shown);
    highlightTree(*contentView_, shown);
    if (accessoryView_) highlightTree(*accessoryView_, shown);
}

void UITableViewCell::prepareForReuse()
{
    setHighlighted(false);
    setSelected(false);
}

void UITableViewCell::layoutSubviews()
{
    CGRect b = bounds();
    CGFloat contentWidth = b.size.width;
    if (accessoryView_) {
        CGSize a = accessoryView_->frame().size;
        accessoryView_->setFrame(
            CGRectMake(b.size.width - kMargin - a.width, (b.size.height - a.height) / 2, a.width, a.height));
        contentWidth = std::max(CGFloat(0), b.size.width - a.width - 2 * kMargin);
    }
    contentView_->setFrame(CGRectMake(0, 0, contentWidth, b.size.height));

    CGFloat x = kMargin;
    if (imageView_->image()) {
        CGSize s = imageView_->image()->size();
        imageView_->setFrame(CGRectMake(kMargin, (b.size.height - s.height) / 2, s.width, s.height));
        x += s.width + kMargin;
    } else {
        imageView_->setFrame(CGRectZero);
    }
    CGFloat width = std::max(CGFloat(0), contentWidth - x - kMargin);
    if (!detailTextLabel_) {
        textLabel_->setFrame(CGRectMake(x, 0, width, b.size.height));
        return;
    }
    CGFloat textHeight = textLabel_->sizeThatFits(CGSizeMake(width, 0)).height;
    CGFloat detailHeight = detailTextLabel_->sizeThatFits(CGSizeMake(width, 0)).height;
    CGFloat top = (b.size.height - textHeight - detailHeight) / 2;
    textLabel_->setFrame(CGRectMake(x, top, width, textHeight));
    detailTextLabel_->setFrame(CGRectMake(x, top + textHeight, width, detailHeight));
}
