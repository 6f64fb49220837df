#pragma once
// The home screen's tool strip: a horizontal table of tool cells, 74 points each, and, when
// shouldShowFeedback is on, a second section with the one feedback cell, 120 points. Titles,
// icons and badges come from the delegate by index; taps go back to it by index.

#include "Foundation/Value.h"
#include "TesselSDKFoundation/QZHorizontalTableView.h"
#include "TesselSDKFoundation/QZView.h"

#include <memory>
#include <string>

class QZToolSelectionView;

// All required.
class QZToolSelectionViewDelegate {
public:
    virtual ~QZToolSelectionViewDelegate() = default;
    virtual NSInteger numberOfToolsInSelectionView(QZToolSelectionView* view) = 0;
    // Localised.
    virtual std::string selectionViewTitleForToolAtIndex(QZToolSelectionView* view, NSInteger index) = 0;
    virtual std::shared_ptr<UIImage> selectionViewImageForToolAtIndex(QZToolSelectionView* view, NSInteger index) = 0;
    virtual std::shared_ptr<UIImage> selectionViewHighlightedImageForToolAtIndex(QZToolSelectionView* view,
                                                                                 NSInteger index) = 0;
    // Asked with the title the cell shows, not its index.
    virtual bool selectionViewRequiresBadgeForTool(QZToolSelectionView* view, const std::string& title) = 0;
    // With the tapped cell's badge state at that moment.
    virtual void selectionViewDidSelectToolAtIndexWithBadge(QZToolSelectionView* view, NSInteger index, bool badge) = 0;
    virtual void selectionViewDidSelectFeedback(QZToolSelectionView* view) = 0;
};

inline constexpr const char* kQZToolSelectionViewToolCell = "kQZToolSelectionViewToolCell";
inline constexpr const char* kQZToolSelectionViewFeedbackCell = "kQZToolSelectionViewFeedbackCell";

class QZToolSelectionView : public QZView, public UITableViewDataSource, public UITableViewDelegate {
public:
    using QZView::QZView;

    std::weak_ptr<QZToolSelectionViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZToolSelectionViewDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::shared_ptr<QZHorizontalTableView>& horizontalTableView() const { return horizontalTableView_; }
    // Kept for the owner; the strip asks its delegate.
    const Value::Array& tools() const { return tools_; }
    void setTools(Value::Array tools) { tools_ = std::move(tools); }
    bool shouldShowFeedback() const { return shouldShowFeedback_; }
    void setShouldShowFeedback(bool show) { shouldShowFeedback_ = show; }
    // On only inside reloadDataAnimated(true): cells handed out then fade their badges in.
    bool shouldAnimateBadge() const { return shouldAnimateBadge_; }
    void setAnimateBadge(bool animate) { shouldAnimateBadge_ = animate; }

    // Reloads the table now (asking the delegate again), the badges fading in when animated.
    void reloadDataAnimated(bool animated);

    // Table data source and delegate.
    std::optional<NSInteger> numberOfSectionsInTableView(UITableView* tableView) override;
    NSInteger tableViewNumberOfRowsInSection(UITableView* tableView, NSInteger section) override;
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView* tableView,
                                                                    const std::shared_ptr<NSIndexPath>& path) override;
    std::optional<CGFloat> tableViewHeightForRowAtIndexPath(UITableView* tableView,
                                                            const std::shared_ptr<NSIndexPath>& path) override;
    void tableViewDidSelectRowAtIndexPath(UITableView* tableView, const std::shared_ptr<NSIndexPath>& path) override;

protected:
    void prepareView() override;

private:
    std::weak_ptr<QZToolSelectionViewDelegate> delegate_;
    std::shared_ptr<QZHorizontalTableView> horizontalTableView_;
    Value::Array tools_;
    bool shouldShowFeedback_ = false;
    bool shouldAnimateBadge_ = false;
};
