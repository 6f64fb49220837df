#include "TesselSDK/tools/brush/QZSpotEditingHUD.h"

#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

namespace {

constexpr double kSpotResizeSeconds = 0.1;

}  // namespace

void QZSpotEditingHUD::prepareView()
{
    QZHUDView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    glassView_ = addSubviewOfClass<UIImageView>(QZUIViewAutoresizingFlexibleDimensions);
    glassView_->setImage(QZSDKResources::stretchableImageNamed("glass_box.png", UIEdgeInsetsMake(14, 14, 14, 16)));
    spotView_ = addSubviewOfClass<QZSpotView>(QZUIViewAutoresizingFlexibleMargins, CGRectZero);
    spotSize_ = 10;
    setSpotSize(spotSize_, false);
}

void QZSpotEditingHUD::setSpotSize(CGFloat size, bool animated)
{
    spotSize_ = size;
    const CGFloat side = size + 2;
    const CGRect frame = QZCGRectCenterInRect(CGRectMake(0, 0, side, side), bounds());
    std::weak_ptr<QZSpotView> spot = spotView_;
    auto place = [spot, frame] {
        if (auto view = spot.lock()) view->setFrame(frame);
    };
    if (animated)
        QZPerformUIViewAnimation(kSpotResizeSeconds, place, nullptr);
    else
        place();
}

void QZSpotEditingHUD::setSpotColor(std::shared_ptr<UIColor> color)
{
    spotView_->setSpotColor(std::move(color));
}
