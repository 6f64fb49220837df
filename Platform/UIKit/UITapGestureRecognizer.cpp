#include "UIKit/UITapGestureRecognizer.h"

#include "QuartzCore/CABase.h"
#include "UIKit/UIGestureConstants.h"

#include <cmath>

void UITapGestureRecognizer::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    if (fingersDown_ == 0) {
        cancelDelayedPerforms();  // the next tap came in time
        tapStart_ = CACurrentMediaTime();
    }
    for (const auto& touch : touches) starts_[touch.get()] = touch->locationInView(nullptr);
    fingersDown_ += touches.size();
    fingersThisTap_ += touches.size();
    if (fingersThisTap_ > touchesRequired_) setState(UIGestureRecognizerStateFailed);
}

void UITapGestureRecognizer::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    for (const auto& touch : touches) {
        CGPoint start = starts_[touch.get()], now = touch->locationInView(nullptr);
        if (std::hypot(now.x - start.x, now.y - start.y) > UITapAllowableMovement) {
            setState(UIGestureRecognizerStateFailed);
            return;
        }
    }
}

void UITapGestureRecognizer::touchesEnded(const UITouchSet& touches, UIEvent* event)
{
    touchesMoved(touches, event);
    if (state() != UIGestureRecognizerStatePossible) return;
    fingersDown_ -= std::min<NSUInteger>(fingersDown_, touches.size());
    if (fingersDown_ > 0) return;
    if (fingersThisTap_ != touchesRequired_) return setState(UIGestureRecognizerStateFailed);
    fingersThisTap_ = 0;
    starts_.clear();
    if (++tapsDone_ >= tapsRequired_) return setState(UIGestureRecognizerStateRecognized);
    double wait = tapStart_ + UIMultiTapInterval - CACurrentMediaTime();
    performAfterDelay(wait, [this] { setState(UIGestureRecognizerStateFailed); });
}

void UITapGestureRecognizer::reset()
{
    tapsDone_ = fingersThisTap_ = fingersDown_ = 0;
    starts_.clear();
}
