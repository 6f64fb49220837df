#pragma once
// Continuous: begins once the required fingers have been down for minimumPressDuration (at once
// when it is 0) without moving more than allowableMovement; then every move changes it, and
// lifting ends it.

#include "UIKit/UIGestureConstants.h"
#include "UIKit/UIGestureRecognizer.h"

#include <map>

class UILongPressGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
    CGFloat allowableMovement() const { return allowableMovement_; }
    void setAllowableMovement(CGFloat points) { allowableMovement_ = points; }
    NSUInteger numberOfTouchesRequired() const { return touchesRequired_; }
    void setNumberOfTouchesRequired(NSUInteger touches) { touchesRequired_ = touches; }

protected:
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void reset() override { starts_.clear(); }

private:
    double minimumPressDuration_ = 0.5;
    CGFloat allowableMovement_ = UITapAllowableMovement;
    NSUInteger touchesRequired_ = 1;
    std::map<const UITouch*, CGPoint> starts_;  // window coordinates
};
