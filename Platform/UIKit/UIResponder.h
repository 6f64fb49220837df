#pragma once
// The responder chain: views, their controllers, the window and the application pass events up by
// nextResponder. A responder's touch methods, unless overridden, hand the touches to the next
// responder.
//
// First responder: each window has at most one, the responder that takes key input. Becoming one
// makes the window's current one resign first (if it refuses, becoming fails); a responder outside
// a window cannot become one. The keyboard follows the key window's first responder: it shows
// while that is a key input (UIKeyInput) and hides when it resigns.

#include "Foundation/NSObject.h"
#include "UIKit/UITouch.h"

#include <memory>

class UIEvent;
class UIView;
class UIWindow;

class UIResponder : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;

    // Views answer their superview, the window the application; null at the top.
    virtual std::shared_ptr<UIResponder> nextResponder() const { return nullptr; }

    virtual void touchesBegan(const UITouchSet& touches, UIEvent* event);
    virtual void touchesMoved(const UITouchSet& touches, UIEvent* event);
    virtual void touchesEnded(const UITouchSet& touches, UIEvent* event);
    virtual void touchesCancelled(const UITouchSet& touches, UIEvent* event);

    // ---- First responder (main thread) ----
    virtual bool canBecomeFirstResponder() const { return false; }
    // YES when this is (or already was) its window's first responder.
    virtual bool becomeFirstResponder();
    virtual bool canResignFirstResponder() const { return true; }
    // YES when this is no longer first responder (also when it never was).
    virtual bool resignFirstResponder();
    virtual bool isFirstResponder() const;
    // Shown window-wide on top of the keyboard while this is first responder.
    virtual std::shared_ptr<UIView> inputAccessoryView() const { return nullptr; }

protected:
    // The window whose first responder this can be; views answer the window they are in.
    virtual std::shared_ptr<UIWindow> windowForFirstResponder() const { return nullptr; }
    // Told once this has become, or stopped being, first responder, before the keyboard follows.
    virtual void didBecomeFirstResponder() {}
    virtual void didResignFirstResponder() {}

private:
    friend class UIWindow;
    // Stops being first responder of `window`, telling the hook; the keyboard is the caller's.
    void leaveFirstResponder(UIWindow& window);
};
