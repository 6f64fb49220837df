#pragma once
// A scroll view's own recognisers (not for screens): its pan (dragging), its pinch (zooming) and
// the content delay, which holds the content's touch-downs back for 0.15 s by failing only then
// (or at the lift). They run together, and the content delay runs alongside anything.

#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIPinchGestureRecognizer.h"

#include <memory>

class UIScrollView;

class UIScrollViewPan : public UIPanGestureRecognizer {
public:
    using UIPanGestureRecognizer::UIPanGestureRecognizer;
    std::weak_ptr<UIScrollView> scrollView;

protected:
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void reset() override;
    bool canBegin() override;
    bool recognizesSimultaneouslyWith(const UIGestureRecognizer& other) const override;
};

class UIScrollViewPinch : public UIPinchGestureRecognizer {
public:
    using UIPinchGestureRecognizer::UIPinchGestureRecognizer;
    std::weak_ptr<UIScrollView> scrollView;

protected:
    bool canBegin() override;
    bool recognizesSimultaneouslyWith(const UIGestureRecognizer& other) const override;
};

class UIScrollViewContentDelay : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;
    std::weak_ptr<UIScrollView> scrollView;

protected:
    void didConstruct() override;
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;
    bool recognizesSimultaneouslyWith(const UIGestureRecognizer&) const override { return true; }
};
