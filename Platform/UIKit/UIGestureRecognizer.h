#pragma once
// Gesture recognisers: they watch the touches of the view they are added to (and its subviews)
// before the views do, and move through their states, telling their targets on the way:
//   possible -> began -> changed... -> ended      (continuous gestures)
//   possible -> recognised (= ended)             (discrete gestures)
//   possible -> failed;  began/changed -> cancelled
//
// Arbitration, for the touches of one hit view: the recognisers of that view and its ancestors,
// deepest first, see each touch before the view. When one begins (or recognises), every other one
// holding any of its touches that has not begun fails, unless a delegate of either allows both;
// one that requires another's failure waits for it (and fails if that one succeeds), hearing no
// touches meanwhile, and when that failure comes within a delivery it hears that delivery's touches
// after the others (so a lift that lets it begin also ends it); a delegate's
// should-begin NO makes it fail. One that begins with cancelsTouchesInView sends
// touchesCancelled to the views holding its touches; with delaysTouchesBegan, a view's
// touch-down waits until this recogniser has failed; with delaysTouchesEnded, a view's
// touch-ended waits the same way. A recogniser that has finished ignores touches until all of its
// touches have lifted, then resets to possible.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"
#include "UIKit/UITargetAction.h"
#include "UIKit/UITouch.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class UIEvent;
class UIGestureRecognizer;
class UIView;

enum UIGestureRecognizerState : NSInteger {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

// All optional; std::nullopt means "not implemented" (the defaults: should begin YES,
// simultaneous NO, should receive the touch YES).
class UIGestureRecognizerDelegate {
public:
    virtual ~UIGestureRecognizerDelegate() = default;
    virtual std::optional<bool> gestureRecognizerShouldBegin(UIGestureRecognizer*) { return std::nullopt; }
    virtual std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*, UIGestureRecognizer*)
    {
        return std::nullopt;
    }
    virtual std::optional<bool> gestureRecognizerShouldReceiveTouch(UIGestureRecognizer*, UITouch*)
    {
        return std::nullopt;
    }
};

class UIGestureRecognizer : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;
    ~UIGestureRecognizer() override;

    // A recogniser of class R with one target-action pair (the platform's initWithTarget:action:).
    template <class R, class T, class C, class... Args>
    static std::shared_ptr<R> recognizerWithTarget(const std::shared_ptr<T>& target, void (C::*action)(Args...))
    {
        auto recognizer = NSObject::create<R>();
        recognizer->addTarget(target, action);
        return recognizer;
    }

    // The action gets this recogniser as the sender; the event is always null.
    template <class T, class C, class... Args>
    void addTarget(const std::shared_ptr<T>& target, void (C::*action)(Args...))
    {
        targets_.push_back(UITargetAction::make(target, action));
    }
    // Null target or action matches all.
    template <class T, class A>
    void removeTarget(const T& target, A action)
    {
        removeTargets(UITargetAction::matcher(target, action));
    }

    UIGestureRecognizerState state() const { return state_; }
    bool isEnabled() const { return enabled_; }
    // NO cancels a gesture under way (a possible one fails) and ignores its touches.
    void setEnabled(bool enabled);
    std::shared_ptr<UIView> view() const { return view_.lock(); }
    std::weak_ptr<UIGestureRecognizerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<UIGestureRecognizerDelegate> delegate) { delegate_ = std::move(delegate); }

    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool cancels) { cancelsTouchesInView_ = cancels; }
    bool delaysTouchesBegan() const { return delaysTouchesBegan_; }
    void setDelaysTouchesBegan(bool delays) { delaysTouchesBegan_ = delays; }
    bool delaysTouchesEnded() const { return delaysTouchesEnded_; }
    void setDelaysTouchesEnded(bool delays) { delaysTouchesEnded_ = delays; }

    // The centroid of the touches, in `view`'s coordinates (null: the window's); after the last
    // touch lifted, where they were last.
    CGPoint locationInView(const UIView* view) const;
    CGPoint locationOfTouchInView(NSUInteger index, const UIView* view) const;
    NSUInteger numberOfTouches() const { return static_cast<NSUInteger>(touches_.size()); }

    // This recogniser leaves possible only after `other` has failed.
    void requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other);

protected:
    // ---- The subclass interface ----
    // Moves to a state. Leaving possible goes through arbitration, so the state may end up
    // failed, or stay possible while a required recogniser has not failed yet.
    void setState(UIGestureRecognizerState state);
    virtual void touchesBegan(const UITouchSet& touches, UIEvent* event);
    virtual void touchesMoved(const UITouchSet& touches, UIEvent* event);
    virtual void touchesEnded(const UITouchSet& touches, UIEvent* event);
    // The base cancels a gesture under way and fails a possible one.
    virtual void touchesCancelled(const UITouchSet& touches, UIEvent* event);
    // Back to possible: subclasses clear what they tracked.
    virtual void reset() {}
    // A condition of the subclass's own on leaving possible, asked before the delegate.
    virtual bool canBegin() { return true; }
    // Pairs built into a view that always run together (a scroll view's own recognisers).
    virtual bool recognizesSimultaneouslyWith(const UIGestureRecognizer& /*other*/) const { return false; }
    // The touches this recogniser holds, in the order they went down.
    const UITouchSet& touches() const { return touches_; }
    // Runs `block` after `seconds` on the clock, unless the recogniser resets or fails first.
    void performAfterDelay(double seconds, std::function<void()> block);
    void cancelDelayedPerforms() { ++timerGeneration_; }
    bool isFinished() const;

private:
    friend class UITouchDelivery;
    friend class UIView;

    void removeTargets(const UITargetAction::Matcher& matcher);
    void leavePossible(UIGestureRecognizerState state);
    void fail();
    void finish(UIGestureRecognizerState state);
    void sendActions();
    void maybeReset();
    void resetNow();
    bool holdsTouch(const UITouch* touch) const;
    std::vector<std::shared_ptr<UIGestureRecognizer>> others();
    bool mayRunWith(UIGestureRecognizer& other);
    bool requirementsFailed(bool* anySucceeded);
    void requirementDidFail();
    void requirementDidSucceed();
    void forgetTouch(const UITouch* touch);
    void noteLocation();

    UIGestureRecognizerState state_ = UIGestureRecognizerStatePossible;
    std::optional<UIGestureRecognizerState> pending_;  // waiting for required failures
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
    bool delaysTouchesBegan_ = false;
    bool delaysTouchesEnded_ = true;
    std::weak_ptr<UIView> view_;
    std::weak_ptr<UIGestureRecognizerDelegate> delegate_;
    std::vector<UITargetAction> targets_;
    UITouchSet touches_;
    std::vector<std::weak_ptr<UIGestureRecognizer>> requirements_;  // must fail first
    std::vector<std::weak_ptr<UIGestureRecognizer>> dependents_;    // wait for this one to fail
    unsigned long session_ = 1;                                     // grows at every reset
    bool engaged_ = false;                                          // has taken a touch since it last reset
    std::vector<std::weak_ptr<UITouch>> sessionTouches_;            // every touch taken since then
    unsigned long timerGeneration_ = 0;
    CGPoint lastLocation_{};  // window coordinates
};
