#include "UIKit/UITouch.h"

#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIWindow.h"

namespace {

CGPoint fromWindow(CGPoint point, const UIView* view, const std::shared_ptr<UIWindow>& window)
{
    if (!view || view == window.get()) return point;
    return view->convertPointFromView(point, window.get());
}

}  // namespace

CGPoint UITouch::locationInView(const UIView* view) const
{
    return fromWindow(location_, view, window());
}

CGPoint UITouch::previousLocationInView(const UIView* view) const
{
    return fromWindow(previousLocation_, view, window());
}

std::vector<std::shared_ptr<UIGestureRecognizer>> UITouch::gestureRecognizers() const
{
    std::vector<std::shared_ptr<UIGestureRecognizer>> recognizers;
    for (const auto& taker : takers_)
        if (auto r = taker.recognizer.lock()) recognizers.push_back(r);
    return recognizers;
}
