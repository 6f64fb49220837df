#include "TesselSDKFoundation/QZScrollBarView.h"

#include "TesselSDKFoundation/QZCountFromQuotient.h"
#include "TesselSDKFoundation/QZDrawingUtils.h"
#include "TesselSDKFoundation/QZScrollBarScrollView.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr NSUInteger kNotFound = NSUInteger(NSNotFound);

}  // namespace

void QZScrollBarView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(QZDrawingUtils::standardBackgroundColor());
    setClipsToBounds(true);
    recycledPages_.clear();
    visiblePages_.clear();
    recycledItems_.clear();
    columnWidth_ = 80;
    setScrollView(
        addSubviewOfClass<QZScrollBarScrollView>(QZUIViewAutoresizingFlexibleDimensions, frameForScrollView()));
}

void QZScrollBarView::setScrollView(const std::shared_ptr<UIScrollView>& scrollView)
{
    scrollView_ = scrollView;
    if (!scrollView) return;
    scrollView->setBackgroundColor(nullptr);
    scrollView->setOpaque(false);
    scrollView->setDelegate(std::static_pointer_cast<UIScrollViewDelegate>(self<QZScrollBarView>()));
    scrollView->setShowsVerticalScrollIndicator(false);
    scrollView->setShowsHorizontalScrollIndicator(false);
    scrollView->setAlwaysBounceVertical(false);
    scrollView->setAlwaysBounceHorizontal(true);
    scrollView->setPagingEnabled(true);
    scrollView->setCanCancelContentTouches(true);
    scrollView->setDelaysContentTouches(false);
    scrollView->setContentSize(contentSizeForScrollView());
}

NSUInteger QZScrollBarView::numberOfColumns()
{
    if (numberOfColumns_ == kNotFound) {
        auto d = delegate_.lock();
        numberOfColumns_ = d ? d->numberOfItemsInScrollBar(this) : 0;
    }
    return numberOfColumns_;
}

NSUInteger QZScrollBarView::numberOfColumnsPerPage()
{
    if (numberOfColumnsPerPage_ == kNotFound) {
        CGFloat width = frameForScrollView().size.width;
        // A bar narrower than 20 points, or a column width that is no width, fits no column.
        NSUInteger fit =
            columnWidth_ > 0 ? NSUInteger(QZCountFromQuotient(std::floor((width - 20 - 20) / columnWidth_))) : 0;
        numberOfColumnsPerPage_ =
            maxNumberOfColumnsPerPage_ != 0 && maxNumberOfColumnsPerPage_ < fit ? maxNumberOfColumnsPerPage_ : fit;
    }
    return numberOfColumnsPerPage_;
}

NSUInteger QZScrollBarView::numberOfPages()
{
    if (numberOfPages_ == kNotFound) {
        NSUInteger perPage = std::max<NSUInteger>(numberOfColumnsPerPage(), 1);
        NSUInteger columns = numberOfColumns();
        NSUInteger pages = columns == 0 ? 0 : (columns + perPage - 1) / perPage;
        setNumberOfPages(pages + (extraPage_ ? 1 : 0));
    }
    return numberOfPages_;
}

void QZScrollBarView::setNumberOfPages(NSUInteger pages)
{
    numberOfPages_ = pages;
    if (pages == kNotFound) return;
    if (auto scroll = scrollView()) scroll->setContentSize(contentSizeForScrollView());
    if (auto control = pageControl()) control->setNumberOfPages(pages);
}

void QZScrollBarView::setCurrentPage(NSUInteger page)
{
    if (page == kNotFound) {
        currentPage_ = page;
        return;
    }
    auto d = delegate_.lock();
    if (d) d->scrollBarWillScrollToPage(this, NSInteger(page));
    currentPage_ = page;
    if (auto control = pageControl()) control->setCurrentPage(page);
    if (d) d->scrollBarDidScrollToPage(this, NSInteger(page));
}

void QZScrollBarView::setNeedsReload()
{
    numberOfPages_ = kNotFound;
    numberOfColumns_ = kNotFound;
    numberOfColumnsPerPage_ = kNotFound;
    tilePages();
    setNeedsLayout();
}

void QZScrollBarView::layoutSubviews()
{
    QZView::layoutSubviews();
    numberOfColumnsPerPage_ = kNotFound;
    numberOfPages_ = kNotFound;
    if (auto scroll = scrollView()) scroll->setContentSize(contentSizeForScrollView());
    for (const auto& page : visiblePages_) {
        page->setFrame(frameForPageAtIndex(page->index()));
        page->reloadItems();
    }
}

void QZScrollBarView::enqueueReusableItem(const std::shared_ptr<QZScrollBarPageItemView>& item)
{
    if (item) recycledItems_[item->reuseIdentifier()].push_back(item);
}

std::shared_ptr<QZScrollBarPageItemView>
QZScrollBarView::dequeueReusableItemWithIdentifier(const std::string& identifier)
{
    auto it = recycledItems_.find(identifier);
    if (it == recycledItems_.end() || it->second.empty()) return nullptr;
    auto item = it->second.back();
    it->second.pop_back();
    return item;
}

void QZScrollBarView::tilePages()
{
    auto scroll = scrollView();
    if (!scroll) return;
    CGRect b = scroll->bounds();
    if (!(b.size.width > 0)) return;  // no page has a place
    // Pages in view; a negative first (bouncing past the start) is page 0.
    CGFloat firstQuotient = std::floor(CGRectGetMinX(b) / b.size.width);
    CGFloat lastQuotient = std::floor((CGRectGetMaxX(b) - 1) / b.size.width);
    NSInteger first = firstQuotient > 0 ? QZCountFromQuotient(firstQuotient, NSNotFound) : 0;
    NSInteger last = lastQuotient >= 0 ? QZCountFromQuotient(lastQuotient, NSNotFound) : -1;
    // With no pages the bound wraps to the largest unsigned value, so page 0 is still placed.
    NSUInteger lastPage = numberOfPages() - 1;
    if (last >= 0 && lastPage < NSUInteger(last)) last = NSInteger(lastPage);
    if (first == NSNotFound || last == NSNotFound) return;

    std::vector<std::shared_ptr<QZScrollBarPageView>> kept;
    for (const auto& page : visiblePages_) {
        if (page->index() < NSUInteger(first) || (last < 0 || page->index() > NSUInteger(last))) {
            recycledPages_.push_back(page);
            page->removeFromSuperview();
        } else {
            kept.push_back(page);
        }
    }
    visiblePages_ = std::move(kept);

    for (NSInteger index = first; index <= last; ++index) {
        if (isDisplayingPageForIndex(NSUInteger(index))) continue;
        auto page = dequeueRecycledPage();
        if (!page) page = QZScrollBarPageView::make(self<QZScrollBarView>());
        configurePage(*page, NSUInteger(index));
        scroll->addSubview(page);
        visiblePages_.push_back(page);
    }
}

std::shared_ptr<QZScrollBarPageView> QZScrollBarView::dequeueRecycledPage()
{
    if (recycledPages_.empty()) return nullptr;
    auto page = recycledPages_.back();
    recycledPages_.pop_back();
    return page;
}

bool QZScrollBarView::isDisplayingPageForIndex(NSUInteger index) const
{
    return std::any_of(visiblePages_.begin(), visiblePages_.end(), [&](const auto& p) { return p->index() == index; });
}

void QZScrollBarView::configurePage(QZScrollBarPageView& page, NSUInteger index)
{
    page.setIndex(index);
    page.setFrame(frameForPageAtIndex(index));
}

CGRect QZScrollBarView::frameForScrollView() const
{
    CGRect b = bounds();
    return CGRectMake(b.origin.x - 10, b.origin.y, b.size.width + 20, b.size.height);
}

CGRect QZScrollBarView::frameForPageAtIndex(NSUInteger index) const
{
    auto scroll = scrollView();
    CGRect b = scroll ? scroll->bounds() : frameForScrollView();
    return CGRectMake(CGFloat(index) * b.size.width - 5, b.origin.y, b.size.width + 10, b.size.height);
}

CGSize QZScrollBarView::contentSizeForScrollView()
{
    auto scroll = scrollView();
    CGSize size = scroll ? scroll->bounds().size : CGSizeZero;
    return CGSizeMake(CGFloat(numberOfPages()) * size.width, size.height);
}

void QZScrollBarView::scrollViewDidScroll(UIScrollView*)
{
    tilePages();
    CGRect b = bounds();
    CGPoint centre = CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b));
    NSUInteger page = 0;
    for (const auto& p : visiblePages_)
        if (CGRectContainsPoint(p->bounds(), p->convertPointFromView(centre, this))) page = p->index();
    setCurrentPage(page);
}

void QZScrollBarView::goToPage(NSUInteger page, CGFloat offsetInPage)
{
    auto scroll = scrollView();
    CGFloat width = scroll ? scroll->bounds().size.width : 0;
    NSUInteger pages = numberOfPages();
    // Past the end: the last page. With no pages there is no last page: page 0.
    NSUInteger target = pages == 0 ? 0 : page >= pages ? page - 1 : page;
    if (scroll) scroll->setContentOffset(CGPointMake(CGFloat(target) * width + offsetInPage * width, 0), false);
    // The page shown, which the control can mark.
    if (auto control = pageControl()) control->setCurrentPage(target);
}

void QZScrollBarView::reloadPagesAndGoToPage(NSUInteger page, CGFloat offsetInPage)
{
    numberOfColumnsPerPage_ = kNotFound;
    numberOfPages_ = kNotFound;
    if (auto scroll = scrollView()) scroll->setContentSize(contentSizeForScrollView());
    for (const auto& p : visiblePages_) {
        p->setFrame(frameForPageAtIndex(p->index()));
        p->reloadItems();
    }
    goToPage(page, offsetInPage);
}

void QZScrollBarView::willRotateToInterfaceOrientation(UIInterfaceOrientation, double)
{
    auto scroll = scrollView();
    if (!scroll) return;
    CGFloat x = scroll->contentOffset().x, width = scroll->bounds().size.width;
    if (!(width > 0)) {
        firstVisiblePageIndexBeforeRotation_ = 0;
        percentScrolledIntoFirstVisiblePage_ = 0;
    } else if (x >= 0) {
        firstVisiblePageIndexBeforeRotation_ = QZCountFromQuotient(std::floor(x / width), NSNotFound - 1);
        percentScrolledIntoFirstVisiblePage_ = (x - CGFloat(firstVisiblePageIndexBeforeRotation_) * width) / width;
    } else {
        firstVisiblePageIndexBeforeRotation_ = 0;
        percentScrolledIntoFirstVisiblePage_ = x / width;
    }
}

void QZScrollBarView::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation, double)
{
    reloadPagesAndGoToPage(NSUInteger(firstVisiblePageIndexBeforeRotation_), percentScrolledIntoFirstVisiblePage_);
}
