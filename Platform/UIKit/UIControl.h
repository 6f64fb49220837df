#pragma once
// Controls: enabled, highlighted and selected states, touch tracking (highlighted while the
// touch is inside the bounds) and target-action pairs per control event. A disabled control
// tracks nothing and sends nothing from touches.

#include "UIKit/UITargetAction.h"
#include "UIKit/UIView.h"

#include <vector>

using UIControlEvents = NSUInteger;
inline constexpr UIControlEvents UIControlEventTouchDown = 1 << 0;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1 << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1 << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFF;

using UIControlState = NSUInteger;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1 << 0;
inline constexpr UIControlState UIControlStateDisabled = 1 << 1;
inline constexpr UIControlState UIControlStateSelected = 1 << 2;

class UIControl : public UIView {
public:
    using UIView::UIView;

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    // Highlighted, disabled and selected bits together.
    UIControlState state() const;

    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }

    // The action gets this control as the sender and the touch event (null when sent by
    // sendActionsForControlEvents). Adding a pair that is there already adds its events.
    template <class T, class C, class... Args>
    void addTarget(const std::shared_ptr<T>& target, void (C::*action)(Args...), UIControlEvents events)
    {
        addPair(UITargetAction::make(target, action), events);
    }
    // Takes the events from the matching pairs (a null target or action matches all); a pair
    // left with none goes.
    template <class T, class A>
    void removeTarget(const T& target, A action, UIControlEvents events)
    {
        removePairs(UITargetAction::matcher(target, action), events);
    }
    void sendActionsForControlEvents(UIControlEvents events) { sendActions(events, nullptr); }

    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;

protected:
    void sendActions(UIControlEvents events, UIEvent* event);

private:
    struct Entry {
        UITargetAction pair;
        UIControlEvents events;
    };
    void addPair(UITargetAction pair, UIControlEvents events);
    void removePairs(const UITargetAction::Matcher& matcher, UIControlEvents events);
    bool touchIsInside(const UITouchSet& touches) const;

    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
    std::vector<Entry> entries_;
};
