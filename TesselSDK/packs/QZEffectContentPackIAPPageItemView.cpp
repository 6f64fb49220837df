#include "TesselSDK/packs/QZEffectContentPackIAPPageItemView.h"

#include "TesselSDK/packs/QZEffectContentPackIAPPageItemImageLabelView.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackThumnailGenerator.h"

#include "UIKit/UIDevice.h"

bool QZEffectContentPackIAPPageItemView::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!QZContentPackIAPPageItemView::initWithReuseIdentifier(reuseIdentifier)) return false;
    setLabelHeight(UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad ? 18 : 10);
    return true;
}

void QZEffectContentPackIAPPageItemView::setImagesWithContentPackItems(
    const std::vector<std::shared_ptr<QZContentPackItem>>& items,
    const std::shared_ptr<QZEffectContentPackThumnailGenerator>& generator)
{
    std::vector<std::shared_ptr<UIView>>& views = mutableImageViews();
    while (views.size() < items.size())
        views.push_back(UIView::viewWithFrame<QZEffectContentPackIAPPageItemImageLabelView>());
    for (std::size_t i = 0; i < views.size(); ++i) {
        auto view = std::static_pointer_cast<QZEffectContentPackIAPPageItemImageLabelView>(views[i]);
        if (i >= items.size()) {
            view->removeFromSuperview();
            continue;
        }
        if (view->superview().get() != this) addSubview(view);
        auto imageView = UIView::viewWithFrame<UIImageView>();
        imageView->setContentMode(UIViewContentModeScaleAspectFit);
        view->setImageView(imageView, items[i]->valueForKey("displayName").stringValue());
        auto effect = std::dynamic_pointer_cast<QZEffectContentPackItem>(items[i]);
        if (!generator || !effect) continue;
        std::weak_ptr<UIImageView> weakImageView = imageView;
        generator->thumbnailForEffectContentPackItem(*effect, [weakImageView](std::shared_ptr<UIImage> image) {
            auto shown = weakImageView.lock();
            if (shown && image) shown->setImage(image);
        });
    }
    setNeedsLayout();
}
