#pragma once
// One finger on the screen, from touch-down to lift. The window hit-tests it once, at touch-down;
// it stays with that view (and those of its recognisers) until it ends, wherever it moves.
// Locations are kept in the window's coordinates and converted on asking.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <vector>

class UIGestureRecognizer;
class UIView;
class UIWindow;

enum UITouchPhase : NSInteger {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

class UITouch;
// The touches handed to one call, in the order they went down.
using UITouchSet = std::vector<std::shared_ptr<UITouch>>;

class UITouch : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;

    UITouchPhase phase() const { return phase_; }
    // In `view`'s coordinates; a null view means the window's.
    CGPoint locationInView(const UIView* view) const;
    CGPoint previousLocationInView(const UIView* view) const;
    // 1 for a single tap; counts quick taps at the same place.
    NSUInteger tapCount() const { return tapCount_; }
    // On the one clock (CACurrentMediaTime) of the touch's last change.
    double timestamp() const { return timestamp_; }
    // The view hit at touch-down.
    const std::shared_ptr<UIView>& view() const { return view_; }
    std::shared_ptr<UIWindow> window() const { return window_.lock(); }
    // The recognisers that took the touch at touch-down, deepest view first.
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers() const;

private:
    friend class UITouchDelivery;
    friend class UIGestureRecognizer;

    // What the hit view has been told of the touch.
    enum class ViewState {
        Pending,    // touch-down not yet delivered (held by a recogniser that delays it)
        Delivered,  // began delivered; more may follow
        Done,       // ended or cancelled delivered
        Withheld,   // the view gets nothing (more), and no cancel is due
    };
    struct Taker {
        std::weak_ptr<UIGestureRecognizer> recognizer;
        unsigned long session = 0;  // the recogniser's session when it took the touch
    };

    NSInteger number_ = 0;
    UITouchPhase phase_ = UITouchPhaseBegan;
    CGPoint location_{};          // window coordinates
    CGPoint previousLocation_{};  // window coordinates
    NSUInteger tapCount_ = 1;
    double timestamp_ = 0;
    std::shared_ptr<UIView> view_;
    std::weak_ptr<UIWindow> window_;
    std::vector<Taker> takers_;
    ViewState viewState_ = ViewState::Pending;
    // Set when the touch ended or was cancelled while the view's copy of it was held back.
    UITouchPhase heldEnd_ = UITouchPhaseBegan;
    bool endHeld_ = false;
};
