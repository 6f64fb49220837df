#include "TesselSDK/tools/brush/QZSpotEditingZoomButton.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

namespace {

constexpr double kFadeSeconds = 0.1;

}  // namespace

bool QZSpotEditingZoomButton::initWithFrame(CGRect frame)
{
    if (!UIControl::initWithFrame(frame)) return false;
    prepareView();
    return true;
}

void QZSpotEditingZoomButton::prepareView()
{
    setVisible(true);
    // No image view yet: nothing lights up; the screen turns zoom mode off when it loads.
    setZoomEnabled(true);
    zoomImageView_ = UIView::viewWithFrame<UIImageView>(bounds());
    zoomImageView_->setContentMode(UIViewContentModeCenter);
    zoomImageView_->setImage(QZSDKResources::imageNamed("zoom.png"));
    zoomImageView_->setHighlightedImage(QZSDKResources::imageNamed("zoom-active.png"));
    addSubview(zoomImageView_);
    setAccessibilityLabel(QZLocalizedString("Zoom"));
}

void QZSpotEditingZoomButton::layoutSubviews()
{
    UIControl::layoutSubviews();
    if (zoomImageView_) zoomImageView_->setCenter(CGPointMake(CGRectGetMidX(bounds()), CGRectGetMidY(bounds())));
}

void QZSpotEditingZoomButton::setZoomEnabled(bool enabled)
{
    zoomEnabled_ = enabled;
    if (zoomImageView_) zoomImageView_->setHighlighted(enabled);
}

void QZSpotEditingZoomButton::setVisible(bool visible, bool animated)
{
    if (visible == visible_) return;
    visible_ = visible;
    std::weak_ptr<QZSpotEditingZoomButton> weak = weakSelf<QZSpotEditingZoomButton>();
    auto fade = [weak, visible] {
        if (auto button = weak.lock()) button->setAlpha(visible ? 1 : 0);
    };
    if (animated)
        QZPerformUIViewAnimation(kFadeSeconds, fade, nullptr);
    else
        fade();
    setUserInteractionEnabled(visible);
}
