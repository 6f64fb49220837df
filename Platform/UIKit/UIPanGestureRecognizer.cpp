#include "UIKit/UIPanGestureRecognizer.h"

#include "QuartzCore/CABase.h"
#include "UIKit/UIGestureConstants.h"
#include "UIKit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace {

// A vector of window coordinates in `view`'s coordinate system.
CGPoint vectorInView(CGPoint vector, const UIView* view)
{
    if (!view) return vector;
    auto window = view->window();
    CGPoint a = view->convertPointFromView(CGPointZero, window.get());
    CGPoint b = view->convertPointFromView(vector, window.get());
    return CGPointMake(b.x - a.x, b.y - a.y);
}

CGPoint vectorToWindow(CGPoint vector, const UIView* view)
{
    if (!view) return vector;
    auto window = view->window();
    CGPoint a = view->convertPointToView(CGPointZero, window.get());
    CGPoint b = view->convertPointToView(vector, window.get());
    return CGPointMake(b.x - a.x, b.y - a.y);
}

}  // namespace

CGPoint UIPanGestureRecognizer::centroid(const UITouchSet& excluding) const
{
    CGPoint sum = CGPointZero;
    int count = 0;
    for (const auto& touch : touches()) {
        if (std::find(excluding.begin(), excluding.end(), touch) != excluding.end()) continue;
        CGPoint p = touch->locationInView(nullptr);
        sum.x += p.x, sum.y += p.y;
        ++count;
    }
    if (count == 0) return current_;
    return CGPointMake(sum.x / CGFloat(count), sum.y / CGFloat(count));
}

// Follows the centroid; when fingers are added or lifted it jumps, and the start moves with it.
void UIPanGestureRecognizer::track(const UITouchSet& excluding)
{
    CGPoint now = centroid(excluding);
    start_.x += now.x - current_.x, start_.y += now.y - current_.y;
    velocity_.shift(now.x - current_.x, now.y - current_.y);
    current_ = now;
}

void UIPanGestureRecognizer::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    if (numberOfTouches() == touches.size()) {
        current_ = start_ = centroid();
        velocity_.clear();
        velocity_.add(CACurrentMediaTime(), current_);
        return;
    }
    track();
}

void UIPanGestureRecognizer::touchesMoved(const UITouchSet&, UIEvent*)
{
    current_ = centroid();
    velocity_.add(CACurrentMediaTime(), current_);
    if (state() == UIGestureRecognizerStatePossible) {
        NSUInteger n = numberOfTouches();
        if (n < minimumTouches_ || n > maximumTouches_) return;
        if (std::hypot(current_.x - start_.x, current_.y - start_.y) > UIPanHysteresis)
            setState(UIGestureRecognizerStateBegan);
    } else {
        setState(UIGestureRecognizerStateChanged);
    }
}

void UIPanGestureRecognizer::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    if (numberOfTouches() > touches.size()) {
        track(touches);
        return;
    }
    velocity_.add(CACurrentMediaTime(), current_);
    setState(state() == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateFailed
                                                         : UIGestureRecognizerStateEnded);
}

void UIPanGestureRecognizer::reset()
{
    velocity_.clear();
}

CGPoint UIPanGestureRecognizer::translationInView(const UIView* view) const
{
    return vectorInView(CGPointMake(current_.x - start_.x, current_.y - start_.y), view);
}

void UIPanGestureRecognizer::setTranslation(CGPoint translation, const UIView* view)
{
    CGPoint t = vectorToWindow(translation, view);
    start_ = CGPointMake(current_.x - t.x, current_.y - t.y);
}

CGPoint UIPanGestureRecognizer::velocityInView(const UIView* view) const
{
    return vectorInView(velocity_.velocityAt(CACurrentMediaTime()), view);
}
