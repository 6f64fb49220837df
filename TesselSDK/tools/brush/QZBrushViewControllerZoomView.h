#pragma once
// The dimming laid over a brush tool's controls in zoom mode. A touch on it turns zoom mode off
// and goes on to the control beneath, so the first tap after zooming both ends the zoom and does
// what it was meant for.

#include "TesselSDKFoundation/QZView.h"

#include <memory>

class QZBrushViewController;

class QZBrushViewControllerZoomView : public QZView {
public:
    using QZView::QZView;

    std::weak_ptr<QZBrushViewController> controller() const { return controller_; }
    void setController(std::weak_ptr<QZBrushViewController> controller) { controller_ = std::move(controller); }

    // Never itself: a hit turns zoom mode off and answers none, so the view beneath is hit.
    std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event) override;

protected:
    void prepareView() override;

private:
    std::weak_ptr<QZBrushViewController> controller_;
};
