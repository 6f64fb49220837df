#include "UIKit/UIControl.h"

#include "UIKit/UIEvent.h"

#include <algorithm>

void UIControl::setEnabled(bool enabled)
{
    enabled_ = enabled;
}

void UIControl::setHighlighted(bool highlighted)
{
    highlighted_ = highlighted;
}

void UIControl::setSelected(bool selected)
{
    selected_ = selected;
}

UIControlState UIControl::state() const
{
    return (highlighted_ ? UIControlStateHighlighted : 0) | (enabled_ ? 0 : UIControlStateDisabled) |
           (selected_ ? UIControlStateSelected : 0);
}

void UIControl::addPair(UITargetAction pair, UIControlEvents events)
{
    auto existing = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.pair.key() == pair.key() && e.pair.sameTarget(pair); });
    if (existing != entries_.end())
        existing->events |= events;
    else
        entries_.push_back({std::move(pair), events});
}

void UIControl::removePairs(const UITargetAction::Matcher& matcher, UIControlEvents events)
{
    for (auto& entry : entries_)
        if (matcher.matches(entry.pair)) entry.events &= ~events;
    std::erase_if(entries_, [](const Entry& e) { return e.events == 0; });
}

void UIControl::sendActions(UIControlEvents events, UIEvent* event)
{
    auto keep = self<UIControl>();
    auto entries = entries_;
    for (const auto& entry : entries)
        if (entry.events & events) entry.pair.send(this, event);
    std::erase_if(entries_, [](const Entry& e) { return !e.pair.isTargetAlive(); });
}

bool UIControl::touchIsInside(const UITouchSet& touches) const
{
    return CGRectContainsPoint(bounds(), touches.front()->locationInView(this));
}

void UIControl::touchesBegan(const UITouchSet&, UIEvent* event)
{
    if (!enabled_ || tracking_) return;
    tracking_ = true;
    touchInside_ = true;
    setHighlighted(true);
    sendActions(UIControlEventTouchDown, event);
}

void UIControl::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    if (!tracking_) return;
    touchInside_ = touchIsInside(touches);
    if (isHighlighted() != touchInside_) setHighlighted(touchInside_);
}

void UIControl::touchesEnded(const UITouchSet& touches, UIEvent* event)
{
    if (!tracking_) return;
    touchInside_ = touchIsInside(touches);
    tracking_ = false;
    setHighlighted(false);
    sendActions(touchInside_ ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside, event);
    touchInside_ = false;
}

void UIControl::touchesCancelled(const UITouchSet&, UIEvent* event)
{
    if (!tracking_) return;
    tracking_ = false;
    touchInside_ = false;
    setHighlighted(false);
    sendActions(UIControlEventTouchCancel, event);
}
