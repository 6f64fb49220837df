#pragma once
// Continuous, two fingers: the scale is the distance between them over the distance when the
// second went down. It begins when that distance first changes by more than half a point (less is
// the rounding of two fingers that only turn) and ends when fewer than two fingers remain.

#include "UIKit/UIGestureRecognizer.h"

class UIPinchGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    CGFloat scale() const { return scale_; }
    // Makes the scale read `scale` now; it goes on from there.
    void setScale(CGFloat scale);

protected:
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void reset() override;

private:
    CGFloat distance() const;

    CGFloat startDistance_ = 0;  // 0 until two fingers are down
    CGFloat scale_ = 1;
};
