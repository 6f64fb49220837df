#include "TesselSDK/tools/QZStraightenSlider.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kHandleSide = 44;

}  // namespace

void QZStraightenSlider::prepareView()
{
    QZView::prepareView();
    handlePos_ = 0;
    handle_ = UIView::viewWithFrame<QZStraightenHandle>(CGRectMake(0, 0, kHandleSide, kHandleSide));
    auto me = self<QZStraightenSlider>();
    panRecognizer_ =
        UIGestureRecognizer::recognizerWithTarget<UIPanGestureRecognizer>(me, &QZStraightenSlider::panDetected);
    panRecognizer_->setDelegate(std::static_pointer_cast<UIGestureRecognizerDelegate>(me));
    handle_->addGestureRecognizer(panRecognizer_);
    handle_->setCenter(QZCGRectGetCenter(bounds()));
    addSubview(handle_);
    handle_->setExclusiveTouch(true);
}

float QZStraightenSlider::value() const
{
    const float travel = rBound_ - lBound_;
    if (!(travel > 0)) return 0;
    const float x = float(handle_->center().x);
    const float d = 2 * ((x - lBound_) / travel - 0.5f);
    const float pi = float(M_PI);
    return (1 - std::cos(pi * d)) * (d > 0 ? -0.25f : 0.25f);
}

void QZStraightenSlider::setImgWidth(float width)
{
    imgWidth_ = width;
    lBound_ = (float(bounds().size.width) - width) * 0.5f;
    rBound_ = float(bounds().size.width) - lBound_;
}

void QZStraightenSlider::panDetected(UIPanGestureRecognizer* recognizer)
{
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan: initialPoint_ = handle_->center(); break;
    case UIGestureRecognizerStateChanged: moveHandleWithTranslation(recognizer->translationInView(this)); break;
    default:
        initialPoint_ = CGPointMake(0, 0);
        handle_->sendActionsForControlEvents(UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
        break;
    }
}

void QZStraightenSlider::moveHandleWithTranslation(CGPoint translation)
{
    const CGFloat x = std::min(std::max(CGFloat(lBound_), initialPoint_.x + translation.x), CGFloat(rBound_));
    handle_->setCenter(CGPointMake(x, initialPoint_.y));
    if (auto delegate = delegate_.lock()) delegate->straigthenSliderValueDidChange(value());
}

void QZStraightenSlider::resetHandle()
{
    handle_->setCenter(QZCGRectGetCenter(bounds()));
}
