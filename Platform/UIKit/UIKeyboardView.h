#pragma once
// The keyboard's panel: grey, with rows of keys drawn in code (letters, then shift, space and
// return). The keys are a picture only: typing reaches the first responder through UIKeyboard.
// It takes every touch that lands on it, so nothing under it is touched through it.

#include "UIKit/UIView.h"

class UIKeyboardView : public UIView {
public:
    using UIView::UIView;
    bool initWithFrame(CGRect frame) override;
    void drawRect(CGRect rect) override;
};
