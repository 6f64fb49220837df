#pragma once
// The platform's slider control, as far as the editor uses it: a value kept within its range.
// It draws nothing of its own and tracks no touches yet; scroll views recognise it by its class
// and leave its drags alone.

#include "UIKit/UIControl.h"

class UISlider : public UIControl {
public:
    using UIControl::UIControl;

    float value() const { return value_; }
    // Clamped to the range.
    void setValue(float value);
    float minimumValue() const { return minimumValue_; }
    // The value follows into the new range.
    void setMinimumValue(float value);
    float maximumValue() const { return maximumValue_; }
    void setMaximumValue(float value);

private:
    float value_ = 0;
    float minimumValue_ = 0;
    float maximumValue_ = 1;
};
