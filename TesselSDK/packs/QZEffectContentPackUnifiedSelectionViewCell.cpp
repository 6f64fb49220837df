#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewCell.h"

#include "TesselSDK/remote/QZContentPack.h"

#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZView.h"
#include "TesselSDKImaging/QZDeviceInfo.h"

#include "UIKit/UIDevice.h"

namespace {
// The outline lies this far outside the preview on every side.
constexpr CGFloat kOutlineOutset = 5;
constexpr CGFloat kRoundCorner = 6;
const UIEdgeInsets kWrapperCaps = UIEdgeInsetsMake(8, 10, 18, 10);

// Round previews where the GPU is fast enough for the masking, and never on a tablet.
bool usesRoundWrapper()
{
    return QZDeviceInfo::detecteDeviceGPUSpeed() == QopGLDeviceGPUSpeedFast &&
           UIDevice::currentDevice()->userInterfaceIdiom() != UIUserInterfaceIdiomPad;
}
}  // namespace

bool QZEffectContentPackUnifiedSelectionViewCell::initWithStyle(UITableViewCellStyle style,
                                                                const std::string& reuseIdentifier)
{
    if (!QZContentPackUnifiedSelectionViewCell::initWithStyle(style, reuseIdentifier)) return false;
    const std::shared_ptr<QZView>& container = previewContainerView();
    container->setClipsToBounds(false);
    const bool round = usesRoundWrapper();

    previewImageView_ = UIView::viewWithFrame<QZImageView>(container->bounds());
    previewImageView_->setContentMode(UIViewContentModeScaleAspectFill);
    if (round) {
        previewImageView_->layer()->setCornerRadius(kRoundCorner);
        previewImageView_->layer()->setMasksToBounds(true);
    }
    outlineImageView_ = UIView::viewWithFrame<UIImageView>(container->bounds());
    outlineImageView_->setImage(QZSDKResources::stretchableImageNamed(
        round ? "effect_wrapper_round.png" : "effect_wrapper_square.png", kWrapperCaps));
    outlineImageView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    outlineImageView_->setContentMode(UIViewContentModeScaleToFill);
    activityIndicator_ = UIActivityIndicatorView::indicatorWithStyle(UIActivityIndicatorViewStyleWhite);

    container->addSubview(previewImageView_);
    container->addSubview(outlineImageView_);
    container->addSubview(activityIndicator_);
    return true;
}

void QZEffectContentPackUnifiedSelectionViewCell::setImageViewContext(std::shared_ptr<QZImageViewContext> context)
{
    // A nil image also lets go of the old context: what it delivers later is not shown.
    previewImageView_->setImage(nullptr);
    activityIndicator_->stopAnimating();
    previewImageView_->setContext(std::move(context));
}

void QZEffectContentPackUnifiedSelectionViewCell::setContentPackItem(std::shared_ptr<QZContentPackItem> item)
{
    QZContentPackUnifiedSelectionViewCell::setContentPackItem(std::move(item));
    activityIndicator_->startAnimating();
    outlineImageView_->setHidden(false);
}

void QZEffectContentPackUnifiedSelectionViewCell::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    QZContentPackUnifiedSelectionViewCell::setContentPack(std::move(pack));
    outlineImageView_->setHidden(true);
    activityIndicator_->stopAnimating();
    // Through nil first: an item's thumbnail still on its way must not land on the pack.
    previewImageView_->setImage(nullptr);
    previewImageView_->setImage(contentPack() ? contentPack()->packPreviewImage() : nullptr);
}

void QZEffectContentPackUnifiedSelectionViewCell::finishedLoadingPreviewWithContext(
    const std::shared_ptr<QZImageViewContext>& context)
{
    if (!contentPackItem() || !context || context != previewImageView_->context()) return;
    outlineImageView_->setHidden(false);
    activityIndicator_->stopAnimating();
}

void QZEffectContentPackUnifiedSelectionViewCell::layoutSubviews()
{
    QZContentPackUnifiedSelectionViewCell::layoutSubviews();
    const CGRect bounds = previewContainerView()->bounds();
    outlineImageView_->setFrame(CGRectInset(bounds, -kOutlineOutset, -kOutlineOutset));
    previewImageView_->setFrame(bounds);
    activityIndicator_->sizeToFit();
    activityIndicator_->setCenter(CGPointMake(CGRectGetMidX(bounds), CGRectGetMidY(bounds)));
}
