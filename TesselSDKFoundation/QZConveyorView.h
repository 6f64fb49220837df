#pragma once
// The endless-looking strip of cells under a tool screen. When it comes to rest, the cell under
// its centre is selected and snapped there; a tapped cell is selected and slid there. The
// selected cell looks pressed and its left neighbour adjacent. Filler tiles 20 cells long pad both
// ends so that the first and last cells reach the centre. Main thread only.

#include "TesselSDKFoundation/QZConveyorSideView.h"
#include "TesselSDKFoundation/QZConveyorTypes.h"
#include "TesselSDKFoundation/QZConveyorViewCell.h"
#include "TesselSDKFoundation/QZHorizontalTableView.h"

class QZConveyorView;

// Data source and delegate in one.
class QZConveyorViewDelegate {
public:
    virtual ~QZConveyorViewDelegate() = default;
    virtual NSInteger numberOfItemsInConveyorView(QZConveyorView* view) = 0;
    // The view then gives the cell its own type.
    virtual std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView* view, NSInteger index) = 0;
    // At the end of every selection, also of the index already selected.
    virtual void conveyorViewDidSelectItemAtIndex(QZConveyorView* view, NSInteger index) = 0;
    // While scrolling, when the row under the centre changes.
    virtual void conveyorViewDidScrollToIndex(QZConveyorView*, NSInteger) {}
    // After the resting row has been selected.
    virtual void conveyorViewDidStopScrolling(QZConveyorView*) {}
};

class QZConveyorView : public QZView, public UITableViewDataSource, public UITableViewDelegate {
public:
    using QZView::QZView;

    static std::shared_ptr<QZConveyorView> make(CGRect frame, CGFloat cellWidth = 54)
    {
        return NSObject::create<QZConveyorView>(
            [&](QZConveyorView& view) { return view.initWithFrame(frame, cellWidth); });
    }
    bool initWithFrame(CGRect frame, CGFloat cellWidth);
    // With cells 54 points wide.
    bool initWithFrame(CGRect frame) override { return initWithFrame(frame, 54); }

    std::weak_ptr<QZConveyorViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZConveyorViewDelegate> delegate) { delegate_ = std::move(delegate); }
    CGFloat cellWidth() const { return cellWidth_; }
    // Also the row height; new side views (Single images).
    void setCellWidth(CGFloat width);
    QZConveyorViewType type() const { return type_; }
    // Passed to the side views; cells on screen keep theirs until supplied again.
    void setType(QZConveyorViewType type);
    const std::shared_ptr<QZHorizontalTableView>& horizontalTableView() const { return horizontalTableView_; }
    NSInteger scrollIndex() const { return scrollIndex_; }
    NSInteger selectedIndex() const { return selectedIndex_; }

    // A recycled cell, reset; null when none.
    std::shared_ptr<QZConveyorViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // Marks the cells on screen, centres the row and tells the delegate. An index outside the
    // rows does nothing.
    void selectItemAtIndex(NSInteger index, bool animated, QZConveyorRecenterSpeed speed);
    void selectItemAtIndex(NSInteger index, bool animated)
    {
        selectItemAtIndex(index, animated, QZConveyorRecenterSpeedSlow);
    }
    void setDoesDelayContentTouches(bool delays) { horizontalTableView_->setDelaysContentTouches(delays); }
    std::vector<std::shared_ptr<QZConveyorViewCell>> visibleCells() const;

    void layoutSubviews() override;
    // Recentres on the selected row at once.
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;

    // Table data source and delegate.
    NSInteger tableViewNumberOfRowsInSection(UITableView* tableView, NSInteger section) override;
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView* tableView,
                                                                    const std::shared_ptr<NSIndexPath>& path) override;
    void tableViewDidSelectRowAtIndexPath(UITableView* tableView, const std::shared_ptr<NSIndexPath>& path) override;
    void scrollViewDidScroll(UIScrollView* scrollView) override;
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView* scrollView, bool decelerate) override;
    void scrollViewDidEndDecelerating(UIScrollView* scrollView) override;

protected:
    void prepareView() override;

private:
    void prepareSideViews();
    // The row under the strip's centre, or null.
    std::shared_ptr<NSIndexPath> selectedIndexPath() const;
    void centerTableViewOnIndexPath(const std::shared_ptr<NSIndexPath>& path, bool animated,
                                    QZConveyorRecenterSpeed speed);
    void comeToRest();
    std::shared_ptr<QZConveyorViewCell> cellAt(NSInteger row) const;
    std::shared_ptr<QZConveyorSideView> header() const;

    std::weak_ptr<QZConveyorViewDelegate> delegate_;
    CGFloat cellWidth_ = 54;
    QZConveyorViewType type_ = QZConveyorViewTypeSingle;
    std::shared_ptr<QZHorizontalTableView> horizontalTableView_;
    NSInteger scrollIndex_ = NSNotFound;
    NSInteger selectedIndex_ = NSNotFound;
};
