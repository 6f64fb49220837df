#pragma once
// The straighten knob: a 44 x 44 control showing the knob image centred in it. The slider moves
// it; the straighten overlay listens to its touch-down and touch-up events to begin and end
// editing.

#include "UIKit/UIControl.h"
#include "UIKit/UIImageView.h"

class QZStraightenHandle : public UIControl {
public:
    using UIControl::UIControl;

    // The platform's initialiser, then prepareView.
    bool initWithFrame(CGRect frame) override;
    void layoutSubviews() override;

    const std::shared_ptr<UIImageView>& knobView() const { return knobView_; }
    // Stored; nothing reads it.
    CGPoint offset() const { return offset_; }
    void setOffset(CGPoint offset) { offset_ = offset; }

protected:
    virtual void prepareView();

private:
    std::shared_ptr<UIImageView> knobView_;
    CGPoint offset_{0, 0};
};
