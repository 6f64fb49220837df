#pragma once
// A horizontally paged strip of item views (columns) of a fixed width, as many per page as fit,
// with an optional extra last page of the delegate's choosing. Only the pages in view exist;
// item views go back to a pool by reuse identifier when a page is refilled. A page control can
// follow the page count and the current page. Owners call setNeedsReload once the delegate is
// set. Main thread only.

#include "TesselSDKFoundation/QZPageControl.h"
#include "TesselSDKFoundation/QZScrollBarPageItemView.h"
#include "TesselSDKFoundation/QZScrollBarPageView.h"
#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIScrollView.h"

#include <map>
#include <string>
#include <vector>

class QZScrollBarView;

class QZScrollBarViewDelegate {
public:
    virtual ~QZScrollBarViewDelegate() = default;
    virtual NSUInteger numberOfItemsInScrollBar(QZScrollBarView* scrollBar) = 0;
    // Normally taken from dequeueReusableItemWithIdentifier first.
    virtual std::shared_ptr<QZScrollBarPageItemView> scrollBarItemViewForColumnAtIndex(QZScrollBarView* scrollBar,
                                                                                       NSUInteger column) = 0;
    // Asked whenever extraPage is set; the default adds nothing.
    virtual std::shared_ptr<UIView> viewForExtraPageInScrollBar(QZScrollBarView*) { return nullptr; }
    // Around every change of the current page, also to the same page.
    virtual void scrollBarWillScrollToPage(QZScrollBarView*, NSInteger) {}
    virtual void scrollBarDidScrollToPage(QZScrollBarView*, NSInteger) {}
};

class QZScrollBarView : public QZView, public UIScrollViewDelegate {
public:
    using QZView::QZView;

    std::weak_ptr<QZScrollBarViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZScrollBarViewDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<QZPageControl> pageControl() const { return pageControl_.lock(); }
    void setPageControl(const std::shared_ptr<QZPageControl>& control) { pageControl_ = control; }

    // Cached; NSNotFound means "ask or compute on the next read".
    NSUInteger numberOfColumns();
    void setNumberOfColumns(NSUInteger columns) { numberOfColumns_ = columns; }
    NSUInteger numberOfColumnsPerPage();
    void setNumberOfColumnsPerPage(NSUInteger columns) { numberOfColumnsPerPage_ = columns; }
    NSUInteger numberOfPages();
    // Also the content size and the page control's count (unless NSNotFound).
    void setNumberOfPages(NSUInteger pages);
    NSUInteger currentPage() const { return currentPage_; }
    // Tells the delegate around it and moves the page control.
    void setCurrentPage(NSUInteger page);
    NSUInteger maxNumberOfColumnsPerPage() const { return maxNumberOfColumnsPerPage_; }
    void setMaxNumberOfColumnsPerPage(NSUInteger columns) { maxNumberOfColumnsPerPage_ = columns; }
    CGFloat columnWidth() const { return columnWidth_; }
    void setColumnWidth(CGFloat width) { columnWidth_ = width; }
    bool extraPage() const { return extraPage_; }
    void setExtraPage(bool extra) { extraPage_ = extra; }
    std::shared_ptr<UIScrollView> scrollView() const { return scrollView_.lock(); }
    // Stored weakly (owned as a subview) and configured as the bar's paging scroll view.
    void setScrollView(const std::shared_ptr<UIScrollView>& scrollView);
    const std::vector<std::shared_ptr<QZScrollBarPageView>>& visiblePages() const { return visiblePages_; }

    void setNeedsReload();
    void layoutSubviews() override;

    void enqueueReusableItem(const std::shared_ptr<QZScrollBarPageItemView>& item);
    std::shared_ptr<QZScrollBarPageItemView> dequeueReusableItemWithIdentifier(const std::string& identifier);

    void tilePages();
    std::shared_ptr<QZScrollBarPageView> dequeueRecycledPage();
    bool isDisplayingPageForIndex(NSUInteger index) const;
    void configurePage(QZScrollBarPageView& page, NSUInteger index);
    CGRect frameForScrollView() const;
    CGRect frameForPageAtIndex(NSUInteger index) const;
    CGSize contentSizeForScrollView();

    void goToPage(NSUInteger page, CGFloat offsetInPage);
    void goToPage(NSUInteger page) { goToPage(page, 0); }
    void reloadPagesAndGoToPage(NSUInteger page, CGFloat offsetInPage);

    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;

    void scrollViewDidScroll(UIScrollView* scrollView) override;

protected:
    void prepareView() override;

private:
    std::weak_ptr<QZScrollBarViewDelegate> delegate_;
    std::weak_ptr<QZPageControl> pageControl_;
    NSUInteger numberOfColumns_ = 0;
    NSUInteger numberOfColumnsPerPage_ = 0;
    NSUInteger numberOfPages_ = 0;
    NSUInteger currentPage_ = 0;
    NSUInteger maxNumberOfColumnsPerPage_ = 0;
    CGFloat columnWidth_ = 80;
    bool extraPage_ = false;
    std::vector<std::shared_ptr<QZScrollBarPageView>> visiblePages_;  // in the order they came
    std::weak_ptr<UIScrollView> scrollView_;
    std::vector<std::shared_ptr<QZScrollBarPageView>> recycledPages_;
    std::map<std::string, std::vector<std::shared_ptr<QZScrollBarPageItemView>>> recycledItems_;
    NSInteger firstVisiblePageIndexBeforeRotation_ = 0;
    CGFloat percentScrolledIntoFirstVisiblePage_ = 0;
};
