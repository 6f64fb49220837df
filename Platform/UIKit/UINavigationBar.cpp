#include "UIKit/UINavigationBar.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSFoundationVersion.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UINavigationItem.h"

#include <algorithm>

namespace {
constexpr double kCrossFade = 0.3;
constexpr CGFloat kBarHeight = 44;

CGFloat edgeMargin()
{
    return NSFoundationVersionNumber() > NSFoundationVersionNumber_iOS_6_1 ? 16 : 5;
}

std::shared_ptr<UIView> customViewOf(const std::shared_ptr<UIBarButtonItem>& item)
{
    return item ? item->customView() : nullptr;
}
}  // namespace

UINavigationBar::~UINavigationBar() = default;

std::vector<std::shared_ptr<UIView>> UINavigationBar::Shown::views() const
{
    std::vector<std::shared_ptr<UIView>> all;
    for (const auto& view : {title, left, right})
        if (view) all.push_back(view);
    return all;
}

std::shared_ptr<UINavigationItem> UINavigationBar::topItem() const
{
    return items_.empty() ? nullptr : items_.back();
}

std::shared_ptr<UINavigationItem> UINavigationBar::backItem() const
{
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

void UINavigationBar::pushNavigationItem(const std::shared_ptr<UINavigationItem>& item, bool animated)
{
    DispatchMainQueue::requireMainThread("-[UINavigationBar pushNavigationItem:animated:]");
    if (!item) return;
    if (std::find(items_.begin(), items_.end(), item) != items_.end()) {
        NSLog("%s %@", "-[UINavigationBar pushNavigationItem:animated:]", "the item is on the bar already");
        return;
    }
    if (auto other = item->navigationBar(); other && other.get() != this) {
        NSLog("%s %@", "-[UINavigationBar pushNavigationItem:animated:]", "the item is on another bar");
        return;
    }
    item->bar_ = self<UINavigationBar>();
    items_.push_back(item);
    showTopItem(animated);
}

std::shared_ptr<UINavigationItem> UINavigationBar::popNavigationItemAnimated(bool animated)
{
    DispatchMainQueue::requireMainThread("-[UINavigationBar popNavigationItemAnimated:]");
    auto item = topItem();
    if (!item) return nullptr;
    if (auto delegate = delegate_.lock())
        if (delegate->navigationBarShouldPopItem(this, item.get()) == false) return nullptr;
    items_.pop_back();
    item->bar_.reset();
    showTopItem(animated);
    return item;
}

void UINavigationBar::setItems(const std::vector<std::shared_ptr<UINavigationItem>>& items, bool animated)
{
    DispatchMainQueue::requireMainThread("-[UINavigationBar setItems:animated:]");
    std::vector<std::shared_ptr<UINavigationItem>> kept;
    for (const auto& item : items) {
        if (!item || std::find(kept.begin(), kept.end(), item) != kept.end()) {
            NSLog("%s %@", "-[UINavigationBar setItems:animated:]", "a null or repeated item is left out");
            continue;
        }
        if (auto other = item->navigationBar(); other && other.get() != this) {
            NSLog("%s %@", "-[UINavigationBar setItems:animated:]", "the item is on another bar");
            continue;
        }
        kept.push_back(item);
    }
    for (const auto& item : items_)
        if (std::find(kept.begin(), kept.end(), item) == kept.end()) item->bar_.reset();
    for (const auto& item : kept) item->bar_ = self<UINavigationBar>();
    items_ = std::move(kept);
    showTopItem(animated);
}

UINavigationBar::Shown UINavigationBar::viewsForItem(const std::shared_ptr<UINavigationItem>& item) const
{
    Shown shown;
    if (!item) return shown;
    shown.item = item;
    shown.title = item->titleView();
    if (!shown.title) {
        // The label of an item already shown is kept, so a title change does not flash.
        shown.label = shown_.item == item && shown_.label ? shown_.label : UIView::viewWithFrame<UILabel>();
        shown.label->setText(item->title());
        shown.label->setFont(UIFont::boldSystemFontOfSize(20));
        shown.label->setTextAlignment(NSTextAlignmentCenter);
        shown.label->setBackgroundColor(UIColor::clearColor());
        shown.label->sizeToFit();
        shown.title = shown.label;
    }
    shown.left = customViewOf(item->leftBarButtonItem());
    shown.right = customViewOf(item->rightBarButtonItem());
    return shown;
}

void UINavigationBar::itemChanged(UINavigationItem& item)
{
    if (topItem().get() == &item) showTopItem(false);
}

void UINavigationBar::showTopItem(bool animated)
{
    Shown old = shown_;
    shown_ = viewsForItem(topItem());
    std::vector<std::shared_ptr<UIView>> incoming = shown_.views();
    auto stays = [&](const std::shared_ptr<UIView>& view) {
        return std::find(incoming.begin(), incoming.end(), view) != incoming.end();
    };
    const std::vector<std::shared_ptr<UIView>> previous = old.views();
    std::vector<std::shared_ptr<UIView>> outgoing;
    for (const auto& view : previous)
        if (!stays(view)) outgoing.push_back(view);

    for (const auto& view : incoming)
        if (view->superview().get() != this) addSubview(view);
    placeShownViews();
    setNeedsLayout();

    if (!animated) {
        for (const auto& view : outgoing) view->removeFromSuperview();
        for (const auto& view : incoming) view->setAlpha(1);
        return;
    }
    for (const auto& view : incoming)
        if (std::find(previous.begin(), previous.end(), view) == previous.end()) view->setAlpha(0);
    std::weak_ptr<UINavigationBar> weakBar = self<UINavigationBar>();
    UIView::animateWithDuration(
        kCrossFade,
        [&] {
            for (const auto& view : outgoing) view->setAlpha(0);
            for (const auto& view : incoming) view->setAlpha(1);
        },
        [weakBar, outgoing](bool) {
            auto bar = weakBar.lock();
            if (!bar) return;
            // A view the bar shows again meanwhile stays.
            std::vector<std::shared_ptr<UIView>> current = bar->shown_.views();
            for (const auto& view : outgoing)
                if (view->superview() == bar && std::find(current.begin(), current.end(), view) == current.end())
                    view->removeFromSuperview();
        });
}

void UINavigationBar::placeShownViews()
{
    CGRect b = bounds();
    const CGFloat margin = edgeMargin();
    const CGFloat middle = b.origin.y + b.size.height / 2;
    if (shown_.title) shown_.title->setCenter(CGPointMake(b.origin.x + b.size.width / 2, middle));
    if (shown_.left) {
        CGRect f = shown_.left->frame();
        shown_.left->setFrame(CGRectMake(b.origin.x + margin, middle - f.size.height / 2, f.size.width, f.size.height));
    }
    if (shown_.right) {
        CGRect f = shown_.right->frame();
        shown_.right->setFrame(CGRectMake(CGRectGetMaxX(b) - margin - f.size.width, middle - f.size.height / 2,
                                          f.size.width, f.size.height));
    }
}

CGSize UINavigationBar::sizeThatFits(CGSize /*size*/) const
{
    return CGSizeMake(bounds().size.width, kBarHeight);
}

void UINavigationBar::layoutSubviews()
{
    UIView::layoutSubviews();
    placeShownViews();
}

void UINavigationBar::setBackgroundImage(std::shared_ptr<UIImage> image, UIBarMetrics metrics)
{
    if (metrics != UIBarMetricsDefault && metrics != UIBarMetricsLandscapePhone) return;
    backgroundImages_[metrics] = std::move(image);
    setNeedsDisplay();
}

std::shared_ptr<UIImage> UINavigationBar::backgroundImageForBarMetrics(UIBarMetrics metrics) const
{
    if (metrics != UIBarMetricsDefault && metrics != UIBarMetricsLandscapePhone) return nullptr;
    return backgroundImages_[metrics];
}

void UINavigationBar::drawRect(CGRect rect)
{
    // Without the base's "draws nothing" mark: subclasses draw after calling up.
    if (const auto& image = backgroundImages_[UIBarMetricsDefault]) image->drawInRect(rect);
}
