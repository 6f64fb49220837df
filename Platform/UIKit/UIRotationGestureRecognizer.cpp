#include "UIKit/UIRotationGestureRecognizer.h"

#include <cmath>
#include <numbers>

double UIRotationGestureRecognizer::angle() const
{
    CGPoint a = touches()[0]->locationInView(nullptr), b = touches()[1]->locationInView(nullptr);
    return std::atan2(double(b.y) - a.y, double(b.x) - a.x);
}

void UIRotationGestureRecognizer::touchesBegan(const UITouchSet&, UIEvent*)
{
    if (!tracking_ && numberOfTouches() >= 2) {
        tracking_ = true;
        lastAngle_ = angle();
    }
}

void UIRotationGestureRecognizer::touchesMoved(const UITouchSet&, UIEvent*)
{
    if (!tracking_ || numberOfTouches() < 2) return;
    double now = angle();
    // The step from the last angle, the short way round, so that whole turns add up.
    double step = std::remainder(now - lastAngle_, 2 * std::numbers::pi);
    lastAngle_ = now;
    if (step == 0) return;
    rotation_ += CGFloat(step);
    setState(state() == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateBegan
                                                         : UIGestureRecognizerStateChanged);
}

void UIRotationGestureRecognizer::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    NSUInteger remaining = numberOfTouches() - touches.size();
    if (state() == UIGestureRecognizerStatePossible) {
        if (remaining == 0) setState(UIGestureRecognizerStateFailed);
        if (remaining < 2) tracking_ = false;
        return;
    }
    if (remaining < 2) setState(UIGestureRecognizerStateEnded);
}

void UIRotationGestureRecognizer::reset()
{
    tracking_ = false;
    rotation_ = 0;
}
