#pragma once
// A touch event: the touches on the screen at one instant (those that changed and those that did
// not), handed to recognisers and views with the touches that changed.

#include "Foundation/NSObject.h"
#include "UIKit/UITouch.h"

class UIView;

enum UIEventType : NSInteger {
    UIEventTypeTouches = 0,
};

class UIEvent : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;

    UIEventType type() const { return UIEventTypeTouches; }
    double timestamp() const { return timestamp_; }
    const UITouchSet& allTouches() const { return touches_; }
    // The touches hit-tested to `view` (not to its subviews).
    UITouchSet touchesForView(const UIView* view) const;

private:
    friend class UITouchDelivery;
    double timestamp_ = 0;
    UITouchSet touches_;
};
