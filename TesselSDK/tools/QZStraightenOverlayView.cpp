#include "TesselSDK/tools/QZStraightenOverlayView.h"

#include "TesselSDKFoundation/QZViewAnimation.h"

#include "CoreGraphics/CGObjectValue.h"
#include "UIKit/UIColor.h"

#include <cmath>

namespace {

constexpr CGFloat kTrackHeight = 44;
constexpr CGFloat kDimmedAlpha = 0.7f;
constexpr double kFadeSeconds = 0.2;
constexpr double kTrackFadeSeconds = 0.25;
// Released this close to the centre, the knob means "no straightening".
constexpr float kSnapBackValue = 0.01f;

std::shared_ptr<UIColor> blackWithAlpha(CGFloat alpha)
{
    return UIColor::colorWithWhite(0, alpha);
}

}  // namespace

void QZStraightenOverlayView::prepareView()
{
    QZOverlayView::prepareView();
    setUserInteractionEnabled(true);

    dimmedLayer_ = CAShapeLayer::layer();
    dimmedLayer_->setFillRule(kCAFillRuleEvenOdd);
    dimmedLayer_->setFillColor(blackWithAlpha(0)->CGColor());
    layer()->addSublayer(dimmedLayer_);

    slider_ = UIView::viewWithFrame<QZStraightenSlider>(CGRectZero);
    addSubview(slider_);
    auto me = self<QZStraightenOverlayView>();
    slider_->setDelegate(std::static_pointer_cast<QZStraightenSliderDelegate>(me));
    slider_->handle()->addTarget(me, &QZStraightenOverlayView::beginEditing, UIControlEventTouchDown);
    slider_->handle()->addTarget(me, &QZStraightenOverlayView::endEditing,
                                 UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
    dimmed_ = false;
    sliderVisible_ = true;
}

void QZStraightenOverlayView::setImageSliderFrame(CGRect frame)
{
    if (straightenHUD_) {
        straightenHUD_->setFrame(frame);
    } else {
        straightenHUD_ = UIView::viewWithFrame<QZStraightenOverlayHUDView>(frame);
        addSubview(straightenHUD_);
        bringSubviewToFront(slider_.get());
    }
    initializeSlider(frame);
    imageFrame_ = frame;

    CGMutablePathRef outside = CGPathCreateMutable();
    CGPathAddRect(outside, nullptr, bounds());
    CGPathAddRect(outside, nullptr, frame);
    dimmedLayer_->setPath(outside);
    CGPathRelease(outside);
    dimmedLayer_->setFrame(bounds());
}

void QZStraightenOverlayView::initializeSlider(CGRect frame)
{
    slider_->setFrame(CGRectMake(0, CGRectGetMaxY(frame) - kTrackHeight / 2, this->frame().size.width, kTrackHeight));
    slider_->resetHandle();
    slider_->setImgWidth(float(frame.size.width));
}

void QZStraightenOverlayView::beginEditing()
{
    editing_ = true;
    setHUDGridVisible(true);
}

void QZStraightenOverlayView::straigthenSliderValueDidChange(float value)
{
    if (!editing_) return;
    if (auto delegate = delegate_.lock()) delegate->straightenWithValue(value);
    if (!dimmed_) {
        dimmed_ = true;
        fadeDimmingTo(kDimmedAlpha);
    }
}

void QZStraightenOverlayView::endEditing()
{
    if (!editing_) return;
    editing_ = false;
    if (std::fabs(slider_->value()) < kSnapBackValue) {
        dimmed_ = false;
        if (auto delegate = delegate_.lock()) delegate->straightenWithValue(0);
        slider_->resetHandle();
        fadeDimmingTo(0);
    }
    setHUDGridVisible(false);
    // Ends a drag still under way (its end comes back here and finds editing over).
    slider_->panRecognizer()->setEnabled(false);
    slider_->panRecognizer()->setEnabled(true);
}

void QZStraightenOverlayView::fadeDimmingTo(CGFloat alpha)
{
    auto fade = CABasicAnimation::animationWithKeyPath("fillColor");
    fade->setToValue(CGObjectValue::valueWithCGColor(blackWithAlpha(alpha)->CGColor()));
    fade->setDuration(kFadeSeconds);
    dimmedLayer_->addAnimation(fade, "fillColor");
    dimmedLayer_->setFillColor(blackWithAlpha(alpha)->CGColor());
}

void QZStraightenOverlayView::setHUDGridVisible(bool visible)
{
    bringSubviewToFront(slider_.get());
    std::weak_ptr<QZStraightenOverlayHUDView> grid = straightenHUD_;
    QZPerformUIViewAnimation(
        kFadeSeconds,
        [grid, visible] {
            if (auto view = grid.lock()) view->setAlpha(visible ? 1 : 0);
        },
        nullptr);
}

void QZStraightenOverlayView::setOverlayVisible(bool visible, bool animated)
{
    dimmedLayer_->removeAnimationForKey("fillColor");
    dimmedLayer_->setFillColor(blackWithAlpha(0)->CGColor());
    dimmed_ = false;
    if (visible) {
        // Below the grid and the track: the knob half outside the picture stays bright.
        if (!dimmedLayer_->superlayer()) layer()->insertSublayerAtIndex(dimmedLayer_, 0);
    } else {
        dimmedLayer_->removeFromSuperlayer();
    }
    std::weak_ptr<QZStraightenSlider> track = slider_;
    auto show = [track, visible] {
        if (auto view = track.lock()) view->setAlpha(visible ? 1 : 0);
    };
    if (animated)
        QZPerformUIViewAnimation(kTrackFadeSeconds, show, nullptr);
    else
        show();
}

void QZStraightenOverlayView::resetHandle()
{
    slider_->resetHandle();
}
