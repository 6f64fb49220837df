#pragma once
// Discrete: recognises when the required number of taps, each with the required number of
// fingers, has been made. A finger moving more than 10 points fails it, and so does a tap that
// does not start within 0.35 s of the previous one's start.

#include "UIKit/UIGestureRecognizer.h"

#include <map>

class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    NSUInteger numberOfTapsRequired() const { return tapsRequired_; }
    void setNumberOfTapsRequired(NSUInteger taps) { tapsRequired_ = taps; }
    NSUInteger numberOfTouchesRequired() const { return touchesRequired_; }
    void setNumberOfTouchesRequired(NSUInteger touches) { touchesRequired_ = touches; }

protected:
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void reset() override;

private:
    NSUInteger tapsRequired_ = 1;
    NSUInteger touchesRequired_ = 1;
    NSUInteger tapsDone_ = 0;
    NSUInteger fingersThisTap_ = 0;
    NSUInteger fingersDown_ = 0;
    double tapStart_ = 0;
    std::map<const UITouch*, CGPoint> starts_;  // window coordinates
};
