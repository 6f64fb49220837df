#include "TesselSDKFoundation/QZViewAnimation.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "UIKit/UIView.h"

void QZPerformUIViewAnimation(double duration, const std::function<void()>& animations,
                              std::function<void(bool finished)> completion)
{
    if (!completion) completion = [](bool) {};
    UIView::animateWithDuration(duration, 0, QZUIViewAnimateDefaultOptions, animations, std::move(completion));
}
