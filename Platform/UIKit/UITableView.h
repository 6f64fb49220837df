#pragma once
// A plain table: a scroll view laying out, top to bottom, the table header view, then per section
// its header view, its rows and its footer view, then the table footer view; the content size is
// their sum. Only the rows that intersect the bounds have cells (asked of the data source at
// layout); a row that leaves goes to its identifier's reuse pool, from which
// dequeueReusableCellWithIdentifier takes after prepareForReuse.
//
// A tap on a row highlights its cell (after the content delay) and selects the row on lift when
// no drag began (deselecting the previous row first), telling the delegate; programmatic
// selection tells it nothing. Updates whose row or section counts do not add up throw
// NSInternalInconsistencyException, as on the platform; their animation is not shown.

#include "Foundation/NSIndexPath.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITableViewCell.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class UITableView;

enum UITableViewStyle : NSInteger {
    UITableViewStylePlain = 0,
};

enum UITableViewCellSeparatorStyle : NSInteger {
    UITableViewCellSeparatorStyleNone = 0,
    UITableViewCellSeparatorStyleSingleLine = 1,
};

enum UITableViewScrollPosition : NSInteger {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

enum UITableViewRowAnimation : NSInteger {
    UITableViewRowAnimationFade = 0,
    UITableViewRowAnimationRight = 1,
    UITableViewRowAnimationLeft = 2,
    UITableViewRowAnimationTop = 3,
    UITableViewRowAnimationBottom = 4,
    UITableViewRowAnimationNone = 5,
    UITableViewRowAnimationMiddle = 6,
    UITableViewRowAnimationAutomatic = 100,
};

using NSIndexPaths = std::vector<std::shared_ptr<NSIndexPath>>;

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual NSInteger tableViewNumberOfRowsInSection(UITableView* tableView, NSInteger section) = 0;
    // Must answer a cell.
    virtual std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView* tableView, const std::shared_ptr<NSIndexPath>& indexPath) = 0;
    // Not implemented: one section.
    virtual std::optional<NSInteger> numberOfSectionsInTableView(UITableView*) { return std::nullopt; }
};

// Also the table's scroll view delegate. Heights not implemented: rowHeight for rows, 0 for
// section headers and footers.
class UITableViewDelegate : public UIScrollViewDelegate {
public:
    virtual std::optional<CGFloat> tableViewHeightForRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>&)
    {
        return std::nullopt;
    }
    virtual std::optional<CGFloat> tableViewHeightForHeaderInSection(UITableView*, NSInteger) { return std::nullopt; }
    virtual std::optional<CGFloat> tableViewHeightForFooterInSection(UITableView*, NSInteger) { return std::nullopt; }
    virtual std::shared_ptr<UIView> tableViewViewForHeaderInSection(UITableView*, NSInteger) { return nullptr; }
    virtual std::shared_ptr<UIView> tableViewViewForFooterInSection(UITableView*, NSInteger) { return nullptr; }
    virtual void tableViewDidSelectRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>&) {}
    virtual void tableViewDidDeselectRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>&) {}
};

class UITableView : public UIScrollView {
public:
    using UIScrollView::UIScrollView;
    bool initWithFrame(CGRect frame) override;

    UITableViewStyle style() const { return UITableViewStylePlain; }
    std::weak_ptr<UITableViewDataSource> dataSource() const { return dataSource_; }
    // The table asks it again at the next layout.
    void setDataSource(std::weak_ptr<UITableViewDataSource> dataSource);
    std::weak_ptr<UITableViewDelegate> delegate() const { return delegate_; }
    // Also the scroll view's delegate.
    void setDelegate(std::weak_ptr<UITableViewDelegate> delegate);

    CGFloat rowHeight() const { return rowHeight_; }
    void setRowHeight(CGFloat height);
    // Stored only: no separators are drawn.
    UITableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style) { separatorStyle_ = style; }
    // Stored only, like the style: 15 points on the left until set.
    UIEdgeInsets separatorInset() const { return separatorInset_; }
    void setSeparatorInset(UIEdgeInsets insets) { separatorInset_ = insets; }
    // Behind everything, the size of the bounds; it does not scroll.
    const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);
    // As wide as the table, as high as their frames.
    const std::shared_ptr<UIView>& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIView>& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(std::shared_ptr<UIView> view);

    // Asks the data source and delegate again; cells go back to their pools, the selection is
    // cleared, new cells come at the next layout.
    void reloadData();
    NSInteger numberOfSections() const { return NSInteger(sections_.size()); }
    NSInteger numberOfRowsInSection(NSInteger section) const;

    // Updates between beginUpdates and endUpdates are checked and applied together at the end;
    // outside, each is its own update. Deletions and reloads name rows and sections as they
    // were, insertions as they will be.
    void beginUpdates();
    void endUpdates();
    void insertRowsAtIndexPaths(const NSIndexPaths& indexPaths, UITableViewRowAnimation animation);
    void deleteRowsAtIndexPaths(const NSIndexPaths& indexPaths, UITableViewRowAnimation animation);
    void reloadRowsAtIndexPaths(const NSIndexPaths& indexPaths, UITableViewRowAnimation animation);
    void insertSections(const std::vector<NSInteger>& sections, UITableViewRowAnimation animation);
    void deleteSections(const std::vector<NSInteger>& sections, UITableViewRowAnimation animation);
    void reloadSections(const std::vector<NSInteger>& sections, UITableViewRowAnimation animation);

    // A cell from the identifier's pool, prepared for reuse; null when the pool is empty.
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // Visible rows only: null for others.
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const;
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;
    NSIndexPaths indexPathsForVisibleRows() const;
    std::shared_ptr<NSIndexPath> indexPathForCell(const UITableViewCell* cell) const;
    // In the table's own coordinates; null where no row is.
    std::shared_ptr<NSIndexPath> indexPathForRowAtPoint(CGPoint point) const;
    CGRect rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const;

    void selectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated,
                              UITableViewScrollPosition scrollPosition);
    void deselectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);
    std::shared_ptr<NSIndexPath> indexPathForSelectedRow() const;
    NSIndexPaths indexPathsForSelectedRows() const;
    // Within the content range.
    void scrollToRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, UITableViewScrollPosition position,
                                bool animated);

    void layoutSubviews() override;
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;

private:
    using Row = std::pair<NSInteger, NSInteger>;  // section, row
    struct Section {
        CGFloat headerTop = 0, headerHeight = 0;
        std::vector<CGFloat> rowTops;  // one more than the rows: the last is where the rows end
        CGFloat footerHeight = 0;
        std::shared_ptr<UIView> headerView, footerView;
    };
    struct Updates {
        std::set<Row> insertedRows, deletedRows, reloadedRows;
        std::set<NSInteger> insertedSections, deletedSections, reloadedSections;
    };

    static std::shared_ptr<NSIndexPath> pathOf(Row row)
    {
        return NSIndexPath::indexPathForRowInSection(row.second, row.first);
    }
    bool isRow(Row row) const;
    CGRect rectOf(Row row) const;
    std::optional<Row> rowAt(CGPoint point) const;
    void rebuildGeometry();
    void recycle(const std::shared_ptr<UITableViewCell>& cell);
    void recycleAll();
    void applyUpdates(Updates updates);
    Updates& openUpdates();
    void closeSingleUpdate();

    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> delegate_;
    CGFloat rowHeight_ = 44;
    UITableViewCellSeparatorStyle separatorStyle_ = UITableViewCellSeparatorStyleSingleLine;
    UIEdgeInsets separatorInset_{0, 15, 0, 0};
    std::shared_ptr<UIView> backgroundView_;
    std::shared_ptr<UIView> tableHeaderView_;
    std::shared_ptr<UIView> tableFooterView_;
    std::vector<NSInteger> counts_;  // rows per section, as last asked
    std::vector<Section> sections_;
    CGFloat footerTop_ = 0;
    bool needsReload_ = true;
    std::map<Row, std::shared_ptr<UITableViewCell>> visible_;
    std::map<std::string, std::vector<std::shared_ptr<UITableViewCell>>> pools_;
    std::set<Row> selected_;
    int updateDepth_ = 0;
    std::optional<Updates> updates_;
    std::optional<Row> touchedRow_;
};
