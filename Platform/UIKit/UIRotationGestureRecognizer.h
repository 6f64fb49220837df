#pragma once
// Continuous, two fingers: the rotation (radians, clockwise on the screen positive) of the line
// between them since the second went down, counted through whole turns. It begins when that
// angle first changes and ends when fewer than two fingers remain.

#include "UIKit/UIGestureRecognizer.h"

class UIRotationGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    CGFloat rotation() const { return rotation_; }
    // Makes the rotation read `rotation` now; it goes on from there.
    void setRotation(CGFloat rotation) { rotation_ = rotation; }

protected:
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void reset() override;

private:
    double angle() const;

    bool tracking_ = false;
    double lastAngle_ = 0;
    CGFloat rotation_ = 0;
};
