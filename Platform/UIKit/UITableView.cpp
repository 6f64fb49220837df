#include "UIKit/UITableView.h"

#include "Foundation/NSException.h"

#include <algorithm>

namespace {

// Where each old index goes when `deleted` (old indices) go and `inserted` (new indices) come:
// the survivors fill the new indices left free, in order. -1 for those deleted.
std::vector<NSInteger> mapSurvivors(NSInteger oldCount, const std::set<NSInteger>& deleted,
                                    const std::set<NSInteger>& inserted, NSInteger newCount)
{
    std::vector<NSInteger> freeSlots;
    for (NSInteger i = 0; i < newCount; ++i)
        if (!inserted.count(i)) freeSlots.push_back(i);
    std::vector<NSInteger> map(size_t(std::max<NSInteger>(oldCount, 0)), -1);
    size_t next = 0;
    for (NSInteger i = 0; i < oldCount; ++i)
        if (!deleted.count(i) && next < freeSlots.size()) map[size_t(i)] = freeSlots[next++];
    return map;
}

}  // namespace

bool UITableView::initWithFrame(CGRect frame)
{
    if (!UIScrollView::initWithFrame(frame)) return false;
    setAlwaysBounceVertical(true);
    setBackgroundColor(UIColor::whiteColor());
    return true;
}

void UITableView::setDataSource(std::weak_ptr<UITableViewDataSource> dataSource)
{
    dataSource_ = std::move(dataSource);
    needsReload_ = true;
    setNeedsLayout();
}

void UITableView::setDelegate(std::weak_ptr<UITableViewDelegate> delegate)
{
    delegate_ = delegate;
    UIScrollView::setDelegate(delegate);
}

void UITableView::setRowHeight(CGFloat height)
{
    rowHeight_ = height;
    if (!needsReload_) rebuildGeometry();
}

void UITableView::setBackgroundView(std::shared_ptr<UIView> view)
{
    if (backgroundView_ && backgroundView_ != view) backgroundView_->removeFromSuperview();
    backgroundView_ = std::move(view);
    if (backgroundView_) insertSubviewAtIndex(backgroundView_, 0);
    setNeedsLayout();
}

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view)
{
    if (tableHeaderView_ && tableHeaderView_ != view) tableHeaderView_->removeFromSuperview();
    tableHeaderView_ = std::move(view);
    if (tableHeaderView_) addSubview(tableHeaderView_);
    if (!needsReload_) rebuildGeometry();
}

void UITableView::setTableFooterView(std::shared_ptr<UIView> view)
{
    if (tableFooterView_ && tableFooterView_ != view) tableFooterView_->removeFromSuperview();
    tableFooterView_ = std::move(view);
    if (tableFooterView_) addSubview(tableFooterView_);
    if (!needsReload_) rebuildGeometry();
}

// ---- Data ----

NSInteger UITableView::numberOfRowsInSection(NSInteger section) const
{
    return section >= 0 && section < numberOfSections() ? counts_[size_t(section)] : 0;
}

void UITableView::reloadData()
{
    needsReload_ = false;
    recycleAll();
    selected_.clear();
    touchedRow_.reset();
    counts_.clear();
    if (auto source = dataSource_.lock()) {
        NSInteger sections = source->numberOfSectionsInTableView(this).value_or(1);
        for (NSInteger s = 0; s < sections; ++s)
            counts_.push_back(std::max<NSInteger>(0, source->tableViewNumberOfRowsInSection(this, s)));
    }
    rebuildGeometry();
}

void UITableView::rebuildGeometry()
{
    auto delegate = delegate_.lock();
    for (const auto& section : sections_) {
        if (section.headerView) section.headerView->removeFromSuperview();
        if (section.footerView) section.footerView->removeFromSuperview();
    }
    sections_.assign(counts_.size(), Section{});
    CGFloat y = tableHeaderView_ ? tableHeaderView_->frame().size.height : 0;
    for (size_t s = 0; s < counts_.size(); ++s) {
        Section& section = sections_[s];
        NSInteger index = NSInteger(s);
        if (delegate) {
            section.headerHeight = delegate->tableViewHeightForHeaderInSection(this, index).value_or(0);
            section.footerHeight = delegate->tableViewHeightForFooterInSection(this, index).value_or(0);
        }
        section.headerTop = y;
        y += section.headerHeight;
        for (NSInteger r = 0; r < counts_[s]; ++r) {
            section.rowTops.push_back(y);
            CGFloat height = rowHeight_;
            if (delegate)
                height = delegate->tableViewHeightForRowAtIndexPath(this, pathOf({index, r})).value_or(rowHeight_);
            y += std::max(CGFloat(0), height);
        }
        section.rowTops.push_back(y);
        y += section.footerHeight;
        if (delegate && section.headerHeight > 0)
            section.headerView = delegate->tableViewViewForHeaderInSection(this, index);
        if (delegate && section.footerHeight > 0)
            section.footerView = delegate->tableViewViewForFooterInSection(this, index);
        if (section.headerView) addSubview(section.headerView);
        if (section.footerView) addSubview(section.footerView);
    }
    footerTop_ = y;
    if (tableFooterView_) y += tableFooterView_->frame().size.height;
    setContentSize(CGSizeMake(bounds().size.width, y));
    setNeedsLayout();
}

bool UITableView::isRow(Row row) const
{
    return row.first >= 0 && row.first < numberOfSections() && row.second >= 0 &&
           row.second < counts_[size_t(row.first)];
}

CGRect UITableView::rectOf(Row row) const
{
    const auto& tops = sections_[size_t(row.first)].rowTops;
    CGFloat top = tops[size_t(row.second)];
    return CGRectMake(0, top, bounds().size.width, tops[size_t(row.second) + 1] - top);
}

std::optional<UITableView::Row> UITableView::rowAt(CGPoint point) const
{
    if (point.x < 0 || point.x > bounds().size.width) return std::nullopt;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const auto& tops = sections_[s].rowTops;
        if (tops.size() < 2 || point.y < tops.front() || point.y >= tops.back()) continue;
        auto after = std::upper_bound(tops.begin(), tops.end(), point.y);
        return Row{NSInteger(s), NSInteger(after - tops.begin()) - 1};
    }
    return std::nullopt;
}

// ---- Cells ----

void UITableView::recycle(const std::shared_ptr<UITableViewCell>& cell)
{
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().empty()) pools_[cell->reuseIdentifier()].push_back(cell);
}

void UITableView::recycleAll()
{
    for (const auto& [row, cell] : visible_) recycle(cell);
    visible_.clear();
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    auto it = pools_.find(identifier);
    if (it == pools_.end() || it->second.empty()) return nullptr;
    auto cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void UITableView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    if (needsReload_) reloadData();
    CGRect b = bounds();
    CGFloat width = b.size.width;
    if (contentSize().width != width) setContentSize(CGSizeMake(width, contentSize().height));
    if (backgroundView_) {
        backgroundView_->setFrame(b);
        sendSubviewToBack(backgroundView_.get());
    }
    if (tableHeaderView_) tableHeaderView_->setFrame(CGRectMake(0, 0, width, tableHeaderView_->frame().size.height));
    if (tableFooterView_)
        tableFooterView_->setFrame(CGRectMake(0, footerTop_, width, tableFooterView_->frame().size.height));
    for (const auto& section : sections_) {
        if (section.headerView)
            section.headerView->setFrame(CGRectMake(0, section.headerTop, width, section.headerHeight));
        if (section.footerView)
            section.footerView->setFrame(CGRectMake(0, section.rowTops.back(), width, section.footerHeight));
    }

    // The rows that intersect the bounds.
    std::set<Row> wanted;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const auto& tops = sections_[s].rowTops;
        auto first = std::upper_bound(tops.begin(), tops.end(), CGRectGetMinY(b));
        size_t r = first == tops.begin() ? 0 : size_t(first - tops.begin()) - 1;
        for (; r + 1 < tops.size() && tops[r] < CGRectGetMaxY(b); ++r)
            if (tops[r + 1] > CGRectGetMinY(b) && tops[r + 1] > tops[r]) wanted.insert({NSInteger(s), NSInteger(r)});
    }
    // Rows leaving go to their pools before new rows are asked for, so the new can reuse them.
    for (auto it = visible_.begin(); it != visible_.end();) {
        if (wanted.count(it->first)) {
            ++it;
        } else {
            recycle(it->second);
            it = visible_.erase(it);
        }
    }
    auto source = dataSource_.lock();
    for (const Row& row : wanted) {
        if (visible_.count(row) || !source) continue;
        auto cell = source->tableViewCellForRowAtIndexPath(this, pathOf(row));
        if (!cell)
            NSException::raise(NSInternalInconsistencyException,
                               "UITableView dataSource must return a cell from tableView:cellForRowAtIndexPath:");
        cell->setSelected(selected_.count(row) != 0);
        if (backgroundView_)
            insertSubviewAboveSubview(cell, backgroundView_.get());
        else
            insertSubviewAtIndex(cell, 0);
        visible_[row] = cell;
    }
    for (const auto& [row, cell] : visible_) cell->setFrame(rectOf(row));
}

std::shared_ptr<UITableViewCell> UITableView::cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    if (!indexPath) return nullptr;
    auto it = visible_.find({indexPath->section(), indexPath->row()});
    return it == visible_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const
{
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& [row, cell] : visible_) cells.push_back(cell);
    return cells;
}

NSIndexPaths UITableView::indexPathsForVisibleRows() const
{
    NSIndexPaths paths;
    for (const auto& [row, cell] : visible_) paths.push_back(pathOf(row));
    return paths;
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell* cell) const
{
    for (const auto& [row, visible] : visible_)
        if (visible.get() == cell) return pathOf(row);
    return nullptr;
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) const
{
    auto row = rowAt(point);
    return row ? pathOf(*row) : nullptr;
}

CGRect UITableView::rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    if (!indexPath || !isRow({indexPath->section(), indexPath->row()})) return CGRectZero;
    return rectOf({indexPath->section(), indexPath->row()});
}

// ---- Selection ----

void UITableView::selectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated,
                                       UITableViewScrollPosition scrollPosition)
{
    std::optional<Row> row;
    if (indexPath && isRow({indexPath->section(), indexPath->row()})) row = Row{indexPath->section(), indexPath->row()};
    for (const Row& old : std::set<Row>(selected_)) {
        if (row && old == *row) continue;
        selected_.erase(old);
        if (auto cell = cellForRowAtIndexPath(pathOf(old))) cell->setSelected(false, animated);
    }
    if (!row) return;
    selected_.insert(*row);
    if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(true, animated);
    if (scrollPosition != UITableViewScrollPositionNone) scrollToRowAtIndexPath(indexPath, scrollPosition, animated);
}

void UITableView::deselectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated)
{
    if (!indexPath || !selected_.erase({indexPath->section(), indexPath->row()})) return;
    if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(false, animated);
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForSelectedRow() const
{
    return selected_.empty() ? nullptr : pathOf(*selected_.begin());
}

NSIndexPaths UITableView::indexPathsForSelectedRows() const
{
    NSIndexPaths paths;
    for (const Row& row : selected_) paths.push_back(pathOf(row));
    return paths;
}

void UITableView::scrollToRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath,
                                         UITableViewScrollPosition position, bool animated)
{
    if (!indexPath || !isRow({indexPath->section(), indexPath->row()})) return;
    CGRect r = rectOf({indexPath->section(), indexPath->row()});
    CGFloat height = bounds().size.height;
    UIEdgeInsets insets = contentInset();
    CGPoint offset = contentOffset();
    CGFloat top = r.origin.y - insets.top, bottom = CGRectGetMaxY(r) - height + insets.bottom;
    switch (position) {
    case UITableViewScrollPositionTop: offset.y = top; break;
    case UITableViewScrollPositionMiddle: offset.y = CGRectGetMidY(r) - height / 2; break;
    case UITableViewScrollPositionBottom: offset.y = bottom; break;
    default:
        // The least move that shows the whole row.
        if (offset.y > top)
            offset.y = top;
        else if (offset.y < bottom)
            offset.y = bottom;
        break;
    }
    setContentOffset(clampOffset(offset, contentSize()), animated);
}

void UITableView::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    if (touchedRow_) return;
    touchedRow_ = rowAt(touches.front()->locationInView(this));
    if (!touchedRow_) return;
    if (auto cell = cellForRowAtIndexPath(pathOf(*touchedRow_))) cell->setHighlighted(true);
}

void UITableView::touchesMoved(const UITouchSet&, UIEvent*) {}

void UITableView::touchesEnded(const UITouchSet&, UIEvent*)
{
    if (!touchedRow_) return;
    Row row = *touchedRow_;
    touchedRow_.reset();
    auto keep = self<UITableView>();
    if (auto cell = cellForRowAtIndexPath(pathOf(row))) cell->setHighlighted(false);
    if (!isRow(row)) return;
    auto delegate = delegate_.lock();
    for (const Row& old : std::set<Row>(selected_)) {
        if (old == row) continue;
        selected_.erase(old);
        if (auto cell = cellForRowAtIndexPath(pathOf(old))) cell->setSelected(false);
        if (delegate) delegate->tableViewDidDeselectRowAtIndexPath(this, pathOf(old));
    }
    selected_.insert(row);
    if (auto cell = cellForRowAtIndexPath(pathOf(row))) cell->setSelected(true);
    if (delegate) delegate->tableViewDidSelectRowAtIndexPath(this, pathOf(row));
}

void UITableView::touchesCancelled(const UITouchSet&, UIEvent*)
{
    if (!touchedRow_) return;
    if (auto cell = cellForRowAtIndexPath(pathOf(*touchedRow_))) cell->setHighlighted(false);
    touchedRow_.reset();
}

// ---- Updates ----

UITableView::Updates& UITableView::openUpdates()
{
    if (!updates_) updates_ = Updates{};
    return *updates_;
}

void UITableView::beginUpdates()
{
    ++updateDepth_;
    openUpdates();
}

void UITableView::endUpdates()
{
    if (updateDepth_ == 0 || --updateDepth_ > 0) return;
    closeSingleUpdate();
}

void UITableView::closeSingleUpdate()
{
    if (updateDepth_ > 0 || !updates_) return;
    Updates updates = std::move(*updates_);
    updates_.reset();
    applyUpdates(std::move(updates));
}

void UITableView::insertRowsAtIndexPaths(const NSIndexPaths& indexPaths, UITableViewRowAnimation)
{
    auto& u = openUpdates();
    for (const auto& p : indexPaths) u.insertedRows.insert({p->section(), p->row()});
    closeSingleUpdate();
}

void UITableView::deleteRowsAtIndexPaths(const NSIndexPaths& indexPaths, UITableViewRowAnimation)
{
    auto& u = openUpdates();
    for (const auto& p : indexPaths) u.deletedRows.insert({p->section(), p->row()});
    closeSingleUpdate();
}

void UITableView::reloadRowsAtIndexPaths(const NSIndexPaths& indexPaths, UITableViewRowAnimation)
{
    auto& u = openUpdates();
    for (const auto& p : indexPaths) u.reloadedRows.insert({p->section(), p->row()});
    closeSingleUpdate();
}

void UITableView::insertSections(const std::vector<NSInteger>& sections, UITableViewRowAnimation)
{
    openUpdates().insertedSections.insert(sections.begin(), sections.end());
    closeSingleUpdate();
}

void UITableView::deleteSections(const std::vector<NSInteger>& sections, UITableViewRowAnimation)
{
    openUpdates().deletedSections.insert(sections.begin(), sections.end());
    closeSingleUpdate();
}

void UITableView::reloadSections(const std::vector<NSInteger>& sections, UITableViewRowAnimation)
{
    openUpdates().reloadedSections.insert(sections.begin(), sections.end());
    closeSingleUpdate();
}

void UITableView::applyUpdates(Updates u)
{
    if (needsReload_) return reloadData();  // nothing shown yet: the counts are simply asked
    auto source = dataSource_.lock();
    auto invalid = [](const std::string& reason) {
        NSException::raise(NSInternalInconsistencyException, "Invalid update: %@", reason);
    };
    NSInteger oldSections = numberOfSections();
    NSInteger newSections = source ? source->numberOfSectionsInTableView(this).value_or(1) : 0;
    for (NSInteger s : u.deletedSections)
        if (s < 0 || s >= oldSections) invalid(NSStringWithFormat("section %d to delete does not exist", s));
    for (NSInteger s : u.reloadedSections)
        if (s < 0 || s >= oldSections) invalid(NSStringWithFormat("section %d to reload does not exist", s));
    for (NSInteger s : u.insertedSections)
        if (s < 0 || s >= newSections) invalid(NSStringWithFormat("section %d to insert is past the end", s));
    NSInteger inserted = NSInteger(u.insertedSections.size()), deleted = NSInteger(u.deletedSections.size());
    if (oldSections - deleted + inserted != newSections)
        invalid(NSStringWithFormat("invalid number of sections. The number of sections after the update (%d) must be "
                                   "equal to the number before the update (%d), plus or minus the number of sections "
                                   "inserted or deleted (%d inserted, %d deleted).",
                                   newSections, oldSections, inserted, deleted));
    auto sectionMap = mapSurvivors(oldSections, u.deletedSections, u.insertedSections, newSections);
    std::vector<NSInteger> newCounts;
    for (NSInteger s = 0; s < newSections; ++s)
        newCounts.push_back(source ? std::max<NSInteger>(0, source->tableViewNumberOfRowsInSection(this, s)) : 0);

    // Per surviving section, where its old rows go.
    std::map<NSInteger, std::vector<NSInteger>> rowMaps;
    for (NSInteger os = 0; os < oldSections; ++os) {
        NSInteger ns = sectionMap[size_t(os)];
        if (ns < 0 || u.reloadedSections.count(os)) continue;
        std::set<NSInteger> gone, added;
        for (const Row& r : u.deletedRows) {
            if (r.first != os) continue;
            if (r.second < 0 || r.second >= counts_[size_t(os)])
                invalid(NSStringWithFormat("row %d of section %d to delete does not exist", r.second, os));
            gone.insert(r.second);
        }
        for (const Row& r : u.reloadedRows)
            if (r.first == os && (r.second < 0 || r.second >= counts_[size_t(os)]))
                invalid(NSStringWithFormat("row %d of section %d to reload does not exist", r.second, os));
        for (const Row& r : u.insertedRows) {
            if (r.first != ns) continue;
            if (r.second < 0 || r.second >= newCounts[size_t(ns)])
                invalid(NSStringWithFormat("row %d to insert in section %d is past the end", r.second, ns));
            added.insert(r.second);
        }
        NSInteger before = counts_[size_t(os)], after = newCounts[size_t(ns)];
        NSInteger expected = before - NSInteger(gone.size()) + NSInteger(added.size());
        if (after != expected)
            invalid(
                NSStringWithFormat("invalid number of rows in section %d. The number of rows in an existing section "
                                   "after the update (%d) must be equal to the number before the update (%d), plus "
                                   "or minus the number of rows inserted or deleted (%d inserted, %d deleted).",
                                   ns, after, before, NSInteger(added.size()), NSInteger(gone.size())));
        rowMaps[os] = mapSurvivors(before, gone, added, after);
    }
    auto moved = [&](Row r) -> std::optional<Row> {
        auto it = rowMaps.find(r.first);
        if (it == rowMaps.end() || u.reloadedRows.count(r) || size_t(r.second) >= it->second.size())
            return std::nullopt;
        NSInteger row = it->second[size_t(r.second)];
        if (row < 0) return std::nullopt;
        return Row{sectionMap[size_t(r.first)], row};
    };
    std::map<Row, std::shared_ptr<UITableViewCell>> stillVisible;
    for (const auto& [row, cell] : visible_) {
        if (auto to = moved(row))
            stillVisible[*to] = cell;
        else
            recycle(cell);
    }
    std::set<Row> stillSelected;
    for (const Row& row : selected_)
        if (auto to = moved(row)) stillSelected.insert(*to);
    visible_ = std::move(stillVisible);
    selected_ = std::move(stillSelected);
    touchedRow_.reset();
    counts_ = std::move(newCounts);
    rebuildGeometry();
}
