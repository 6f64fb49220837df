#pragma once
// The focus tool's guide: a white ring with a centre mark (radial) or the two edges of the sharp
// band (linear), drawn from the geometry of the overlay that hosts it. It takes no touches and
// redraws only when the host asks (updateGuide). Main thread only.

#include "TesselSDKFoundation/QZOverlayView.h"

#include "CoreGraphics/CGContext.h"

#include <memory>

class QZTiltShiftOverlayView;

// A view that draws the guide of the overlay it sits in.
class QZTiltShiftOverlayProtocol {
public:
    virtual ~QZTiltShiftOverlayProtocol() = default;
    // Weak: the overlay owns the view that draws for it.
    virtual std::shared_ptr<QZTiltShiftOverlayView> hostView() const = 0;
    virtual void setHostView(std::weak_ptr<QZTiltShiftOverlayView> host) = 0;
};

class QZTiltShiftOverlayHelperView : public QZOverlayView, public QZTiltShiftOverlayProtocol {
public:
    using QZOverlayView::QZOverlayView;

    std::shared_ptr<QZTiltShiftOverlayView> hostView() const override { return hostView_.lock(); }
    void setHostView(std::weak_ptr<QZTiltShiftOverlayView> host) override { hostView_ = std::move(host); }

    // The linear guide for a non-zero style, else the radial one; nothing without a host.
    void drawRect(CGRect rect) override;
    void drawRadial();
    void drawLinear();
    // A small ring around the centre with four ticks pointing away from it, sized to the view.
    void drawCenterCircleWithContext(CGContextRef context);

private:
    std::weak_ptr<QZTiltShiftOverlayView> hostView_;
};
