#include "TesselSDK/packs/QZContentPackSelectionView.h"

#include "TesselSDK/packs/QZContentPackSelectionViewSectionFooterView.h"
#include "TesselSDK/packs/QZContentPackSelectionViewSectionHeaderView.h"

#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"
#include "TesselSDKFoundation/QZSDKResources.h"

namespace {

CGRect backgroundFrame(CGRect bounds, CGFloat trayWidth)
{
    return CGRectMake(trayWidth - kQZSelectionViewBackgroundInset, 0,
                      bounds.size.width + 2 * kQZSelectionViewBackgroundInset, bounds.size.height);
}

std::shared_ptr<UIView> clearView()
{
    auto view = UIView::viewWithFrame();
    view->setBackgroundColor(UIColor::clearColor());
    return view;
}

}  // namespace

void QZContentPackSelectionView::prepareView()
{
    QZView::prepareView();
    auto background = QZSDKResources::stretchableImageNamed(
        "selectionViewBackground.png",
        UIEdgeInsetsMake(0, kQZSelectionViewBackgroundInset, 0, kQZSelectionViewBackgroundInset));
    backgroundView_ = UIView::viewWithFrame<UIImageView>(backgroundFrame(bounds(), 0));
    backgroundView_->setImage(background);
    backgroundView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    addSubview(backgroundView_);
    setHorizontalTableView(addSubviewOfClass<QZHorizontalTableView>(QZUIViewAutoresizingFlexibleDimensions));
    setClipsToBounds(false);
    setBackgroundColor(UIColor::clearColor());
    currentTrayWidth_ = 0;
}

void QZContentPackSelectionView::setHorizontalTableView(std::shared_ptr<QZHorizontalTableView> view)
{
    horizontalTableView_ = std::move(view);
    if (!horizontalTableView_) return;
    horizontalTableView_->setDelegate(
        std::static_pointer_cast<UITableViewDelegate>(self<QZContentPackSelectionView>()));
    horizontalTableView_->setDataSource(
        std::static_pointer_cast<UITableViewDataSource>(self<QZContentPackSelectionView>()));
    horizontalTableView_->setShowsHorizontalScrollIndicator(false);
    horizontalTableView_->setShowsVerticalScrollIndicator(false);
    horizontalTableView_->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    const auto& table = horizontalTableView_->tableView();
    table->setOpaque(false);
    table->setBackgroundColor(nullptr);
    horizontalTableView_->setDecelerationRate((UIScrollViewDecelerationRateFast + UIScrollViewDecelerationRateNormal) /
                                              2);
}

std::shared_ptr<QZTableView> QZContentPackSelectionView::tableView() const
{
    return horizontalTableView_ ? horizontalTableView_->tableView() : nullptr;
}

void QZContentPackSelectionView::reloadData()
{
    if (horizontalTableView_) horizontalTableView_->reloadData();
}

std::shared_ptr<UITableViewCell>
QZContentPackSelectionView::dequeueReusableSelectionViewCellWithIdentifier(const std::string& identifier)
{
    return horizontalTableView_ ? horizontalTableView_->dequeueReusableCellWithIdentifier(identifier) : nullptr;
}

void QZContentPackSelectionView::setCurrentTrayWidth(CGFloat width)
{
    currentTrayWidth_ = width;
    backgroundView_->setFrame(backgroundFrame(bounds(), width));
}

void QZContentPackSelectionView::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    horizontalTableView_->willRotateToInterfaceOrientation(orientation, duration);
}

void QZContentPackSelectionView::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                           double duration)
{
    horizontalTableView_->willAnimateRotationToInterfaceOrientation(orientation, duration);
    horizontalTableView_->setNeedsLayout();
    setNeedsLayout();
}

// ---- Table callbacks ----

std::optional<NSInteger> QZContentPackSelectionView::numberOfSectionsInTableView(UITableView*)
{
    auto delegate = delegate_.lock();
    return delegate ? delegate->numberOfSectionsInSelectionView(this) : 0;
}

NSInteger QZContentPackSelectionView::tableViewNumberOfRowsInSection(UITableView*, NSInteger section)
{
    auto delegate = delegate_.lock();
    return delegate ? delegate->selectionViewNumberOfRowsInSection(this, section) : 0;
}

std::shared_ptr<UITableViewCell>
QZContentPackSelectionView::tableViewCellForRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>& indexPath)
{
    std::shared_ptr<UITableViewCell> cell;
    if (auto delegate = delegate_.lock())
        cell = delegate->selectionViewSelectionViewCellForRowAtIndexPath(this, indexPath);
    // The table needs a cell for every row it was told of: an empty one stands in.
    if (!cell) cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, "");
    return cell;
}

void QZContentPackSelectionView::tableViewDidSelectRowAtIndexPath(UITableView*,
                                                                  const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (auto delegate = delegate_.lock()) delegate->selectionViewDidSelectRowAtIndexPath(this, indexPath);
}

std::optional<CGFloat>
QZContentPackSelectionView::tableViewHeightForRowAtIndexPath(UITableView*,
                                                             const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto delegate = delegate_.lock();
    std::optional<CGFloat> height =
        delegate ? delegate->selectionViewHeightForRowAtIndexPath(this, indexPath) : std::nullopt;
    return height.value_or(kQZSelectionViewCellHeight);
}

bool QZContentPackSelectionView::hasHeaderInSection(NSInteger section)
{
    auto delegate = delegate_.lock();
    return delegate && delegate->selectionViewHasHeaderInSection(this, section);
}

std::optional<CGFloat> QZContentPackSelectionView::tableViewHeightForHeaderInSection(UITableView*, NSInteger section)
{
    return hasHeaderInSection(section) ? kQZSelectionViewHeaderHeight + kQZSelectionViewDividerPadding
                                       : kQZSelectionViewDividerPadding;
}

std::optional<CGFloat> QZContentPackSelectionView::tableViewHeightForFooterInSection(UITableView*, NSInteger)
{
    return kQZSelectionViewDividerPadding;
}

std::shared_ptr<UIView> QZContentPackSelectionView::tableViewViewForHeaderInSection(UITableView*, NSInteger section)
{
    if (!hasHeaderInSection(section)) return clearView();
    auto header = UIView::viewWithFrame<QZContentPackSelectionViewSectionHeaderView>();
    if (auto delegate = delegate_.lock())
        header->label()->setText(delegate->selectionViewHeaderTitleForSection(this, section));
    return header;
}

std::shared_ptr<UIView> QZContentPackSelectionView::tableViewViewForFooterInSection(UITableView* tableView,
                                                                                    NSInteger section)
{
    const std::optional<NSInteger> sections = numberOfSectionsInTableView(tableView);
    // The shade falls on the divider of the next section; the last section has none after it.
    if (section + 1 >= sections.value_or(0) || !hasHeaderInSection(section + 1)) return clearView();
    return UIView::viewWithFrame<QZContentPackSelectionViewSectionFooterView>();
}

void QZContentPackSelectionView::scrollViewDidEndScrollingAnimation(UIScrollView*)
{
    if (auto delegate = delegate_.lock()) delegate->selectionViewDidEndScrollingAnimation(this);
}

void QZContentPackSelectionView::scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool)
{
    if (auto delegate = delegate_.lock()) delegate->selectionViewDidEndScrollingAnimation(this);
}

void QZContentPackSelectionView::scrollViewWillEndDraggingWithVelocityTargetContentOffset(UIScrollView*,
                                                                                          CGPoint velocity,
                                                                                          CGPoint* targetContentOffset)
{
    if (auto delegate = delegate_.lock())
        delegate->selectionViewWillEndDraggingWithVelocityTargetContentOffset(this, velocity, targetContentOffset);
}
