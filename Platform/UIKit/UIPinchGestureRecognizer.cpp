#include "UIKit/UIPinchGestureRecognizer.h"

#include <cmath>

namespace {

// Two fingers that only turn keep their distance to within rounding; a pinch moves them apart or
// together by more than this before it begins.
constexpr CGFloat kBeginHysteresis = 0.5f;

}  // namespace

CGFloat UIPinchGestureRecognizer::distance() const
{
    CGPoint a = touches()[0]->locationInView(nullptr), b = touches()[1]->locationInView(nullptr);
    return std::hypot(b.x - a.x, b.y - a.y);
}

void UIPinchGestureRecognizer::setScale(CGFloat scale)
{
    scale_ = scale;
    if (startDistance_ > 0 && numberOfTouches() >= 2 && scale > 0) startDistance_ = distance() / scale;
}

void UIPinchGestureRecognizer::touchesBegan(const UITouchSet&, UIEvent*)
{
    if (startDistance_ == 0 && numberOfTouches() >= 2) startDistance_ = std::max(distance(), CGFloat(1));
}

void UIPinchGestureRecognizer::touchesMoved(const UITouchSet&, UIEvent*)
{
    if (startDistance_ == 0 || numberOfTouches() < 2) return;
    const CGFloat now = distance();
    if (state() == UIGestureRecognizerStatePossible && std::fabs(now - startDistance_) <= kBeginHysteresis) return;
    CGFloat scale = now / startDistance_;
    if (scale == scale_) return;
    scale_ = scale;
    setState(state() == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateBegan
                                                         : UIGestureRecognizerStateChanged);
}

void UIPinchGestureRecognizer::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    NSUInteger remaining = numberOfTouches() - touches.size();
    if (state() == UIGestureRecognizerStatePossible) {
        if (remaining == 0) setState(UIGestureRecognizerStateFailed);
        if (remaining < 2) startDistance_ = 0;
        return;
    }
    if (remaining < 2) setState(UIGestureRecognizerStateEnded);
}

void UIPinchGestureRecognizer::reset()
{
    startDistance_ = 0;
    scale_ = 1;
}
