#include "UIKit/UIScrollViewRecognizers.h"

#include "UIKit/UIGestureConstants.h"
#include "UIKit/UIScrollView.h"

namespace {

bool isOwnSibling(const UIGestureRecognizer& self, const UIGestureRecognizer& other)
{
    if (self.view() != other.view()) return false;
    return dynamic_cast<const UIScrollViewPan*>(&other) || dynamic_cast<const UIScrollViewPinch*>(&other) ||
           dynamic_cast<const UIScrollViewContentDelay*>(&other);
}

}  // namespace

void UIScrollViewPan::touchesBegan(const UITouchSet& touches, UIEvent* event)
{
    if (auto view = scrollView.lock()) view->trackingBegan(touches);
    UIPanGestureRecognizer::touchesBegan(touches, event);
}

// Runs once the pan's touches have all lifted (or it was disabled): the finger has left.
void UIScrollViewPan::reset()
{
    UIPanGestureRecognizer::reset();
    if (auto view = scrollView.lock()) view->trackingEnded();
}

bool UIScrollViewPan::canBegin()
{
    auto view = scrollView.lock();
    return view && view->panMayBegin(touches());
}

bool UIScrollViewPan::recognizesSimultaneouslyWith(const UIGestureRecognizer& other) const
{
    return isOwnSibling(*this, other);
}

bool UIScrollViewPinch::canBegin()
{
    auto view = scrollView.lock();
    return view && view->pinchMayBegin();
}

bool UIScrollViewPinch::recognizesSimultaneouslyWith(const UIGestureRecognizer& other) const
{
    return isOwnSibling(*this, other);
}

void UIScrollViewContentDelay::didConstruct()
{
    UIGestureRecognizer::didConstruct();
    setDelaysTouchesBegan(true);
    setDelaysTouchesEnded(false);
    setCancelsTouchesInView(false);
}

void UIScrollViewContentDelay::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    if (numberOfTouches() != touches.size()) return;  // only the first finger starts the wait
    auto view = scrollView.lock();
    if (!view || !view->delaysContentTouches()) return setState(UIGestureRecognizerStateFailed);
    performAfterDelay(UIScrollViewContentTouchDelay, [this] { setState(UIGestureRecognizerStateFailed); });
}

void UIScrollViewContentDelay::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    if (numberOfTouches() == touches.size()) setState(UIGestureRecognizerStateFailed);
}

void UIScrollViewContentDelay::touchesCancelled(const UITouchSet&, UIEvent*)
{
    setState(UIGestureRecognizerStateFailed);
}
