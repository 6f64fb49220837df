#pragma once
// A delegate's items as pages of whole cells on a horizontal table: each page holds as many cells
// as fit (up to a maximum), centred between two spacer cells (bookends) that fill the rest, so
// that paging by the view's width lands on whole cells. A partial last page gets bookends of its
// own, so that it is centred too. An optional page control follows. Main thread only.

#include "TesselSDKFoundation/QZHorizontalTableView.h"
#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"
#include "TesselSDKFoundation/QZPageControl.h"

class QZPagingView;

// All three are asked.
class QZPagingViewDelegate {
public:
    virtual ~QZPagingViewDelegate() = default;
    virtual NSInteger numberOfItemsInPagingView(QZPagingView* view) = 0;
    // A new content cell when none can be reused.
    virtual std::shared_ptr<UITableViewCell> pagingViewCreateCellWithIdentifier(QZPagingView* view,
                                                                                const std::string& identifier) = 0;
    virtual void pagingViewConfigureCellForIndex(QZPagingView* view, UITableViewCell* cell, NSInteger index) = 0;
};

inline constexpr const char* kQZPagingViewExtraCellIdentifier = "QZPagingView_ExtraCell";
inline constexpr const char* kQZPagingViewContentCellIdentifier = "QZPagingView_ContentCell";

class QZPagingView : public QZView, public UITableViewDataSource, public UITableViewDelegate {
public:
    using QZView::QZView;

    std::shared_ptr<QZHorizontalTableView> horizontalTableView() const { return horizontalTableView_.lock(); }
    // Stored weakly (the view owns it as a subview) and configured as this view's table.
    void setHorizontalTableView(const std::shared_ptr<QZHorizontalTableView>& view);
    NSInteger numberOfItemsPerPage() const { return numberOfItemsPerPage_; }
    void setNumberOfItemsPerPage(NSInteger items) { numberOfItemsPerPage_ = items; }
    NSInteger numberOfPages() const { return numberOfPages_; }
    // Also the page control's.
    void setNumberOfPages(NSInteger pages);
    NSInteger numberOfColumns() const { return numberOfColumns_; }
    void setNumberOfColumns(NSInteger columns) { numberOfColumns_ = columns; }
    NSInteger currentPage() const { return currentPage_; }
    // Also the page control's.
    void setCurrentPage(NSInteger page);
    CGFloat extraColumnWidth() const { return extraColumnWidth_; }
    void setExtraColumnWidth(CGFloat width) { extraColumnWidth_ = width; }
    std::weak_ptr<QZPagingViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZPagingViewDelegate> delegate) { delegate_ = std::move(delegate); }
    CGFloat cellWidth() const { return cellWidth_; }
    // Reloads the table and lays out again.
    void setCellWidth(CGFloat width);
    NSInteger maximumItemsPerPage() const { return maximumItemsPerPage_; }
    void setMaximumItemsPerPage(NSInteger items) { maximumItemsPerPage_ = items; }
    std::shared_ptr<QZPageControl> pageControl() const { return pageControl_.lock(); }
    void setPageControl(const std::shared_ptr<QZPageControl>& control) { pageControl_ = control; }

    void layoutSubviews() override;
    // The page under the centre.
    void updateCurrentPage();
    bool isIndexPathBookend(const std::shared_ptr<NSIndexPath>& path) const;
    // A bookend is logged and answers the item index its position gives.
    NSInteger itemIndexForIndexPath(const std::shared_ptr<NSIndexPath>& path) const;
    NSInteger itemIndexForCell(const UITableViewCell* cell) const;

    // Table data source and delegate.
    std::optional<NSInteger> numberOfSectionsInTableView(UITableView*) override { return 1; }
    NSInteger tableViewNumberOfRowsInSection(UITableView*, NSInteger) override { return numberOfColumns_; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView* tableView,
                                                                    const std::shared_ptr<NSIndexPath>& path) override;
    std::optional<CGFloat> tableViewHeightForRowAtIndexPath(UITableView*,
                                                            const std::shared_ptr<NSIndexPath>& path) override;
    void scrollViewDidScroll(UIScrollView*) override { updateCurrentPage(); }

protected:
    void prepareView() override;

private:
    // Where a row lies: its page, its place on the page (0 is the left bookend), and how many
    // items that page holds.
    struct Place {
        NSInteger page, offset, items;
    };
    Place placeOfRow(NSInteger row) const;
    NSInteger fullPages() const;

    std::weak_ptr<QZHorizontalTableView> horizontalTableView_;
    NSInteger numberOfItemsPerPage_ = 0;
    NSInteger numberOfPages_ = 0;
    NSInteger numberOfColumns_ = 0;
    NSInteger currentPage_ = 0;
    CGFloat extraColumnWidth_ = 0;
    NSInteger numberOfItems_ = 0;  // as last asked
    std::weak_ptr<QZPagingViewDelegate> delegate_;
    CGFloat cellWidth_ = 72;
    NSInteger maximumItemsPerPage_ = 1;
    std::weak_ptr<QZPageControl> pageControl_;
};
