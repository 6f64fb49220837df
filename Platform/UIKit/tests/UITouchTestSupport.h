#pragma once
// What the touch tests share: a key window, a view that records what its touch methods were told,
// and a target that records the states its recogniser reported.

#include "UIKit/UIEvent.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIWindow.h"

#include <memory>
#include <string>
#include <vector>

// Records "began", "moved", "ended", "cancelled" (with a touch count when more than one).
class RecordingView : public UIView {
public:
    using UIView::UIView;
    std::vector<std::string> heard;
    std::vector<CGPoint> lastLocations;  // of the touches of the last call, in this view

    void touchesBegan(const UITouchSet& touches, UIEvent*) override { note("began", touches); }
    void touchesMoved(const UITouchSet& touches, UIEvent*) override { note("moved", touches); }
    void touchesEnded(const UITouchSet& touches, UIEvent*) override { note("ended", touches); }
    void touchesCancelled(const UITouchSet& touches, UIEvent*) override { note("cancelled", touches); }

    // What was heard, with runs of moves folded into one "moved".
    std::vector<std::string> folded() const
    {
        std::vector<std::string> out;
        for (const auto& h : heard)
            if (out.empty() || out.back() != h || h != "moved") out.push_back(h);
        return out;
    }

private:
    void note(const char* what, const UITouchSet& touches)
    {
        lastLocations.clear();
        for (const auto& touch : touches) lastLocations.push_back(touch->locationInView(this));
        heard.push_back(touches.size() == 1 ? what : std::string(what) + " x" + std::to_string(touches.size()));
    }
};

// The target of a recogniser: the states it reported, in order.
struct StateRecorder {
    std::vector<UIGestureRecognizerState> states;
    std::function<void(UIGestureRecognizer*)> also;
    void handle(UIGestureRecognizer* recognizer)
    {
        states.push_back(recognizer->state());
        if (also) also(recognizer);
    }
};

template <class R>
std::shared_ptr<R> addRecognizer(UIView& view, const std::shared_ptr<StateRecorder>& recorder)
{
    auto r = UIGestureRecognizer::recognizerWithTarget<R>(recorder, &StateRecorder::handle);
    view.addGestureRecognizer(r);
    return r;
}

// A delegate answering what it is told to.
struct GestureDelegate : UIGestureRecognizerDelegate {
    std::optional<bool> shouldBegin;
    std::optional<bool> simultaneous;
    std::optional<bool> shouldReceive;
    std::optional<bool> gestureRecognizerShouldBegin(UIGestureRecognizer*) override { return shouldBegin; }
    std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                        UIGestureRecognizer*) override
    {
        return simultaneous;
    }
    std::optional<bool> gestureRecognizerShouldReceiveTouch(UIGestureRecognizer*, UITouch*) override
    {
        return shouldReceive;
    }
};

inline std::shared_ptr<UIWindow> keyWindow()
{
    auto window = UIWindow::window();
    window->makeKeyAndVisible();
    return window;
}

using States = std::vector<UIGestureRecognizerState>;
inline constexpr auto Began = UIGestureRecognizerStateBegan;
inline constexpr auto Changed = UIGestureRecognizerStateChanged;
inline constexpr auto Ended = UIGestureRecognizerStateEnded;
inline constexpr auto Cancelled = UIGestureRecognizerStateCancelled;
inline constexpr auto Possible = UIGestureRecognizerStatePossible;
inline constexpr auto Failed = UIGestureRecognizerStateFailed;

// States with runs of Changed folded into one.
inline States folded(const States& states)
{
    States out;
    for (auto s : states)
        if (out.empty() || out.back() != s || s != Changed) out.push_back(s);
    return out;
}
