#pragma once
// The toolkit's own side of touch delivery (not for screens): hit testing at touch-down, the
// recognisers first (deepest view first), then the views, with what recognisers hold back or
// cancel. Main thread only.

#include "UIKit/UIEvent.h"
#include "UIKit/UITouch.h"
#include "UIKit/UITouchInput.h"

#include <map>
#include <memory>
#include <vector>

class UIGestureRecognizer;
class UIWindow;

class UITouchDelivery {
public:
    static UITouchDelivery& shared();

    // One input event of `window`, at the clock's time now.
    void deliver(UIWindow& window, const std::vector<UITouchInputPoint>& points);
    // The views holding these touches get touchesCancelled; views that have not had them yet
    // never will.
    void cancelViewTouches(const UITouchSet& touches);
    // The touch's hit view never gets it (it has not yet).
    void withholdFromView(UITouch& touch);
    bool isTouchDown(NSInteger number) const { return active_.count(number) != 0; }
    // Whether the touch's hit view has had its touch-down and not yet its end.
    static bool viewHolds(const UITouch& touch) { return touch.viewState_ == UITouch::ViewState::Delivered; }

    // Recogniser changes happen inside a batch; when the outermost batch closes, what recognisers
    // no longer hold back reaches the views and finished recognisers reset.
    class Batch {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
    };

private:
    UITouchDelivery() = default;
    std::shared_ptr<UITouch> touchDown(UIWindow& window, const UITouchInputPoint& point, double now);
    void deliverToRecognizers(UITouchPhase phase, const UITouchSet& touches);
    void deliverToViews(UITouchPhase phase, const UITouchSet& touches);
    void sendToViews(UITouchPhase phase, const UITouchSet& touches);
    bool beganHeld(const UITouch& touch) const;
    bool endHeld(const UITouch& touch) const;
    void settle();

    std::map<NSInteger, std::shared_ptr<UITouch>> active_;
    UITouchSet held_;  // touches whose view is waiting for a recogniser's decision
    std::shared_ptr<UIEvent> event_;
    int depth_ = 0;
    // The last touch-down, for tap counts.
    double lastDownTime_ = -1e9;
    CGPoint lastDownLocation_{};
    NSUInteger lastTapCount_ = 0;
};
