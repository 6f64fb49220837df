#include "UIKit/UITouchDelivery.h"

#include "QuartzCore/CABase.h"
#include "UIKit/UIGestureConstants.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace {

int depthOf(const UIView* view)
{
    int depth = 0;
    for (auto v = view ? view->superview() : nullptr; v; v = v->superview()) ++depth;
    return view ? depth + 1 : 0;
}

bool contains(const UITouchSet& touches, const UITouch* touch)
{
    return std::any_of(touches.begin(), touches.end(), [&](const auto& t) { return t.get() == touch; });
}

}  // namespace

UITouchDelivery& UITouchDelivery::shared()
{
    static auto* delivery = new UITouchDelivery;
    return *delivery;
}

UITouchDelivery::Batch::Batch()
{
    ++shared().depth_;
}

UITouchDelivery::Batch::~Batch()
{
    auto& delivery = shared();
    if (--delivery.depth_ == 0) delivery.settle();
}

void UITouchDelivery::deliver(UIWindow& window, const std::vector<UITouchInputPoint>& points)
{
    Batch batch;
    double now = CACurrentMediaTime();
    if (!event_) event_ = NSObject::create<UIEvent>();
    event_->timestamp_ = now;
    auto activeTouches = [this] {
        UITouchSet all;
        for (const auto& [number, touch] : active_) all.push_back(touch);
        return all;
    };
    for (UITouchPhase phase : {UITouchPhaseBegan, UITouchPhaseMoved, UITouchPhaseEnded, UITouchPhaseCancelled}) {
        UITouchSet changed;
        for (const auto& p : points) {
            UITouchPhase group = p.phase == UITouchPhaseStationary ? UITouchPhaseMoved : p.phase;
            if (group != phase) continue;
            if (phase == UITouchPhaseBegan) {
                if (active_.count(p.number)) continue;
                if (auto touch = touchDown(window, p, now)) changed.push_back(touch);
                continue;
            }
            auto it = active_.find(p.number);
            if (it == active_.end()) continue;
            auto& touch = it->second;
            touch->previousLocation_ = touch->location_;
            touch->location_ = p.location;
            touch->phase_ = p.phase;
            touch->timestamp_ = now;
            changed.push_back(touch);
        }
        if (changed.empty()) continue;
        event_->touches_ = activeTouches();
        deliverToRecognizers(phase, changed);
        deliverToViews(phase, changed);
        if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled) {
            std::vector<std::shared_ptr<UIGestureRecognizer>> involved;
            for (const auto& touch : changed) {
                active_.erase(touch->number_);
                for (const auto& taker : touch->takers_) {
                    if (auto r = taker.recognizer.lock()) {
                        r->forgetTouch(touch.get());
                        involved.push_back(r);
                    }
                }
            }
            for (const auto& r : involved) r->maybeReset();
        }
    }
    event_->touches_ = activeTouches();
}

std::shared_ptr<UITouch> UITouchDelivery::touchDown(UIWindow& window, const UITouchInputPoint& point, double now)
{
    auto hit = window.hitTest(point.location, event_.get());
    if (!hit) return nullptr;
    for (const auto& [number, other] : active_)
        if (other->view_ != hit && (other->view_->isExclusiveTouch() || hit->isExclusiveTouch())) return nullptr;

    auto touch = NSObject::create<UITouch>();
    touch->number_ = point.number;
    touch->phase_ = UITouchPhaseBegan;
    touch->location_ = touch->previousLocation_ = point.location;
    touch->timestamp_ = now;
    touch->view_ = hit;
    touch->window_ = window.self<UIWindow>();

    CGFloat dx = point.location.x - lastDownLocation_.x, dy = point.location.y - lastDownLocation_.y;
    bool again = now - lastDownTime_ <= UIMultiTapInterval && std::hypot(dx, dy) <= UITapAllowableMovement;
    touch->tapCount_ = again ? lastTapCount_ + 1 : 1;
    lastTapCount_ = touch->tapCount_;
    lastDownTime_ = now;
    lastDownLocation_ = point.location;

    if (!hit->isMultipleTouchEnabled()) {
        for (const auto& [number, other] : active_) {
            bool holding =
                other->viewState_ == UITouch::ViewState::Pending || other->viewState_ == UITouch::ViewState::Delivered;
            if (other->view_ == hit && holding) touch->viewState_ = UITouch::ViewState::Withheld;
        }
    }
    for (auto v = hit; v; v = v->superview()) {
        for (const auto& r : v->gestureRecognizers()) {
            if (!r->enabled_ || r->isFinished()) continue;
            if (auto d = r->delegate_.lock())
                if (!d->gestureRecognizerShouldReceiveTouch(r.get(), touch.get()).value_or(true)) continue;
            touch->takers_.push_back({r, r->session_});
            r->touches_.push_back(touch);
            r->engaged_ = true;
            r->sessionTouches_.push_back(touch);
        }
    }
    active_[point.number] = touch;
    return touch;
}

void UITouchDelivery::deliverToRecognizers(UITouchPhase phase, const UITouchSet& touches)
{
    std::vector<std::pair<int, std::shared_ptr<UIGestureRecognizer>>> involved;
    for (const auto& touch : touches) {
        for (const auto& taker : touch->takers_) {
            auto r = taker.recognizer.lock();
            if (!r || std::any_of(involved.begin(), involved.end(), [&](const auto& e) { return e.second == r; }))
                continue;
            involved.emplace_back(depthOf(r->view().get()), r);
        }
    }
    std::stable_sort(involved.begin(), involved.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    auto deliver = [&](UIGestureRecognizer& r) {
        UITouchSet mine;
        for (const auto& touch : touches)
            if (r.holdsTouch(touch.get())) mine.push_back(touch);
        if (mine.empty()) return;
        switch (phase) {
        case UITouchPhaseBegan: r.touchesBegan(mine, event_.get()); break;
        case UITouchPhaseMoved: r.touchesMoved(mine, event_.get()); break;
        case UITouchPhaseEnded: r.touchesEnded(mine, event_.get()); break;
        default: r.touchesCancelled(mine, event_.get()); break;
        }
        r.noteLocation();
    };
    std::vector<std::shared_ptr<UIGestureRecognizer>> waiting;
    for (const auto& [depth, r] : involved) {
        if (!r->enabled_ || r->isFinished()) continue;
        if (r->pending_) {
            waiting.push_back(r);
            continue;
        }
        deliver(*r);
    }
    // One that waited for another's failure and began on it during this delivery hears these
    // touches too, whatever came first: a lift that let it begin also ends it.
    for (const auto& r : waiting)
        if (r->enabled_ && !r->isFinished() && !r->pending_ && r->state_ != UIGestureRecognizerStatePossible)
            deliver(*r);
}

bool UITouchDelivery::beganHeld(const UITouch& touch) const
{
    for (const auto& taker : touch.takers_) {
        auto r = taker.recognizer.lock();
        if (r && r->session_ == taker.session && r->enabled_ && r->delaysTouchesBegan_ &&
            r->state_ == UIGestureRecognizerStatePossible)
            return true;
    }
    return false;
}

bool UITouchDelivery::endHeld(const UITouch& touch) const
{
    for (const auto& taker : touch.takers_) {
        auto r = taker.recognizer.lock();
        if (r && r->session_ == taker.session && r->enabled_ && r->delaysTouchesEnded_ &&
            r->state_ == UIGestureRecognizerStatePossible)
            return true;
    }
    return false;
}

void UITouchDelivery::deliverToViews(UITouchPhase phase, const UITouchSet& touches)
{
    using State = UITouch::ViewState;
    UITouchSet send;
    auto hold = [this](const std::shared_ptr<UITouch>& touch) {
        if (!contains(held_, touch.get())) held_.push_back(touch);
    };
    for (const auto& touch : touches) {
        if (phase == UITouchPhaseBegan) {
            if (touch->viewState_ != State::Pending) continue;
            if (beganHeld(*touch))
                hold(touch);
            else
                send.push_back(touch);
        } else if (phase == UITouchPhaseMoved) {
            if (touch->viewState_ == State::Delivered) send.push_back(touch);
        } else if (touch->viewState_ == State::Pending) {
            if (phase == UITouchPhaseCancelled) {
                touch->viewState_ = State::Withheld;
            } else {
                touch->endHeld_ = true;
                touch->heldEnd_ = phase;
                hold(touch);
            }
        } else if (touch->viewState_ == State::Delivered) {
            if (phase == UITouchPhaseEnded && endHeld(*touch)) {
                touch->endHeld_ = true;
                touch->heldEnd_ = phase;
                hold(touch);
            } else {
                send.push_back(touch);
            }
        }
    }
    sendToViews(phase, send);
}

void UITouchDelivery::sendToViews(UITouchPhase phase, const UITouchSet& touches)
{
    using State = UITouch::ViewState;
    std::vector<std::pair<std::shared_ptr<UIView>, UITouchSet>> byView;
    for (const auto& touch : touches) {
        if (phase == UITouchPhaseBegan) touch->viewState_ = State::Delivered;
        if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled) {
            touch->viewState_ = State::Done;
            touch->endHeld_ = false;
        }
        auto it = std::find_if(byView.begin(), byView.end(), [&](const auto& e) { return e.first == touch->view_; });
        if (it == byView.end())
            byView.push_back({touch->view_, {touch}});
        else
            it->second.push_back(touch);
    }
    for (auto& [view, group] : byView) {
        // A touch released late reads the phase it is delivered with, for the call.
        std::vector<UITouchPhase> real;
        for (const auto& touch : group) real.push_back(std::exchange(touch->phase_, phase));
        switch (phase) {
        case UITouchPhaseBegan: view->touchesBegan(group, event_.get()); break;
        case UITouchPhaseMoved: view->touchesMoved(group, event_.get()); break;
        case UITouchPhaseEnded: view->touchesEnded(group, event_.get()); break;
        default: view->touchesCancelled(group, event_.get()); break;
        }
        for (size_t i = 0; i < group.size(); ++i) group[i]->phase_ = real[i];
    }
}

void UITouchDelivery::cancelViewTouches(const UITouchSet& touches)
{
    using State = UITouch::ViewState;
    UITouchSet send;
    for (const auto& touch : touches) {
        if (touch->viewState_ == State::Pending)
            touch->viewState_ = State::Withheld;
        else if (touch->viewState_ == State::Delivered)
            send.push_back(touch);
    }
    sendToViews(UITouchPhaseCancelled, send);
}

void UITouchDelivery::withholdFromView(UITouch& touch)
{
    if (touch.viewState_ == UITouch::ViewState::Pending)
        touch.viewState_ = UITouch::ViewState::Withheld;
    else if (touch.viewState_ == UITouch::ViewState::Delivered)
        cancelViewTouches({touch.self<UITouch>()});
}

void UITouchDelivery::settle()
{
    using State = UITouch::ViewState;
    ++depth_;
    for (bool changed = true; changed;) {
        changed = false;
        auto held = held_;
        for (const auto& touch : held) {
            if (touch->viewState_ == State::Pending && !beganHeld(*touch)) {
                sendToViews(UITouchPhaseBegan, {touch});
                changed = true;
            }
            if (touch->viewState_ == State::Delivered && touch->endHeld_ &&
                !(touch->heldEnd_ == UITouchPhaseEnded && endHeld(*touch))) {
                sendToViews(touch->heldEnd_, {touch});
                changed = true;
            }
            bool waiting = touch->viewState_ == State::Pending || touch->endHeld_;
            if (!waiting) std::erase(held_, touch);
        }
    }
    --depth_;
}
