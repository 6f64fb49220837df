#pragma once
// A transparent view over the canvas: touches fall through it except where its own interactive
// subviews are.

#include "TesselSDKFoundation/QZView.h"

#include <optional>

class QZOverlayView : public QZView {
public:
    using QZView::QZView;
    // An overlay with a zero frame.
    static std::shared_ptr<QZOverlayView> make() { return UIView::viewWithFrame<QZOverlayView>(CGRectZero); }

    bool allowsTouchesOnlyInSubviews() const { return allowsTouchesOnlyInSubviews_; }
    void setAllowsTouchesOnlyInSubviews(bool only) { allowsTouchesOnlyInSubviews_ = only; }

    // With interaction off: the first subview, front to back, whose bounds hold the point and
    // whose interaction is on answers with its own hit test (even null).
    std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event) override;
    // Inside a visible subview, or anywhere when touches are not limited to subviews.
    bool pointInside(CGPoint point, const UIEvent* event) const override;

protected:
    void prepareView() override;

private:
    bool allowsTouchesOnlyInSubviews_ = false;
};

// The first subview, front to back, whose bounds hold the converted point and whose interaction
// is on, asked for its hit test; nullopt when none qualifies.
std::optional<std::shared_ptr<UIView>> QZHitTestInteractiveSubviews(UIView& view, CGPoint point, const UIEvent* event);
