#include "UIKit/UISlider.h"

#include <algorithm>

void UISlider::setValue(float value)
{
    value_ = std::min(std::max(value, minimumValue_), maximumValue_);
}

void UISlider::setMinimumValue(float value)
{
    minimumValue_ = value;
    maximumValue_ = std::max(maximumValue_, value);
    setValue(value_);
}

void UISlider::setMaximumValue(float value)
{
    maximumValue_ = value;
    minimumValue_ = std::min(minimumValue_, value);
    setValue(value_);
}
