#pragma once
// Continuous: begins once the centroid of its touches has moved more than 10 points from where it
// went down; every move after changes it; lifting the last finger ends it. The translation runs
// from the touch-down point (fingers added or lifted on the way do not jump it).

#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIVelocityTracker.h"

#include <climits>

class UIPanGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    NSUInteger minimumNumberOfTouches() const { return minimumTouches_; }
    void setMinimumNumberOfTouches(NSUInteger touches) { minimumTouches_ = touches; }
    NSUInteger maximumNumberOfTouches() const { return maximumTouches_; }
    void setMaximumNumberOfTouches(NSUInteger touches) { maximumTouches_ = touches; }

    // In `view`'s coordinate system (null: the window's).
    CGPoint translationInView(const UIView* view) const;
    // Makes translationInView(view) read `translation` now.
    void setTranslation(CGPoint translation, const UIView* view);
    // Points per second, over the last tenth of a second.
    CGPoint velocityInView(const UIView* view) const;

protected:
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void reset() override;

private:
    CGPoint centroid(const UITouchSet& excluding = {}) const;
    void track(const UITouchSet& excluding = {});

    NSUInteger minimumTouches_ = 1;
    NSUInteger maximumTouches_ = UINT_MAX;
    CGPoint start_{};    // window coordinates: where the translation counts from
    CGPoint current_{};  // window coordinates: the centroid now
    UIVelocityTracker velocity_;
};
