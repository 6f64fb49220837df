#include "TesselSDK/packs/QZContentPackDetailSelectionViewController.h"

#include "TesselSDK/packs/QZContentPackListSelectionViewController.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"

bool QZContentPackDetailSelectionViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                                    std::shared_ptr<QZContentPack> pack,
                                                                    bool selectionView)
{
    if (!initWithGLInstance(glInstance, selectionView)) return false;
    contentPack_ = std::move(pack);
    if (contentPack_) {
        setTitle(contentPack_->localizedDisplayName());
        setAnalyticsKey(contentPack_->valueForKey("codeName").stringValue());
    }
    return true;
}

std::shared_ptr<QZToolViewController> QZContentPackDetailSelectionViewController::delegateTool() const
{
    return std::dynamic_pointer_cast<QZToolViewController>(delegate());
}

// ---- The shared canvas ----

std::shared_ptr<QZView> QZContentPackDetailSelectionViewController::staticOverlayView() const
{
    auto tool = delegateTool();
    return tool ? tool->staticOverlayView() : QZContentPackSelectionViewController::staticOverlayView();
}

std::shared_ptr<QZView> QZContentPackDetailSelectionViewController::scrollableOverlayView() const
{
    auto tool = delegateTool();
    return tool ? tool->scrollableOverlayView() : QZContentPackSelectionViewController::scrollableOverlayView();
}

std::shared_ptr<QZScrollingImageView> QZContentPackDetailSelectionViewController::scrollableImageView() const
{
    auto tool = delegateTool();
    return tool ? tool->scrollableImageView() : QZContentPackSelectionViewController::scrollableImageView();
}

void QZContentPackDetailSelectionViewController::setRenderStartDate()
{
    if (auto tool = delegateTool())
        tool->setRenderStartDate();
    else
        QZContentPackSelectionViewController::setRenderStartDate();
}

void QZContentPackDetailSelectionViewController::setRenderEndDate()
{
    if (auto tool = delegateTool())
        tool->setRenderEndDate();
    else
        QZContentPackSelectionViewController::setRenderEndDate();
}

// ---- View lifecycle ----

void QZContentPackDetailSelectionViewController::viewDidLoad()
{
    QZContentPackSelectionViewController::viewDidLoad();
    const std::shared_ptr<UIBarButtonItem>& back = customNavigationItem()->leftBarButtonItem();
    auto button = back ? std::dynamic_pointer_cast<QZNavigationItemButton>(back->customView()) : nullptr;
    auto list = listViewController();
    if (button && list) button->setTitle(list->title());
    loadContentPackItemSelectionView();
}

void QZContentPackDetailSelectionViewController::viewWillDisappear(bool animated)
{
    QZViewController::viewWillDisappear(animated);
}

void QZContentPackDetailSelectionViewController::backButtonPressed()
{
    setScrollableImageView({});
    if (auto list = delegate()) list->toolControllerFinishedWithStatus(this, QZToolViewControllerStatusCancelled);
}

void QZContentPackDetailSelectionViewController::applyButtonPressed()
{
    if (auto list = delegate()) list->toolControllerFinishedWithStatus(this, QZToolViewControllerStatusApplied);
}

// The page's own view holds nothing but its strip: the turn goes to the strip.
void QZContentPackDetailSelectionViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                                  double duration)
{
    QZContentPackSelectionViewController::willRotateToInterfaceOrientation(orientation, duration);
    if (selectionView()) selectionView()->willRotateToInterfaceOrientation(orientation, duration);
}

void QZContentPackDetailSelectionViewController::willAnimateRotationToInterfaceOrientation(
    UIInterfaceOrientation orientation, double duration)
{
    QZContentPackSelectionViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (selectionView()) selectionView()->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZContentPackDetailSelectionViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZContentPackSelectionViewController::didRotateFromInterfaceOrientation(orientation);
    if (selectionView()) selectionView()->didRotateFromInterfaceOrientation(orientation);
}

// ---- The strip ----

std::shared_ptr<QZContentPackItem>
QZContentPackDetailSelectionViewController::itemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    if (!contentPack_ || !indexPath || indexPath->row() < 0) return nullptr;
    const auto items = contentPack_->orderedItems();
    const auto row = std::size_t(indexPath->row());
    return row < items.size() ? items[row] : nullptr;
}

NSInteger QZContentPackDetailSelectionViewController::selectionViewNumberOfRowsInSection(QZContentPackSelectionView*,
                                                                                         NSInteger)
{
    return contentPack_ ? NSInteger(contentPack_->orderedItems().size()) : 0;
}

std::shared_ptr<UITableViewCell>
QZContentPackDetailSelectionViewController::selectionViewSelectionViewCellForRowAtIndexPath(
    QZContentPackSelectionView*, const std::shared_ptr<NSIndexPath>& indexPath)
{
    return selectionViewCellForContentPackItem(itemAtIndexPath(indexPath));
}

void QZContentPackDetailSelectionViewController::selectionViewDidSelectRowAtIndexPath(
    QZContentPackSelectionView*, const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (auto item = itemAtIndexPath(indexPath)) selectionViewDidSelectContentPackItem(item);
}

std::shared_ptr<UITableViewCell> QZContentPackDetailSelectionViewController::selectionViewCellForContentPackItem(
    const std::shared_ptr<QZContentPackItem>&)
{
    return nullptr;
}

void QZContentPackDetailSelectionViewController::selectionViewDidSelectContentPackItem(
    const std::shared_ptr<QZContentPackItem>&)
{
}
