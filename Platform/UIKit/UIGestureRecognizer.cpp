#include "UIKit/UIGestureRecognizer.h"

#include "Dispatch/Dispatch.h"
#include "UIKit/UITouchDelivery.h"
#include "UIKit/UIWindow.h"

#include <algorithm>

namespace {

bool isActive(UIGestureRecognizerState state)
{
    return state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged;
}

CGPoint fromWindow(CGPoint point, const UIView* view)
{
    if (!view) return point;
    auto window = view->window();
    if (view == window.get()) return point;
    return view->convertPointFromView(point, window.get());
}

}  // namespace

UIGestureRecognizer::~UIGestureRecognizer() = default;

bool UIGestureRecognizer::isFinished() const
{
    return state_ == UIGestureRecognizerStateEnded || state_ == UIGestureRecognizerStateCancelled ||
           state_ == UIGestureRecognizerStateFailed;
}

void UIGestureRecognizer::removeTargets(const UITargetAction::Matcher& matcher)
{
    std::erase_if(targets_, [&](const UITargetAction& pair) { return matcher.matches(pair); });
}

void UIGestureRecognizer::setEnabled(bool enabled)
{
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (enabled) return;
    UITouchDelivery::Batch batch;
    auto keep = self<UIGestureRecognizer>();
    touches_.clear();
    if (isActive(state_))
        finish(UIGestureRecognizerStateCancelled);
    else if (state_ == UIGestureRecognizerStatePossible)
        fail();
    resetNow();
}

void UIGestureRecognizer::requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other)
{
    if (!other || other.get() == this) return;
    requirements_.push_back(other);
    other->dependents_.push_back(weakSelf<UIGestureRecognizer>());
}

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const
{
    CGPoint p = lastLocation_;
    if (!touches_.empty()) {
        p = CGPointZero;
        for (const auto& t : touches_) p.x += t->location_.x, p.y += t->location_.y;
        p.x /= CGFloat(touches_.size()), p.y /= CGFloat(touches_.size());
    }
    return fromWindow(p, view);
}

CGPoint UIGestureRecognizer::locationOfTouchInView(NSUInteger index, const UIView* view) const
{
    if (index >= touches_.size()) return CGPointZero;
    return fromWindow(touches_[index]->location_, view);
}

void UIGestureRecognizer::noteLocation()
{
    if (!touches_.empty()) lastLocation_ = locationInView(nullptr);
}

// ---- States ----

void UIGestureRecognizer::setState(UIGestureRecognizerState state)
{
    UITouchDelivery::Batch batch;
    auto keep = self<UIGestureRecognizer>();
    if (state_ == UIGestureRecognizerStatePossible) {
        if (pending_) return;  // already decided; waiting for required failures
        if (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateEnded)
            leavePossible(state);
        else if (state == UIGestureRecognizerStateFailed || state == UIGestureRecognizerStateCancelled)
            fail();
    } else if (isActive(state_)) {
        if (state == UIGestureRecognizerStateChanged) {
            state_ = state;
            sendActions();
        } else if (state == UIGestureRecognizerStateEnded) {
            finish(state);
        } else if (state == UIGestureRecognizerStateCancelled || state == UIGestureRecognizerStateFailed) {
            finish(UIGestureRecognizerStateCancelled);
        }
    }
}

bool UIGestureRecognizer::requirementsFailed(bool* anySucceeded)
{
    bool allFailed = true;
    for (const auto& weak : requirements_) {
        auto r = weak.lock();
        if (!r || r->state_ == UIGestureRecognizerStateFailed) continue;
        if (r->state_ != UIGestureRecognizerStatePossible) {
            *anySucceeded = true;
            allFailed = false;
        } else if (r->engaged_) {
            allFailed = false;  // still deciding
        }
        // A possible one that has taken no touch since it last reset is not in this gesture.
    }
    return allFailed;
}

void UIGestureRecognizer::leavePossible(UIGestureRecognizerState state)
{
    pending_.reset();
    bool anySucceeded = false;
    if (!requirementsFailed(&anySucceeded)) {
        if (anySucceeded)
            fail();
        else
            pending_ = state;
        return;
    }
    bool begin = canBegin();
    if (begin)
        if (auto d = delegate_.lock()) begin = d->gestureRecognizerShouldBegin(this).value_or(true);
    if (!begin) return fail();
    for (const auto& other : others())
        if (isActive(other->state_) && !mayRunWith(*other)) return fail();

    state_ = state;
    for (const auto& other : others())
        if (other->state_ == UIGestureRecognizerStatePossible && !mayRunWith(*other)) other->fail();
    for (const auto& weak : dependents_)
        if (auto d = weak.lock()) d->requirementDidSucceed();
    if (cancelsTouchesInView_) {
        UITouchSet taken;
        for (const auto& weak : sessionTouches_)
            if (auto t = weak.lock()) taken.push_back(t);
        UITouchDelivery::shared().cancelViewTouches(taken);
    }
    sendActions();
    maybeReset();
}

void UIGestureRecognizer::fail()
{
    auto keep = self<UIGestureRecognizer>();
    state_ = UIGestureRecognizerStateFailed;
    pending_.reset();
    cancelDelayedPerforms();
    auto dependents = dependents_;
    for (const auto& weak : dependents)
        if (auto d = weak.lock()) d->requirementDidFail();
    maybeReset();
}

void UIGestureRecognizer::finish(UIGestureRecognizerState state)
{
    state_ = state;
    cancelDelayedPerforms();
    sendActions();
    maybeReset();
}

void UIGestureRecognizer::requirementDidFail()
{
    if (state_ != UIGestureRecognizerStatePossible || !pending_) return;
    UIGestureRecognizerState waiting = *pending_;
    leavePossible(waiting);
}

void UIGestureRecognizer::requirementDidSucceed()
{
    if (state_ == UIGestureRecognizerStatePossible && pending_) fail();
}

bool UIGestureRecognizer::mayRunWith(UIGestureRecognizer& other)
{
    if (recognizesSimultaneouslyWith(other) || other.recognizesSimultaneouslyWith(*this)) return true;
    if (auto d = delegate_.lock())
        if (d->gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(this, &other).value_or(false))
            return true;
    if (auto d = other.delegate_.lock())
        if (d->gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(&other, this).value_or(false))
            return true;
    return false;
}

std::vector<std::shared_ptr<UIGestureRecognizer>> UIGestureRecognizer::others()
{
    std::vector<std::shared_ptr<UIGestureRecognizer>> found;
    for (const auto& touch : touches_) {
        for (const auto& taker : touch->takers_) {
            auto r = taker.recognizer.lock();
            if (!r || r.get() == this || !r->holdsTouch(touch.get())) continue;
            if (std::find(found.begin(), found.end(), r) == found.end()) found.push_back(r);
        }
    }
    return found;
}

bool UIGestureRecognizer::holdsTouch(const UITouch* touch) const
{
    return std::any_of(touches_.begin(), touches_.end(), [&](const auto& t) { return t.get() == touch; });
}

void UIGestureRecognizer::forgetTouch(const UITouch* touch)
{
    std::erase_if(touches_, [&](const auto& t) { return t.get() == touch; });
}

void UIGestureRecognizer::sendActions()
{
    auto pairs = targets_;
    for (const auto& pair : pairs) pair.send(this, nullptr);
    std::erase_if(targets_, [](const UITargetAction& pair) { return !pair.isTargetAlive(); });
}

void UIGestureRecognizer::maybeReset()
{
    if (isFinished() && touches_.empty()) resetNow();
}

void UIGestureRecognizer::resetNow()
{
    state_ = UIGestureRecognizerStatePossible;
    pending_.reset();
    cancelDelayedPerforms();
    ++session_;
    engaged_ = false;
    sessionTouches_.clear();
    reset();
}

// ---- Subclass interface ----

void UIGestureRecognizer::touchesBegan(const UITouchSet&, UIEvent*) {}
void UIGestureRecognizer::touchesMoved(const UITouchSet&, UIEvent*) {}
void UIGestureRecognizer::touchesEnded(const UITouchSet&, UIEvent*) {}

void UIGestureRecognizer::touchesCancelled(const UITouchSet&, UIEvent*)
{
    setState(isActive(state_) ? UIGestureRecognizerStateCancelled : UIGestureRecognizerStateFailed);
}

void UIGestureRecognizer::performAfterDelay(double seconds, std::function<void()> block)
{
    unsigned long generation = timerGeneration_;
    auto weak = weakSelf<UIGestureRecognizer>();
    auto due = dispatch_time(DISPATCH_TIME_NOW, static_cast<std::int64_t>(std::max(0.0, seconds) * 1e9));
    dispatch_after(due, dispatch_get_main_queue(), [weak, generation, block = std::move(block)] {
        auto recognizer = weak.lock();
        if (!recognizer || recognizer->timerGeneration_ != generation) return;
        UITouchDelivery::Batch batch;
        block();
    });
}
