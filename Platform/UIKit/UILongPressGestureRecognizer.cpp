#include "UIKit/UILongPressGestureRecognizer.h"

#include <cmath>

void UILongPressGestureRecognizer::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    for (const auto& touch : touches) starts_[touch.get()] = touch->locationInView(nullptr);
    if (state() != UIGestureRecognizerStatePossible) return;
    NSUInteger down = numberOfTouches();
    if (down > touchesRequired_) return setState(UIGestureRecognizerStateFailed);
    if (down < touchesRequired_) return;
    if (minimumPressDuration_ <= 0) return setState(UIGestureRecognizerStateBegan);
    performAfterDelay(minimumPressDuration_, [this] {
        if (state() == UIGestureRecognizerStatePossible) setState(UIGestureRecognizerStateBegan);
    });
}

void UILongPressGestureRecognizer::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    if (state() != UIGestureRecognizerStatePossible) return setState(UIGestureRecognizerStateChanged);
    for (const auto& touch : touches) {
        CGPoint start = starts_[touch.get()], now = touch->locationInView(nullptr);
        if (std::hypot(now.x - start.x, now.y - start.y) > allowableMovement_)
            return setState(UIGestureRecognizerStateFailed);
    }
}

void UILongPressGestureRecognizer::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    for (const auto& touch : touches) starts_.erase(touch.get());
    if (state() == UIGestureRecognizerStatePossible) return setState(UIGestureRecognizerStateFailed);
    if (numberOfTouches() - touches.size() < touchesRequired_) setState(UIGestureRecognizerStateEnded);
}
