#include "TesselSDKFoundation/QZScrollBarPageView.h"

#include "TesselSDKFoundation/QZScrollBarView.h"

#include <algorithm>
#include <cmath>

bool QZScrollBarPageView::initWithScrollBar(const std::shared_ptr<QZScrollBarView>& scrollBar)
{
    if (!initWithFrame(CGRectZero)) return false;
    scrollBar_ = scrollBar;
    items_.clear();
    return true;
}

void QZScrollBarPageView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(nullptr);
    setOpaque(false);
}

void QZScrollBarPageView::setIndex(NSUInteger index)
{
    index_ = index;
    updateWithItemsForIndex(index);
}

void QZScrollBarPageView::updateWithItemsForIndex(NSUInteger index)
{
    auto bar = scrollBar();
    if (!bar) return;
    NSUInteger pages = bar->numberOfPages();
    NSUInteger perPage = bar->numberOfColumnsPerPage();
    if (pages == 0) return;

    auto old = subviews();
    for (const auto& view : old) {
        if (auto item = std::dynamic_pointer_cast<QZScrollBarPageItemView>(view)) bar->enqueueReusableItem(item);
        view->removeFromSuperview();
    }
    items_.clear();

    auto delegate = bar->delegate().lock();
    NSUInteger itemPages = pages;
    if (bar->extraPage()) {
        if (index + 1 == pages) {
            if (auto extra = delegate ? delegate->viewForExtraPageInScrollBar(bar.get()) : nullptr) addSubview(extra);
            setNeedsLayout();
            return;
        }
        itemPages = pages - 1;
    }
    NSUInteger columns = bar->numberOfColumns();
    uint64_t first = uint64_t(index) * perPage;
    uint64_t count = perPage;
    if (itemPages == index + 1) count = columns - uint64_t(itemPages - 1) * perPage;
    // A page at or past the item pages (the count shrank while it was in view) stays empty: no
    // column at or past the last is ever asked for.
    uint64_t end = std::min<uint64_t>(first + count, columns);
    for (uint64_t column = first; column < end && delegate; ++column) {
        auto item = delegate->scrollBarItemViewForColumnAtIndex(bar.get(), NSUInteger(column));
        if (!item) continue;
        item->setIndex(NSUInteger(column));
        addSubview(item);
        items_.push_back(item);
    }
    setNeedsLayout();
}

void QZScrollBarPageView::layoutSubviews()
{
    QZView::layoutSubviews();
    auto bar = scrollBar();
    if (!bar) return;
    CGRect b = bounds();
    CGFloat width = bar->columnWidth();
    CGFloat total = CGFloat(bar->numberOfColumnsPerPage()) * width;
    CGFloat x0 = CGRectGetMidX(b) - std::roundf(total * 0.5f);
    const auto& views = subviews();
    if (views.empty()) return;
    if (bar->extraPage() && index_ + 1 == bar->numberOfPages()) {
        views.back()->setFrame(CGRectMake(x0, CGRectGetMinY(b), total, b.size.height));
        return;
    }
    for (size_t j = 0; j < views.size(); ++j) {
        views[j]->setFrame(
            CGRectMake(CGRectGetMinX(b) + x0 + CGFloat(j) * width, CGRectGetMinY(b), width, b.size.height));
        views[j]->setNeedsLayout();
    }
}
