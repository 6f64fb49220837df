#include "TesselSDKFoundation/QZConveyorView.h"

#include "TesselSDKFoundation/QZViewAnimation.h"

#include <cmath>

namespace {

// Filler tiles on each side, in cells.
constexpr CGFloat kSideCells = 20;

double durationFor(QZConveyorRecenterSpeed speed)
{
    switch (speed) {
    case QZConveyorRecenterSpeedSlow: return 0.4;
    case QZConveyorRecenterSpeedFast: return 0.1;
    default: return 0;
    }
}

}  // namespace

bool QZConveyorView::initWithFrame(CGRect frame, CGFloat cellWidth)
{
    if (!QZView::initWithFrame(frame)) return false;
    setCellWidth(cellWidth);
    selectedIndex_ = NSNotFound;
    return true;
}

void QZConveyorView::prepareView()
{
    QZView::prepareView();
    horizontalTableView_ = UIView::viewWithFrame<QZHorizontalTableView>(bounds());
    auto me = self<QZConveyorView>();
    horizontalTableView_->setDelegate(std::static_pointer_cast<UITableViewDelegate>(me));
    horizontalTableView_->setDataSource(std::static_pointer_cast<UITableViewDataSource>(me));
    horizontalTableView_->setShowsHorizontalScrollIndicator(false);
    horizontalTableView_->setShowsVerticalScrollIndicator(false);
    horizontalTableView_->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    horizontalTableView_->setBckgroundView(nullptr);
    horizontalTableView_->setClipsToBounds(true);
    horizontalTableView_->setRowHeight(54);
    horizontalTableView_->setDecelerationRate(UIScrollViewDecelerationRateFast);
    horizontalTableView_->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    addSubview(horizontalTableView_);
    scrollIndex_ = NSNotFound;
}

void QZConveyorView::setCellWidth(CGFloat width)
{
    cellWidth_ = width;
    horizontalTableView_->setRowHeight(width);
    prepareSideViews();
}

void QZConveyorView::prepareSideViews()
{
    // In the turned table, a side view's height runs along the strip.
    CGRect frame = CGRectMake(0, 0, bounds().size.height, kSideCells * cellWidth_);
    horizontalTableView_->setTableHeaderView(QZConveyorSideView::make(frame, QZConveyorSideViewTypeHeader, cellWidth_));
    horizontalTableView_->setTableFooterView(QZConveyorSideView::make(frame, QZConveyorSideViewTypeFooter, cellWidth_));
}

void QZConveyorView::setType(QZConveyorViewType type)
{
    type_ = type;
    if (auto h = header()) h->setConveyorType(type);
    if (auto f = std::dynamic_pointer_cast<QZConveyorSideView>(horizontalTableView_->tableFooterView()))
        f->setConveyorType(type);
}

std::shared_ptr<QZConveyorSideView> QZConveyorView::header() const
{
    return std::dynamic_pointer_cast<QZConveyorSideView>(horizontalTableView_->tableHeaderView());
}

std::shared_ptr<QZConveyorViewCell> QZConveyorView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    auto cell = std::dynamic_pointer_cast<QZConveyorViewCell>(
        horizontalTableView_->dequeueReusableCellWithIdentifier(identifier));
    if (cell) cell->reset();
    return cell;
}

std::vector<std::shared_ptr<QZConveyorViewCell>> QZConveyorView::visibleCells() const
{
    std::vector<std::shared_ptr<QZConveyorViewCell>> cells;
    for (const auto& cell : horizontalTableView_->visibleCells())
        if (auto c = std::dynamic_pointer_cast<QZConveyorViewCell>(cell)) cells.push_back(c);
    return cells;
}

void QZConveyorView::layoutSubviews()
{
    QZView::layoutSubviews();
    CGFloat middle = CGRectGetMidX(horizontalTableView_->bounds());
    CGFloat inset = std::roundf(middle - 0.5f * cellWidth_) - kSideCells * cellWidth_;
    horizontalTableView_->setContentInset(UIEdgeInsetsMake(inset, 0, inset, 0));
    // Assigned again so that the table lays them out anew.
    horizontalTableView_->setTableHeaderView(horizontalTableView_->tableHeaderView());
    horizontalTableView_->setTableFooterView(horizontalTableView_->tableFooterView());
}

std::shared_ptr<NSIndexPath> QZConveyorView::selectedIndexPath() const
{
    const auto& table = horizontalTableView_->tableView();
    CGRect b = bounds();
    CGPoint centre = table->convertPointFromView(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)), this);
    return table->indexPathForRowAtPoint(centre);
}

void QZConveyorView::centerTableViewOnIndexPath(const std::shared_ptr<NSIndexPath>& path, bool animated,
                                                QZConveyorRecenterSpeed speed)
{
    const auto& table = horizontalTableView_->tableView();
    CGFloat length = table->bounds().size.height;
    CGRect row = table->rectForRowAtIndexPath(path);
    CGPoint offset = CGPointMake(0, CGRectGetMidY(row) - 0.5f * length);
    if (!animated) return table->setContentOffset(offset);
    std::weak_ptr<QZTableView> weak = table;
    QZPerformUIViewAnimation(
        durationFor(speed),
        [weak, offset] {
            if (auto t = weak.lock()) t->setContentOffset(offset);
        },
        nullptr);
}

std::shared_ptr<QZConveyorViewCell> QZConveyorView::cellAt(NSInteger row) const
{
    return std::dynamic_pointer_cast<QZConveyorViewCell>(
        horizontalTableView_->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0)));
}

void QZConveyorView::selectItemAtIndex(NSInteger index, bool animated, QZConveyorRecenterSpeed speed)
{
    // The delegate's count: the table may not have asked it yet.
    if (index < 0 || index >= tableViewNumberOfRowsInSection(nullptr, 0)) return;
    auto path = NSIndexPath::indexPathForRowInSection(index, 0);
    bool alreadySelected = false;
    for (const auto& selected : horizontalTableView_->indexPathsForSelectedRows())
        if (selected->compare(*path) == NSOrderedSame) alreadySelected = true;
    if (!alreadySelected) horizontalTableView_->selectRowAtIndexPath(path, false, UITableViewScrollPositionNone);

    if (index != selectedIndex_) {
        if (auto cell = cellAt(index)) cell->setDepressed(true);
        if (index > 0) {
            if (auto left = cellAt(index - 1)) left->setAdjacent(true);
        } else if (auto h = header()) {
            h->setAdjacentCellSelected(true);
        }
        if (selectedIndex_ != NSNotFound) {
            if (auto old = cellAt(selectedIndex_)) old->setDepressed(false);
            if (selectedIndex_ > 0) {
                if (auto left = cellAt(selectedIndex_ - 1)) left->setAdjacent(false);
            } else if (auto h = header()) {
                h->setAdjacentCellSelected(false);
            }
        }
        selectedIndex_ = index;
    }
    centerTableViewOnIndexPath(path, animated, speed);
    if (auto d = delegate_.lock()) d->conveyorViewDidSelectItemAtIndex(this, index);
}

void QZConveyorView::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZView::willAnimateRotationToInterfaceOrientation(orientation, duration);
    // Nothing selected: nothing to recentre on.
    if (auto path = horizontalTableView_->indexPathForSelectedRow())
        centerTableViewOnIndexPath(path, false, QZConveyorRecenterSpeedSlow);
}

NSInteger QZConveyorView::tableViewNumberOfRowsInSection(UITableView*, NSInteger)
{
    auto d = delegate_.lock();
    return d ? d->numberOfItemsInConveyorView(this) : 0;
}

std::shared_ptr<UITableViewCell>
QZConveyorView::tableViewCellForRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>& path)
{
    std::shared_ptr<QZConveyorViewCell> cell;
    if (auto d = delegate_.lock()) cell = d->conveyorViewCellForIndex(this, path->row());
    // The table needs a cell for every row: a delegate that gives none gets an empty one.
    if (!cell) cell = QZConveyorViewCell::cellWithReuseIdentifier("");
    cell->setType(type_);
    return cell;
}

void QZConveyorView::tableViewDidSelectRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>& path)
{
    selectItemAtIndex(path->row(), true, QZConveyorRecenterSpeedSlow);
}

void QZConveyorView::scrollViewDidScroll(UIScrollView*)
{
    auto path = selectedIndexPath();
    if (!path || path->row() == scrollIndex_) return;
    if (auto d = delegate_.lock()) d->conveyorViewDidScrollToIndex(this, path->row());
    scrollIndex_ = path->row();
}

void QZConveyorView::comeToRest()
{
    if (horizontalTableView_->numberOfRowsInSection(0) > 0) {
        auto path = selectedIndexPath();
        selectItemAtIndex(path ? path->row() : 0, true, QZConveyorRecenterSpeedFast);
    }
    if (auto d = delegate_.lock()) d->conveyorViewDidStopScrolling(this);
}

void QZConveyorView::scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool decelerate)
{
    if (!decelerate) comeToRest();
}

void QZConveyorView::scrollViewDidEndDecelerating(UIScrollView*)
{
    comeToRest();
}
