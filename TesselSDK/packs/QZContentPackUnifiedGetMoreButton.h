#pragma once
// A Get More button for a strip's cells: the button's own look with the Get More mark on top.

#include "UIKit/UIButton.h"

class QZContentPackUnifiedGetMoreButton : public UIButton {
public:
    using UIButton::UIButton;

    // The mark fills the bounds less 14 points on every side.
    void drawRect(CGRect rect) override;
};
