#include "UIKit/UIToolbar.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"

namespace {
constexpr CGFloat kEdgeMargin = 6;
constexpr CGFloat kItemSpacing = 8;
}  // namespace

bool UIToolbar::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    setContentMode(UIViewContentModeRedraw);
    setOpaque(false);
    return true;
}

void UIToolbar::setBarStyle(UIBarStyle style)
{
    barStyle_ = style;
    if (style == UIBarStyleBlackTranslucent) translucent_ = true;
    setNeedsDisplay();
}

void UIToolbar::setTranslucent(bool translucent)
{
    translucent_ = translucent;
    setNeedsDisplay();
}

void UIToolbar::setItems(std::vector<std::shared_ptr<UIBarButtonItem>> items)
{
    for (const auto& item : items_)
        if (auto view = item->itemView(); view && view->superview().get() == this) view->removeFromSuperview();
    items_ = std::move(items);
    for (const auto& item : items_)
        if (auto view = item->itemView()) addSubview(view);
    setNeedsLayout();
}

void UIToolbar::layoutSubviews()
{
    UIView::layoutSubviews();
    const CGRect b = bounds();
    CGFloat fixed = 0;
    int flexible = 0, shown = 0;
    for (const auto& item : items_) {
        if (item->isFlexibleSpace()) {
            ++flexible;
        } else if (auto view = item->itemView()) {
            fixed += view->frame().size.width;
            ++shown;
        }
    }
    const CGFloat spacing = shown > 1 ? kItemSpacing * CGFloat(shown - 1) : 0;
    const CGFloat free = std::max<CGFloat>(0, b.size.width - 2 * kEdgeMargin - fixed - spacing);
    const CGFloat share = flexible > 0 ? free / CGFloat(flexible) : 0;
    CGFloat x = b.origin.x + kEdgeMargin;
    bool first = true;
    for (const auto& item : items_) {
        if (item->isFlexibleSpace()) {
            x += share;
            continue;
        }
        auto view = item->itemView();
        if (!view) continue;
        if (!first) x += kItemSpacing;
        first = false;
        const CGSize size = view->frame().size;
        view->setFrame(CGRectMake(x, b.origin.y + (b.size.height - size.height) / 2, size.width, size.height));
        x += size.width;
    }
}

void UIToolbar::drawRect(CGRect rect)
{
    UIView::drawRect(rect);
    const CGRect b = bounds();
    const bool black = barStyle_ != UIBarStyleDefault;
    const CGFloat alpha = translucent_ ? 0.7f : 1;
    (black ? UIColor::colorWithWhite(0.08f, alpha) : UIColor::colorWithWhite(0.78f, alpha))->setFill();
    UIRectFill(b);
    // A hairline along the top edge sets the bar off from what is above it.
    (black ? UIColor::colorWithWhite(0.35f, alpha) : UIColor::colorWithWhite(0.6f, alpha))->setFill();
    UIRectFill(CGRectMake(b.origin.x, b.origin.y, b.size.width, 1));
}
