#pragma once
// A table turned on its side: a QZTableView rotated a quarter turn counterclockwise, so that its
// rows run left to right. The table calls owners make are passed on explicitly; its own view
// methods stay its own. Main thread only.

#include "TesselSDKFoundation/QZTableView.h"
#include "TesselSDKFoundation/QZView.h"

class QZHorizontalTableView : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<QZTableView>& tableView() const { return tableView_; }
    void setTableView(std::shared_ptr<QZTableView> tableView) { tableView_ = std::move(tableView); }

    void layoutSubviews() override;
    // Fits the turned table to the bounds, its centre on whole points.
    void layoutTableView();
    // The table's background view (the name as the editor spells it).
    void setBckgroundView(std::shared_ptr<UIView> view) { tableView_->setBackgroundView(std::move(view)); }

    // ---- Passed on to the table ----
    std::weak_ptr<UITableViewDelegate> delegate() const { return tableView_->delegate(); }
    void setDelegate(std::weak_ptr<UITableViewDelegate> delegate) { tableView_->setDelegate(std::move(delegate)); }
    std::weak_ptr<UITableViewDataSource> dataSource() const { return tableView_->dataSource(); }
    void setDataSource(std::weak_ptr<UITableViewDataSource> dataSource)
    {
        tableView_->setDataSource(std::move(dataSource));
    }
    void reloadData() { tableView_->reloadData(); }
    NSInteger numberOfRowsInSection(NSInteger section) const { return tableView_->numberOfRowsInSection(section); }
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier)
    {
        return tableView_->dequeueReusableCellWithIdentifier(identifier);
    }
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
    {
        return tableView_->cellForRowAtIndexPath(indexPath);
    }
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const { return tableView_->visibleCells(); }
    NSIndexPaths indexPathsForVisibleRows() const { return tableView_->indexPathsForVisibleRows(); }
    std::shared_ptr<NSIndexPath> indexPathForCell(const UITableViewCell* cell) const
    {
        return tableView_->indexPathForCell(cell);
    }
    // In the table's own coordinates.
    std::shared_ptr<NSIndexPath> indexPathForRowAtPoint(CGPoint point) const
    {
        return tableView_->indexPathForRowAtPoint(point);
    }
    CGRect rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
    {
        return tableView_->rectForRowAtIndexPath(indexPath);
    }
    void selectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated,
                              UITableViewScrollPosition position)
    {
        tableView_->selectRowAtIndexPath(indexPath, animated, position);
    }
    void deselectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated)
    {
        tableView_->deselectRowAtIndexPath(indexPath, animated);
    }
    std::shared_ptr<NSIndexPath> indexPathForSelectedRow() const { return tableView_->indexPathForSelectedRow(); }
    NSIndexPaths indexPathsForSelectedRows() const { return tableView_->indexPathsForSelectedRows(); }
    void scrollToRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, UITableViewScrollPosition position,
                                bool animated)
    {
        tableView_->scrollToRowAtIndexPath(indexPath, position, animated);
    }

    CGPoint contentOffset() const { return tableView_->contentOffset(); }
    void setContentOffset(CGPoint offset) { tableView_->setContentOffset(offset); }
    void setContentOffset(CGPoint offset, bool animated) { tableView_->setContentOffset(offset, animated); }
    CGSize contentSize() const { return tableView_->contentSize(); }
    UIEdgeInsets contentInset() const { return tableView_->contentInset(); }
    void setContentInset(UIEdgeInsets insets) { tableView_->setContentInset(insets); }
    bool showsHorizontalScrollIndicator() const { return tableView_->showsHorizontalScrollIndicator(); }
    void setShowsHorizontalScrollIndicator(bool shows) { tableView_->setShowsHorizontalScrollIndicator(shows); }
    bool showsVerticalScrollIndicator() const { return tableView_->showsVerticalScrollIndicator(); }
    void setShowsVerticalScrollIndicator(bool shows) { tableView_->setShowsVerticalScrollIndicator(shows); }
    CGFloat decelerationRate() const { return tableView_->decelerationRate(); }
    void setDecelerationRate(CGFloat rate) { tableView_->setDecelerationRate(rate); }
    bool delaysContentTouches() const { return tableView_->delaysContentTouches(); }
    void setDelaysContentTouches(bool delays) { tableView_->setDelaysContentTouches(delays); }
    bool isPagingEnabled() const { return tableView_->isPagingEnabled(); }
    void setPagingEnabled(bool paging) { tableView_->setPagingEnabled(paging); }
    bool isDragging() const { return tableView_->isDragging(); }
    bool isDecelerating() const { return tableView_->isDecelerating(); }

    const std::shared_ptr<UIView>& tableHeaderView() const { return tableView_->tableHeaderView(); }
    void setTableHeaderView(std::shared_ptr<UIView> view) { tableView_->setTableHeaderView(std::move(view)); }
    const std::shared_ptr<UIView>& tableFooterView() const { return tableView_->tableFooterView(); }
    void setTableFooterView(std::shared_ptr<UIView> view) { tableView_->setTableFooterView(std::move(view)); }
    void beginUpdates() { tableView_->beginUpdates(); }
    void endUpdates() { tableView_->endUpdates(); }
    CGFloat rowHeight() const { return tableView_->rowHeight(); }
    void setRowHeight(CGFloat height) { tableView_->setRowHeight(height); }
    UITableViewCellSeparatorStyle separatorStyle() const { return tableView_->separatorStyle(); }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style) { tableView_->setSeparatorStyle(style); }

protected:
    void prepareView() override;

private:
    std::shared_ptr<QZTableView> tableView_;
};
