#include "UIKit/UIEvent.h"

#include "UIKit/UIView.h"

UITouchSet UIEvent::touchesForView(const UIView* view) const
{
    UITouchSet touches;
    for (const auto& touch : touches_)
        if (touch->view().get() == view) touches.push_back(touch);
    return touches;
}
