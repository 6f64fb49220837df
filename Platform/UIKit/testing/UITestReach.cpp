#include "UIKit/testing/UITestReach.h"

#include "UIKit/UIControl.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

CGPoint UITestReachablePoint(const UIView& view)
{
    const CGRect visible = UITestDriver::visibleRect(view);
    return CGPointMake(CGRectGetMidX(visible), CGRectGetMidY(visible));
}

bool UITestIsReachable(const UIView& view)
{
    auto window = view.window();
    if (!window || CGRectIsNull(UITestDriver::visibleRect(view))) return false;
    const std::shared_ptr<UIView> hit = window->hitTest(UITestReachablePoint(view), nullptr);
    if (!hit) return false;
    // A touch passes through a view that takes none (a label) to what holds it: the nearest view
    // up from it that takes touches, or a control, must take this one.
    const UIView* taker = &view;
    while (taker->superview() && !taker->isUserInteractionEnabled() && !dynamic_cast<const UIControl*>(taker))
        taker = taker->superview().get();
    return hit->isDescendantOfView(taker);
}
