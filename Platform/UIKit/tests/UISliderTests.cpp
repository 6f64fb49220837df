#include "UIKit/UISlider.h"

#include <gtest/gtest.h>

TEST(UISliderTest, TheValueStaysWithinTheRange)
{
    auto slider = UIView::viewWithFrame<UISlider>(CGRectMake(0, 0, 100, 20));
    EXPECT_TRUE(slider->isKindOfClass<UIControl>());
    slider->setValue(2);
    EXPECT_EQ(slider->value(), 1);
    slider->setMaximumValue(10);
    slider->setValue(7);
    EXPECT_EQ(slider->value(), 7);
    slider->setMaximumValue(5);  // the value follows
    EXPECT_EQ(slider->value(), 5);
    slider->setMinimumValue(8);  // the range moves up with it
    EXPECT_EQ(slider->maximumValue(), 8);
    EXPECT_EQ(slider->value(), 8);
    slider->setValue(-3);
    EXPECT_EQ(slider->value(), 8);
}
