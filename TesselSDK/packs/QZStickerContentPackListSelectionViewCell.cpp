#include "TesselSDK/packs/QZStickerContentPackListSelectionViewCell.h"

#include "TesselSDK/remote/QZContentPack.h"

namespace {
constexpr CGFloat kRise = 2;
}  // namespace

bool QZStickerContentPackListSelectionViewCell::initWithStyle(UITableViewCellStyle style,
                                                              const std::string& reuseIdentifier)
{
    if (!QZContentPackDownloadSelectionViewCell::initWithStyle(style, reuseIdentifier)) return false;
    packView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    packView_->setContentMode(UIViewContentModeScaleAspectFit);
    previewContainerView()->addSubview(packView_);
    return true;
}

void QZStickerContentPackListSelectionViewCell::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    packView_->setImage(pack ? pack->packPreviewImage() : nullptr);
    QZContentPackDownloadSelectionViewCell::setContentPack(std::move(pack));
}

void QZStickerContentPackListSelectionViewCell::setContentPackItem(std::shared_ptr<QZContentPackItem> item)
{
    packView_->setImage(nullptr);
    QZContentPackDownloadSelectionViewCell::setContentPackItem(std::move(item));
}

void QZStickerContentPackListSelectionViewCell::layoutSubviews()
{
    QZContentPackDownloadSelectionViewCell::layoutSubviews();
    for (const std::shared_ptr<UIView>& moved :
         {std::static_pointer_cast<UIView>(previewContainerView()), std::static_pointer_cast<UIView>(label())}) {
        const CGPoint centre = moved->center();
        moved->setCenter(CGPointMake(centre.x, centre.y - kRise));
    }
    packView_->setFrame(previewContainerView()->bounds());
}
