#include "TesselSDK/packs/QZFrameContentPackIAPPageItemView.h"

#include "TesselSDKFoundation/QZSDKResources.h"

void QZFrameContentPackIAPPageItemView::setImageViewsWithImages(const std::vector<std::shared_ptr<UIImage>>& images)
{
    std::vector<std::shared_ptr<UIImage>> placeholders(images.size(),
                                                       QZSDKResources::imageNamed("frame_thumbnail_default.png"));
    QZContentPackIAPPageItemView::setImageViewsWithImages(placeholders);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::shared_ptr<UIView>& placeholder = imageViews()[i];
        std::shared_ptr<UIImageView>& thumbnail = thumbnailViews_[placeholder.get()];
        if (!thumbnail) {
            thumbnail = UIView::viewWithFrame<UIImageView>(placeholder->bounds());
            thumbnail->setContentMode(UIViewContentModeScaleAspectFit);
            thumbnail->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
            placeholder->addSubview(thumbnail);
        }
        thumbnail->setImage(images[i]);
    }
}

std::shared_ptr<UIImageView> QZFrameContentPackIAPPageItemView::thumbnailViewAtIndex(std::size_t index) const
{
    if (index >= imageViews().size()) return nullptr;
    auto found = thumbnailViews_.find(imageViews()[index].get());
    return found == thumbnailViews_.end() ? nullptr : found->second;
}
