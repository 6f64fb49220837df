#pragma once
// The responder chain: views, their controllers, the window and the application pass events up by
// nextResponder. A responder's touch methods, unless overridden, hand the touches to the next
// responder.

#include "Foundation/NSObject.h"
#include "UIKit/UITouch.h"

#include <memory>

class UIEvent;

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
};
