#include "UIKit/UIRunLoop.h"

#include "QuartzCore/CAAnimation.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIWindow.h"

void UIKitRunLoopTurn()
{
    CAAnimationTick();
    for (const auto& window : UIApplication::sharedApplication()->windows()) window->layer()->layoutIfNeeded();
}
