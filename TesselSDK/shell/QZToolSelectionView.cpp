#include "TesselSDK/shell/QZToolSelectionView.h"

#include "TesselSDKFoundation/QZFeedbackCell.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/shell/QZToolSelectionViewCell.h"

namespace {

constexpr NSInteger kToolSection = 0;
constexpr CGFloat kToolCellWidth = 74;
constexpr CGFloat kFeedbackCellWidth = 120;

}  // namespace

void QZToolSelectionView::prepareView()
{
    QZView::prepareView();
    auto background = UIView::viewWithFrame<UIImageView>(bounds());
    if (auto image = QZSDKResources::imageNamed("homeBarBackground.png"))
        background->setImage(image->resizableImageWithCapInsets(UIEdgeInsetsZero));
    background->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    background->setContentMode(UIViewContentModeScaleToFill);
    addSubview(background);

    CGRect b = bounds();
    horizontalTableView_ = UIView::viewWithFrame<QZHorizontalTableView>(
        CGRectMake(b.origin.x, b.origin.y + 0.5f, b.size.width, b.size.height - 43));
    horizontalTableView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    auto me = self<QZToolSelectionView>();
    horizontalTableView_->setDelegate(std::static_pointer_cast<UITableViewDelegate>(me));
    horizontalTableView_->setDataSource(std::static_pointer_cast<UITableViewDataSource>(me));
    horizontalTableView_->setShowsHorizontalScrollIndicator(false);
    horizontalTableView_->setShowsVerticalScrollIndicator(false);
    horizontalTableView_->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    // The strip's background shows through both the turned table and its wrapper.
    for (UIView* view :
         std::initializer_list<UIView*>{horizontalTableView_.get(), horizontalTableView_->tableView().get()}) {
        view->setOpaque(false);
        view->setBackgroundColor(nullptr);
    }
    horizontalTableView_->setDecelerationRate(0.45f * UIScrollViewDecelerationRateNormal +
                                              0.55f * UIScrollViewDecelerationRateFast);
    addSubview(horizontalTableView_);
}

void QZToolSelectionView::reloadDataAnimated(bool animated)
{
    setAnimateBadge(animated);
    horizontalTableView_->reloadData();
    // The table hands out cells when it lays out: do it now, while the flag says how.
    horizontalTableView_->tableView()->layoutIfNeeded();
    setAnimateBadge(false);
}

std::optional<NSInteger> QZToolSelectionView::numberOfSectionsInTableView(UITableView*)
{
    return shouldShowFeedback_ ? 2 : 1;
}

NSInteger QZToolSelectionView::tableViewNumberOfRowsInSection(UITableView*, NSInteger section)
{
    if (section != kToolSection) return 1;
    auto delegate = delegate_.lock();
    return delegate ? delegate->numberOfToolsInSelectionView(this) : 0;
}

std::optional<CGFloat> QZToolSelectionView::tableViewHeightForRowAtIndexPath(UITableView*,
                                                                             const std::shared_ptr<NSIndexPath>& path)
{
    return path->section() == kToolSection ? kToolCellWidth : kFeedbackCellWidth;
}

std::shared_ptr<UITableViewCell>
QZToolSelectionView::tableViewCellForRowAtIndexPath(UITableView* tableView, const std::shared_ptr<NSIndexPath>& path)
{
    if (path->section() != kToolSection) {
        auto cell = tableView->dequeueReusableCellWithIdentifier(kQZToolSelectionViewFeedbackCell);
        return cell ? cell : QZFeedbackCell::cellWithReuseIdentifier(kQZToolSelectionViewFeedbackCell);
    }
    auto cell = std::dynamic_pointer_cast<QZToolSelectionViewCell>(
        tableView->dequeueReusableCellWithIdentifier(kQZToolSelectionViewToolCell));
    if (!cell) cell = QZToolSelectionViewCell::cellWithReuseIdentifier(kQZToolSelectionViewToolCell);
    auto delegate = delegate_.lock();
    if (!delegate) return cell;
    NSInteger index = path->row();
    std::string title = delegate->selectionViewTitleForToolAtIndex(this, index);
    cell->setToolName(title);
    cell->setIcon(delegate->selectionViewImageForToolAtIndex(this, index));
    cell->setShouldDisplayBadge(delegate->selectionViewRequiresBadgeForTool(this, title));
    cell->setHighlighedIcon(delegate->selectionViewHighlightedImageForToolAtIndex(this, index));
    if (shouldAnimateBadge_) cell->animateBadge();
    return cell;
}

void QZToolSelectionView::tableViewDidSelectRowAtIndexPath(UITableView* tableView,
                                                           const std::shared_ptr<NSIndexPath>& path)
{
    if (auto delegate = delegate_.lock()) {
        if (path->section() != kToolSection) {
            delegate->selectionViewDidSelectFeedback(this);
        } else {
            auto cell = std::dynamic_pointer_cast<QZToolSelectionViewCell>(tableView->cellForRowAtIndexPath(path));
            delegate->selectionViewDidSelectToolAtIndexWithBadge(this, path->row(), cell && cell->shouldDisplayBadge());
        }
    }
    tableView->deselectRowAtIndexPath(path, true);
}
