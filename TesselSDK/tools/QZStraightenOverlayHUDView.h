#pragma once
// The alignment grid shown over the picture while the straighten knob is held: an opaque white
// border and centre cross, and thinner half-white lines at every eighth but the middle ones.
// Touches pass through it.

#include "TesselSDKFoundation/QZView.h"

class QZStraightenOverlayHUDView : public QZView {
public:
    using QZView::QZView;

    void drawRect(CGRect rect) override;

protected:
    // Clear, hidden (alpha 0) and not interactive.
    void prepareView() override;
};
