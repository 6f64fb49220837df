#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewCell.h"

#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZView.h"

namespace {
// The thumbnail sits a little higher than the container; the outline lies this far around it.
constexpr CGFloat kPreviewLift = 2;
constexpr CGFloat kOutlineOutset = 5;
const UIEdgeInsets kWrapperCaps = UIEdgeInsetsMake(8, 10, 18, 10);
}  // namespace

bool QZFrameContentPackUnifiedSelectionViewCell::initWithStyle(UITableViewCellStyle style,
                                                               const std::string& reuseIdentifier)
{
    if (!QZContentPackDownloadSelectionViewCell::initWithStyle(style, reuseIdentifier)) return false;
    const std::shared_ptr<QZView>& container = previewContainerView();
    container->setClipsToBounds(false);
    previewContentView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("frame_thumbnail_default.png"));
    previewContentView_->setContentMode(UIViewContentModeScaleAspectFill);
    previewImageView_ = UIView::viewWithFrame<UIImageView>(container->bounds());
    previewImageView_->setContentMode(UIViewContentModeScaleAspectFill);
    outlineImageView_ = UIView::viewWithFrame<UIImageView>(container->bounds());
    outlineImageView_->setImage(QZSDKResources::stretchableImageNamed("effect_wrapper_square.png", kWrapperCaps));
    outlineImageView_->setContentMode(UIViewContentModeScaleToFill);
    container->addSubview(previewContentView_);
    container->addSubview(previewImageView_);
    container->addSubview(outlineImageView_);
    return true;
}

void QZFrameContentPackUnifiedSelectionViewCell::setContentPackItem(std::shared_ptr<QZContentPackItem> item)
{
    QZContentPackDownloadSelectionViewCell::setContentPackItem(std::move(item));
    previewContentView_->setHidden(false);
    const std::shared_ptr<QZContentPackItem>& shown = contentPackItem();
    if (shown && shown->identifier() == "original") setTitle(QZLocalizedString("None"));
    previewImageView_->setImage(shown ? shown->thumbnailImage() : nullptr);
    outlineImageView_->setAlpha(1);
    setNeedsLayout();
}

void QZFrameContentPackUnifiedSelectionViewCell::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    QZContentPackDownloadSelectionViewCell::setContentPack(std::move(pack));
    previewContentView_->setHidden(true);
    previewImageView_->setImage(contentPack() ? contentPack()->packPreviewImage() : nullptr);
    outlineImageView_->setAlpha(0);
}

void QZFrameContentPackUnifiedSelectionViewCell::layoutSubviews()
{
    QZContentPackDownloadSelectionViewCell::layoutSubviews();
    const CGRect bounds = previewContainerView()->bounds();
    const CGRect lifted = CGRectOffset(bounds, 0, -kPreviewLift);
    previewImageView_->setFrame(lifted);
    previewContentView_->setFrame(lifted);
    outlineImageView_->setFrame(CGRectInset(bounds, -kOutlineOutset, -kOutlineOutset));
}
