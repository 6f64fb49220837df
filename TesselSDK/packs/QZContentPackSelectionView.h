#pragma once
// The strip at the bottom of every pack tool: a horizontal table (one section per pack, the pack's
// name on a divider before it) over a themed background that can leave a tray uncovered at its
// start, where the pack shelf behind it shows through. The table's callbacks become calls on the
// strip's own delegate, which the pack tools answer. Main thread only.

#include "TesselSDKFoundation/QZHorizontalTableView.h"
#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIImageView.h"

#include <memory>
#include <optional>
#include <string>

// Lengths along and across the strip, in points.
inline constexpr float kQZSelectionViewBackgroundInset = 4;
inline constexpr float kQZSelectionViewCellHeight = 72;
inline constexpr float kQZSelectionViewDividerPadding = 10;
inline constexpr float kQZSelectionViewDividierHeight = 20;
inline constexpr float kQZSelectionViewHeaderFontSize = 12;
inline constexpr float kQZSelectionViewHeaderHeight = 26;
inline constexpr float kQZSelectionViewHeaderPadding = 3;

class QZContentPackSelectionView;

// Every call names the strip (or the shelf, for Get More) first. The optional calls have defaults.
class QZContentPackSelectionViewDelegate {
public:
    virtual ~QZContentPackSelectionViewDelegate() = default;
    virtual NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView* view) = 0;
    virtual NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView* view, NSInteger section) = 0;
    virtual std::shared_ptr<UITableViewCell>
    selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView* view,
                                                    const std::shared_ptr<NSIndexPath>& indexPath) = 0;
    virtual void selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView* view,
                                                      const std::shared_ptr<NSIndexPath>& indexPath) = 0;
    virtual bool selectionViewHasHeaderInSection(QZContentPackSelectionView* view, NSInteger section) = 0;
    virtual std::string selectionViewHeaderTitleForSection(QZContentPackSelectionView* view, NSInteger section) = 0;
    virtual NSInteger numberOfRowsInFeaturedTrayInSelectionView(QZContentPackSelectionView* view) = 0;

    // nullopt (not implemented): every cell is kQZSelectionViewCellHeight long.
    virtual std::optional<CGFloat> selectionViewHeightForRowAtIndexPath(QZContentPackSelectionView*,
                                                                        const std::shared_ptr<NSIndexPath>&)
    {
        return std::nullopt;
    }
    // `sender` is the strip or the shelf; side 1 is the left end, anything else the right.
    virtual void selectionViewDidPressGetMoreSide(UIView* /*sender*/, NSInteger /*side*/) {}
    virtual void selectionViewDidEndScrollingAnimation(QZContentPackSelectionView*) {}
    virtual void selectionViewWillEndDraggingWithVelocityTargetContentOffset(QZContentPackSelectionView*,
                                                                             CGPoint /*velocity*/,
                                                                             CGPoint* /*targetContentOffset*/)
    {
    }
};

class QZContentPackSelectionView : public QZView, public UITableViewDataSource, public UITableViewDelegate {
public:
    using QZView::QZView;

    std::weak_ptr<QZContentPackSelectionViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZContentPackSelectionViewDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::shared_ptr<QZHorizontalTableView>& horizontalTableView() const { return horizontalTableView_; }
    // Makes the strip the table's delegate and data source and styles the table for it.
    void setHorizontalTableView(std::shared_ptr<QZHorizontalTableView> view);
    const std::shared_ptr<UIImageView>& backgroundView() const { return backgroundView_; }

    // The turned table: its offset, content size and frame measure along the strip.
    std::shared_ptr<QZTableView> tableView() const;
    void reloadData();
    std::shared_ptr<UITableViewCell> dequeueReusableSelectionViewCellWithIdentifier(const std::string& identifier);

    CGFloat currentTrayWidth() const { return currentTrayWidth_; }
    // Moves the background so that the first `width` points of the strip show what lies behind.
    void setCurrentTrayWidth(CGFloat width);

    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;

    // ---- The table's data source and delegate ----
    std::optional<NSInteger> numberOfSectionsInTableView(UITableView* tableView) override;
    NSInteger tableViewNumberOfRowsInSection(UITableView* tableView, NSInteger section) override;
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView* tableView, const std::shared_ptr<NSIndexPath>& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(UITableView* tableView,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;
    std::optional<CGFloat> tableViewHeightForRowAtIndexPath(UITableView* tableView,
                                                            const std::shared_ptr<NSIndexPath>& indexPath) override;
    std::optional<CGFloat> tableViewHeightForHeaderInSection(UITableView* tableView, NSInteger section) override;
    std::optional<CGFloat> tableViewHeightForFooterInSection(UITableView* tableView, NSInteger section) override;
    std::shared_ptr<UIView> tableViewViewForHeaderInSection(UITableView* tableView, NSInteger section) override;
    std::shared_ptr<UIView> tableViewViewForFooterInSection(UITableView* tableView, NSInteger section) override;
    void scrollViewDidEndScrollingAnimation(UIScrollView* scrollView) override;
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView* scrollView, bool decelerate) override;
    void scrollViewWillEndDraggingWithVelocityTargetContentOffset(UIScrollView* scrollView, CGPoint velocity,
                                                                  CGPoint* targetContentOffset) override;

protected:
    void prepareView() override;

private:
    bool hasHeaderInSection(NSInteger section);

    std::weak_ptr<QZContentPackSelectionViewDelegate> delegate_;
    std::shared_ptr<QZHorizontalTableView> horizontalTableView_;
    std::shared_ptr<UIImageView> backgroundView_;
    CGFloat currentTrayWidth_ = 0;
};
