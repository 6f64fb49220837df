#include "TesselSDKFoundation/QZSlider.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// The width of the fill images' cap next to the centre.
constexpr CGFloat kFillCapWidth = 46;

std::shared_ptr<UIImageView> trackView(const char* image, UIViewContentMode mode)
{
    auto view = UIImageView::imageViewWithImage(QZSDKResources::imageNamed(image));
    view->setContentMode(mode);
    return view;
}

std::shared_ptr<UIImageView> fillView(const char* image, UIEdgeInsets caps)
{
    auto picture = QZSDKResources::imageNamed(image);
    return UIImageView::imageViewWithImage(picture ? picture->resizableImageWithCapInsets(caps) : nullptr);
}

}  // namespace

bool QZSlider::initWithFrame(CGRect frame)
{
    if (!UIControl::initWithFrame(frame)) return false;
    prepareView();
    return true;
}

void QZSlider::prepareView()
{
    setBackgroundColor(UIColor::clearColor());

    centerImageView_ = trackView("sliderCenter.png", UIViewContentModeCenter);
    rightStretchableImageView_ = trackView("sliderStretchableImage.png", UIViewContentModeScaleToFill);
    rightCapImageView_ = trackView("sliderRightCap.png", UIViewContentModeCenter);
    leftStretchableImageView_ = trackView("sliderStretchableImage.png", UIViewContentModeScaleToFill);
    leftCapImageView_ = trackView("sliderLeftCap.png", UIViewContentModeCenter);
    for (const auto& view : {centerImageView_, rightStretchableImageView_, rightCapImageView_,
                             leftStretchableImageView_, leftCapImageView_})
        addSubview(view);

    rightGooImageViewActive_ = fillView("sliderRightCore-active.png", UIEdgeInsetsMake(0, kFillCapWidth, 0, 0));
    rightGooImageView_ = fillView("sliderRightCore.png", UIEdgeInsetsMake(0, kFillCapWidth, 0, 0));
    leftGooImageViewActive_ = fillView("sliderLeftCore-active.png", UIEdgeInsetsMake(0, 0, 0, kFillCapWidth));
    leftGooImageView_ = fillView("sliderLeftCore.png", UIEdgeInsetsMake(0, 0, 0, kFillCapWidth));
    rightGooImageViewActive_->setClipsToBounds(true);
    rightGooImageView_->setClipsToBounds(true);
    leftGooImageViewActive_->setClipsToBounds(true);
    // An unscaled image is wider than a short fill: clipped, it cannot show past the knob.
    leftGooImageView_->setClipsToBounds(true);
    for (const auto& view : {rightGooImageViewActive_, rightGooImageView_, leftGooImageViewActive_, leftGooImageView_})
        addSubview(view);

    handleContainerView_ = UIView::viewWithFrame<QZView>(QZCGRectWithSize(CGSizeMake(55, bounds().size.height)));
    addSubview(handleContainerView_);
    auto knob = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("sliderKnob.png"));
    knob->setFrame(handleContainerView_->bounds());
    knob->setContentMode(UIViewContentModeCenter);
    handleContainerView_->addSubview(knob);

    auto me = self<QZSlider>();
    auto pan = UIGestureRecognizer::recognizerWithTarget<UIPanGestureRecognizer>(me, &QZSlider::panDetected);
    pan->setDelegate(me);
    handleContainerView_->addGestureRecognizer(pan);

    auto press =
        UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(me, &QZSlider::longPressDetected);
    press->setDelegate(me);
    press->setMinimumPressDuration(0);
    press->setAllowableMovement(FLT_MAX);
    handleContainerView_->addGestureRecognizer(press);

    auto reset = UIGestureRecognizer::recognizerWithTarget<UITapGestureRecognizer>(me, &QZSlider::doubleTapDetected);
    reset->setDelegate(me);
    reset->setNumberOfTapsRequired(kQZSliderTapsRequiredForReset);
    centerImageView_->addGestureRecognizer(reset);
    centerImageView_->setUserInteractionEnabled(true);
}

void QZSlider::layoutSubviews()
{
    UIControl::layoutSubviews();
    CGRect b = bounds();
    CGRect track =
        UIEdgeInsetsInsetRect(b, UIEdgeInsetsMake((b.size.height - 56) * 0.5f, 32, (b.size.height - 56) * 0.5f, 32));
    CGFloat w = track.size.width;
    CGRect left, rest, center, right, leftCap, leftBody, rightBody, rightCap;
    CGRectDivide(track, &left, &rest, w * 0.5f - 15, CGRectMinXEdge);
    CGRectDivide(rest, &center, &right, 30, CGRectMinXEdge);
    CGRectDivide(left, &leftCap, &leftBody, 10, CGRectMinXEdge);
    CGRectDivide(right, &rightBody, &rightCap, right.size.width - 10, CGRectMinXEdge);
    centerImageView_->setFrame(center);
    leftCapImageView_->setFrame(leftCap);
    leftStretchableImageView_->setFrame(leftBody);
    rightCapImageView_->setFrame(rightCap);
    rightStretchableImageView_->setFrame(rightBody);
    updateSliderHandleAndGooAnimated(false);
}

void QZSlider::updateSliderHandleAndGooAnimated(bool)
{
    CGRect b = bounds();
    CGRect track = CGRectInset(b, 32, 0);
    CGFloat w = track.size.width;
    CGPoint c = CGPointMake(CGRectGetMidX(track), CGRectGetMidY(track));
    // The fill images are coloured across their whole width, so each fill's frame runs from the
    // centre mark to the knob: nothing shows at 0.
    CGRect base = QZCGRectCenterInRect(CGRectMake(0, 0, 30, 56), b);
    CGRect rightFill = CGRectMake(c.x, base.origin.y, 0, base.size.height);
    CGRect leftFill = rightFill;

    CGFloat p = sliderPosition_;
    CGFloat shift = std::fabs(p) * (w * 0.5f - 7);
    CGFloat knobX;
    if (p > 0) {
        knobX = c.x + shift;
        rightFill.size.width = shift;
    } else {
        knobX = c.x - shift;
        leftFill.origin.x -= shift;
        leftFill.size.width = shift;
    }
    // A fill no wider than the cap shows its image unscaled, anchored next to the centre.
    UIViewContentMode rightMode =
        rightFill.size.width > kFillCapWidth ? UIViewContentModeScaleToFill : UIViewContentModeLeft;
    UIViewContentMode leftMode =
        leftFill.size.width <= kFillCapWidth ? UIViewContentModeRight : UIViewContentModeScaleToFill;
    rightGooImageView_->setContentMode(rightMode);
    rightGooImageViewActive_->setContentMode(rightMode);
    leftGooImageView_->setContentMode(leftMode);
    leftGooImageViewActive_->setContentMode(leftMode);

    handleContainerView_->setCenter(CGPointMake(knobX, c.y));
    rightGooImageView_->setFrame(rightFill);
    rightGooImageViewActive_->setFrame(rightFill);
    leftGooImageView_->setFrame(leftFill);
    leftGooImageViewActive_->setFrame(leftFill);
    rightGooImageView_->setHidden(!(p > 0));
    rightGooImageViewActive_->setHidden(!(p > 0));
    leftGooImageView_->setHidden(p > 0);
    leftGooImageViewActive_->setHidden(p > 0);
}

CGFloat QZSlider::value() const
{
    return minimumValue_ + (maximumValue_ - minimumValue_) * (sliderPosition_ + 1) * 0.5f;
}

void QZSlider::setValue(CGFloat value)
{
    CGFloat range = maximumValue_ - minimumValue_;
    // An empty range has no position for any value (the quotient is not a number); value()
    // already reads minimumValue there.
    if (range != 0) sliderPosition_ = (value - minimumValue_) / range * 2 - 1;
    updateSliderHandleAndGooAnimated(false);
}

void QZSlider::panDetected(UIPanGestureRecognizer* recognizer)
{
    // The pan begins on the first motion past its slop: that motion moves the knob too, so a
    // quick jump right after the press is not lost.
    const UIGestureRecognizerState state = recognizer->state();
    if (state != UIGestureRecognizerStateBegan && state != UIGestureRecognizerStateChanged) return;
    CGPoint touch = recognizer->locationInView(this);
    CGRect band = CGRectInset(bounds(), 36, 0);
    CGFloat position = (touch.x - CGRectGetMidX(band)) / (band.size.width * 0.5f);
    position = std::max(std::min(position, CGFloat(1)), CGFloat(-1));
    sliderPosition_ = position;
    updateSliderHandleAndGooAnimated(false);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void QZSlider::setActiveFillsAlpha(CGFloat alpha)
{
    std::weak_ptr<QZSlider> weak = self<QZSlider>();
    UIView::animateWithDuration(0.25, [weak, alpha] {
        if (auto me = weak.lock()) {
            me->rightGooImageViewActive_->setAlpha(alpha);
            me->leftGooImageViewActive_->setAlpha(alpha);
        }
    });
}

void QZSlider::longPressDetected(UILongPressGestureRecognizer* recognizer)
{
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan: setActiveFillsAlpha(1); break;
    case UIGestureRecognizerStateChanged: break;
    default:
        setActiveFillsAlpha(0);
        sendActionsForControlEvents(UIControlEventTouchUpInside);
        break;
    }
}

void QZSlider::doubleTapDetected(UITapGestureRecognizer* recognizer)
{
    if (recognizer->state() == UIGestureRecognizerStateEnded) setValue(0);
    sendActionsForControlEvents(UIControlEventValueChanged);
}
