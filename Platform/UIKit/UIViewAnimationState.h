#pragma once
// The open animation blocks of UIView::animateWithDuration (main thread). A view's property
// setter hands its layer change here: inside a block it becomes a layer animation under the
// property's key, from what is shown now; outside, it applies at once and ends any animation
// running under that key (whose completion then reports not finished). A view whose layer runs
// an animation of a block without UIViewAnimationOptionAllowUserInteraction (delay included) is
// not hit by touches meanwhile.

#include "Foundation/Value.h"
#include "QuartzCore/CALayer.h"
#include "UIKit/UIView.h"

#include <functional>

class UIViewAnimationState {
public:
    static void change(CALayer& layer, const char* key, const Value& to, const std::function<void()>& apply);
    static void run(double duration, double delay, UIViewAnimationOptions options,
                    const std::function<void()>& animations, std::function<void(bool)> completion);
    static void withoutAnimation(const std::function<void()>& changes);
    static bool isAnimatingWithoutInteraction(const CALayer& layer);
};
