#include "UIKit/UIResponder.h"

#include "Dispatch/DispatchMainQueue.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIWindow.h"

void UIResponder::touchesBegan(const UITouchSet& touches, UIEvent* event)
{
    if (auto next = nextResponder()) next->touchesBegan(touches, event);
}

void UIResponder::touchesMoved(const UITouchSet& touches, UIEvent* event)
{
    if (auto next = nextResponder()) next->touchesMoved(touches, event);
}

void UIResponder::touchesEnded(const UITouchSet& touches, UIEvent* event)
{
    if (auto next = nextResponder()) next->touchesEnded(touches, event);
}

void UIResponder::touchesCancelled(const UITouchSet& touches, UIEvent* event)
{
    if (auto next = nextResponder()) next->touchesCancelled(touches, event);
}

bool UIResponder::isFirstResponder() const
{
    auto window = windowForFirstResponder();
    return window && window->firstResponder().get() == this;
}

bool UIResponder::becomeFirstResponder()
{
    DispatchMainQueue::requireMainThread("-[UIResponder becomeFirstResponder]");
    auto window = windowForFirstResponder();
    if (!window || !canBecomeFirstResponder()) return false;
    auto current = window->firstResponder();
    if (current.get() == this) return true;
    // A switch between two responders moves the keyboard once, after both have been told.
    if (current) {
        if (!current->canResignFirstResponder()) return false;
        current->leaveFirstResponder(*window);
    }
    window->firstResponder_ = weakSelf<UIResponder>();
    didBecomeFirstResponder();
    UIKeyboard::sharedKeyboard()->update();
    return true;
}

bool UIResponder::resignFirstResponder()
{
    DispatchMainQueue::requireMainThread("-[UIResponder resignFirstResponder]");
    auto window = windowForFirstResponder();
    if (!window || window->firstResponder().get() != this) return true;
    if (!canResignFirstResponder()) return false;
    leaveFirstResponder(*window);
    UIKeyboard::sharedKeyboard()->update();
    return true;
}

void UIResponder::leaveFirstResponder(UIWindow& window)
{
    auto keep = self<UIResponder>();
    window.firstResponder_.reset();
    didResignFirstResponder();
}
