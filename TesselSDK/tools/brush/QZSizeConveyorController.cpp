#include "TesselSDK/tools/brush/QZSizeConveyorController.h"

#include "TesselSDK/tools/brush/QZSpotConveyorViewCell.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSString.h"

#include <cmath>
#include <limits>

namespace {

constexpr const char* kSizeCellIdentifier = "QZDrawViewController_SizeCell";

// The size as the integer of its image name; sizes no int can hold give 0 rather than undefined
// behaviour.
int truncatedSize(CGFloat size)
{
    if (!std::isfinite(size) || size <= float(std::numeric_limits<int>::min()) ||
        size >= float(std::numeric_limits<int>::max()))
        return 0;
    return int(size);
}

}  // namespace

std::shared_ptr<QZSizeConveyorController> QZSizeConveyorController::make(const std::shared_ptr<QZConveyorView>& view)
{
    return NSObject::create<QZSizeConveyorController>(
        [&](QZSizeConveyorController& controller) { return controller.initWithConveyorView(view); });
}

std::shared_ptr<QZSizeConveyorController> QZSizeConveyorController::make(const std::shared_ptr<QZConveyorView>& view,
                                                                         std::vector<CGFloat> sizes)
{
    return NSObject::create<QZSizeConveyorController>(
        [&](QZSizeConveyorController& controller) { return controller.initWithConveyorView(view, std::move(sizes)); });
}

bool QZSizeConveyorController::initWithConveyorView(const std::shared_ptr<QZConveyorView>& view)
{
    return initWithConveyorView(view, defaultSizes());
}

bool QZSizeConveyorController::initWithConveyorView(const std::shared_ptr<QZConveyorView>& view,
                                                    std::vector<CGFloat> sizes)
{
    if (!QZConveyorController::initWithConveyorView(view)) return false;
    sizes_ = std::move(sizes);
    showsGlowBox_ = true;
    return true;
}

std::vector<CGFloat> QZSizeConveyorController::defaultSizes()
{
    return {2, 5, 10, 15, 25, 50};
}

std::string QZSizeConveyorController::imageNameForSize(CGFloat size, bool active)
{
    return std::to_string(truncatedSize(size)) + (active ? "-active.png" : ".png");
}

std::string QZSizeConveyorController::nameForSize(CGFloat size)
{
    struct Named {
        int size;
        const char* name;
    };
    static constexpr Named kNames[] = {{2, "Extra Small"}, {5, "Small"},        {10, "Medium"},
                                       {15, "Large"},      {25, "Extra Large"}, {50, "Huge"}};
    const int truncated = truncatedSize(size);
    for (const Named& named : kNames)
        if (named.size == truncated) return QZLocalizedString(named.name);
    return NSStringWithFormat(QZLocalizedString("Size %d"), truncated);
}

CGFloat QZSizeConveyorController::sizeAtIndex(NSInteger index) const
{
    return holdsIndex(index) ? sizes_[std::size_t(index)] : 0;
}

NSInteger QZSizeConveyorController::numberOfItemsInConveyorView(QZConveyorView*)
{
    return NSInteger(sizes_.size());
}

std::shared_ptr<QZConveyorViewCell> QZSizeConveyorController::conveyorViewCellForIndex(QZConveyorView* view,
                                                                                       NSInteger index)
{
    std::shared_ptr<QZSpotConveyorViewCell> cell;
    if (view)
        cell = std::dynamic_pointer_cast<QZSpotConveyorViewCell>(
            view->dequeueReusableCellWithIdentifier(kSizeCellIdentifier));
    if (!cell) cell = QZConveyorViewCell::cellWithReuseIdentifier<QZSpotConveyorViewCell>(kSizeCellIdentifier);
    const CGFloat size = sizeAtIndex(index);
    cell->setBrushImage(QZSDKResources::imageNamed(imageNameForSize(size, false)));
    cell->setActiveBrushImage(QZSDKResources::imageNamed(imageNameForSize(size, true)));
    cell->setAccessibilityLabel(nameForSize(size));
    return cell;
}

void QZSizeConveyorController::conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger index)
{
    if (!holdsIndex(index)) return;
    selectedSize_ = sizes_[std::size_t(index)];
    if (auto delegate = delegate_.lock()) delegate->sizeControllerDidSelectSize(this, selectedSize_);
}

void QZSizeConveyorController::conveyorViewDidScrollToIndex(QZConveyorView*, NSInteger index)
{
    if (!holdsIndex(index)) return;
    if (auto delegate = delegate_.lock()) delegate->sizeControllerDidScrollToSize(this, sizes_[std::size_t(index)]);
}
